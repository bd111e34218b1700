# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# What Debian's emscripten needs around it to build Qt and the game. Sourced.
# Its JavaScript tools load their modules from Debian's node folder, which a node from elsewhere
# does not search; its compiler scripts run on Debian's own python.
export NODE_PATH=/usr/share/nodejs
export EMSDK_PYTHON=/usr/bin/python3
EMSCRIPTEN_TOOLCHAIN=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake

# Qt's CMake files for WebAssembly look for emscripten in the folder layout of its own SDK
# ($EMSDK/.emscripten naming the folder that holds emcc); Debian installs it elsewhere. Makes
# that layout in DIR, pointing at Debian's emscripten.
emsdk_layout() {
    mkdir -p "$1/emscripten"
    echo "EMSCRIPTEN_ROOT = emsdk_path + '/emscripten'" >"$1/.emscripten"
    ln -sfn /usr/bin/emcc "$1/emscripten/emcc"
    ln -sfn /usr/bin/em++ "$1/emscripten/em++"
}
