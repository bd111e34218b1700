#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# Builds Qt for Windows (mingw-w64) from Debian's own qt6-base source, once, into a cache outside
# the work tree, and prints the install prefix. A later call with the same Qt version, options
# and toolchain finds the finished prefix and returns at once.
# Usage: build-qt.sh   (LUMINAKU_CACHE overrides the cache folder)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../qt-source.sh"
toolchain=$(cd "$here/../../cmake" && pwd)/mingw-w64.cmake

# Only what the game uses: Core, Gui, Widgets, the windows platform plugin and the Vista style.
options=(
    -DCMAKE_BUILD_TYPE=Release
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    # Modules the game does not link.
    -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
    -DFEATURE_testlib=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF
    # Debian's source leaves out the tablet header the windows plugin includes.
    -DFEATURE_tabletevent=OFF
    # An image format the game never reads. (Direct2D stays: without it Qt 6.4.2 leaves out
    # the DirectWrite font database that the windows plugin still links against.)
    -DFEATURE_jpeg=OFF
    # Every third-party library from Qt's own copy, none from the build machine.
    -DFEATURE_pkg_config=OFF -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF
    -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF
)

# The Qt version is the one Debian's Qt host tools have: moc and rcc must match the libraries.
debver=$(dpkg-query -W -f='${source:Version}' qt6-base-dev-tools)
qtver=${debver%%+*}
key=$( { echo "$debver"; printf '%s\n' "${options[@]}"; cat "$toolchain"; } | sha256sum | cut -c1-12)
cache=${LUMINAKU_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/luminaku}
prefix=$cache/qt-$qtver-mingw-$key
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

# A build that was cut short carries on where it stopped, if it was for the same key.
work=$cache/qt-$qtver-mingw.work
if [ "$(cat "$work/.key" 2>/dev/null)" != "$key" ]; then
    rm -rf "$work"
    mkdir -p "$work"
    echo "$key" >"$work/.key"
fi
cd -P "$work" # Qt refuses to build below a symbolic link
qt_source "$debver"

cmake -S src -B build -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" >&2
cmake --build build --parallel "$(nproc)" >&2
cmake --install build --strip >&2
cd "$cache"
rm -rf "$work"
echo "$debver" >"$prefix/.complete"
echo "$prefix"
