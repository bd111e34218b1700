# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# Installs the Debian packages a script needs, or says how to.
# Usage: need_packages PACKAGE...
need_packages() {
    local missing=()
    local p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages. Install them with:" >&2
        echo "  sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What building and running the game takes.
GAME_PACKAGES=(cmake ninja-build g++ qt6-base-dev libx11-dev qt6-translations-l10n
               fonts-ipafont-gothic fonts-ipafont-mincho)

# What the tests take on top: a display of their own and tools to drive it, mingw and wine for
# the Windows registry binding, the validators and tools for the packaging checks (an SVG
# renderer and AppStream's composer for the icons), a Wayland compositor with Qt's Wayland
# plugin for the native Wayland start, the licence checker, and a session bus with Python's D-Bus
# binding for the stand-in desktop portal, and clang with libFuzzer for the fuzz targets.
TEST_PACKAGES=(python3 python3-xlib xvfb xauth xdotool x11-utils imagemagick dbus-daemon
               python3-dbus python3-gi clang-14 libclang-rt-14-dev
               g++-mingw-w64-x86-64-posix wine wine64
               desktop-file-utils appstream binutils-mingw-w64-x86-64 icoutils dpkg-dev file
               lintian weston qt6-wayland reuse librsvg2-bin appstream-compose)

# What the Windows build takes on top of building the game: the cross compiler, Debian's Qt
# source and the tools to unpack it, the installer compiler, and wine on a display of its own,
# with the Japanese locale's source (the wine check builds the locale for itself).
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 dpkg-dev xz-utils nsis
                  wine wine64 python3 python3-xlib xvfb xauth xdotool x11-utils imagemagick openbox
                  locales)

# What the browser build takes on top of building the game: emscripten, Debian's Qt source and
# the tools to unpack it, fontTools to cut the Japanese fonts and DejaVu Sans down, an SVG
# renderer for the app icons, Brotli for the precompressed files, and a headless Chromium
# driven through its DevTools protocol for the test (the playfield is read as the desktop test
# reads it, with python3-xlib's driver).
WEB_PACKAGES=(emscripten dpkg-dev xz-utils python3 python3-fonttools python3-websocket
              python3-xlib chromium librsvg2-bin brotli fonts-dejavu-core)
