#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# Builds Qt for WebAssembly from Debian's own qt6-base source with Debian's emscripten, once,
# into a cache outside the work tree, and prints the install prefix. A later call with the same
# Qt version, options and toolchain finds the finished prefix and returns at once; a build that
# was cut short carries on where it stopped.
# Usage: build-qt.sh   (LUMINAKU_CACHE overrides the cache folder)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../qt-source.sh"
. "$here/emscripten-env.sh"

# Only what the game uses: Core, Gui, Widgets and the wasm platform plugin, which draws with
# WebGL, so OpenGL stays.
options=(
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    # Modules the game does not link.
    -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
    -DFEATURE_testlib=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF
    # A page runs without the cross-origin isolation that wasm threads need.
    -DFEATURE_thread=OFF
    # An image format the game never reads.
    -DFEATURE_jpeg=OFF
    # Every third-party library from Qt's own copy, none from the build machine.
    -DFEATURE_pkg_config=OFF -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF
    -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF
)

# The Qt version is the one Debian's Qt host tools have: moc and rcc must match the libraries.
debver=$(dpkg-query -W -f='${source:Version}' qt6-base-dev-tools)
emver=$(dpkg-query -W -f='${Version}' emscripten)
qtver=${debver%%+*}
key=$( { echo "$debver"; echo "$emver"; printf '%s\n' "${options[@]}"; cat "$EMSCRIPTEN_TOOLCHAIN"; } |
    sha256sum | cut -c1-12)
cache=${LUMINAKU_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/luminaku}
prefix=$cache/qt-$qtver-wasm-$key
if [ -f "$prefix/.complete" ]; then
    emsdk_layout "$prefix/emsdk"
    echo "$prefix"
    exit 0
fi

work=$cache/qt-$qtver-wasm.work
if [ "$(cat "$work/.key" 2>/dev/null)" != "$key" ]; then
    rm -rf "$work"
    mkdir -p "$work"
    echo "$key" >"$work/.key"
fi
cd -P "$work" # Qt refuses to build below a symbolic link
qt_source "$debver"

# Configure again only when it did not finish: ninja carries on from the last step it did.
if [ ! -f build/build.ninja ]; then
    cmake -S src -B build -G Ninja -Wno-dev \
        -DCMAKE_TOOLCHAIN_FILE="$EMSCRIPTEN_TOOLCHAIN" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake" \
        -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" >&2
fi
cmake --build build --parallel "$(nproc)" >&2
cmake --install build >&2
cd "$cache"
rm -rf "$work"
emsdk_layout "$prefix/emsdk"
echo "$debver" >"$prefix/.complete"
echo "$prefix"
