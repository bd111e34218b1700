#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# Builds Qt for another platform from Debian's own qt6-base source, once, into a cache outside
# the work tree, and prints the install prefix. A later call with the same Qt version, options
# and toolchain finds the finished prefix and returns at once; a build that was cut short
# carries on where it stopped.
# Usage: build-qt.sh windows|web   (LUMINAKU_CACHE overrides the cache folder)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

# What every target leaves out or takes from Qt's own copy.
common=(
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    # Modules the game does not link.
    -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
    -DFEATURE_testlib=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF
)
# Every third-party library from Qt's own copy, none from the build machine.
bundled=(
    -DFEATURE_pkg_config=OFF -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF
    -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF
)

# Per target: the folder name, the toolchain, what else the cache key depends on, the options,
# whether the installed libraries are stripped, and what the installed prefix needs around it.
key_extra=()
finish() { :; }
case "${1:-}" in
windows)
    name=mingw
    toolchain=$(cd "$here/../cmake" && pwd)/mingw-w64.cmake
    strip=--strip
    # Core, Gui, Widgets, the windows platform plugin and the Vista style.
    options=(
        -DCMAKE_BUILD_TYPE=Release "${common[@]}"
        # Debian's source leaves out the tablet header the windows plugin includes.
        -DFEATURE_tabletevent=OFF
        # An image format the game never reads. (Direct2D stays: without it Qt 6.4.2 leaves out
        # the DirectWrite font database that the windows plugin still links against.)
        -DFEATURE_jpeg=OFF
        "${bundled[@]}"
    )
    ;;
web)
    . "$here/web/emscripten-env.sh"
    name=wasm
    toolchain=$EMSCRIPTEN_TOOLCHAIN
    strip=
    key_extra=("$(dpkg-query -W -f='${Version}' emscripten)")
    finish() { emsdk_layout "$prefix/emsdk"; }
    # Core, Gui, Widgets and the wasm platform plugin, which draws with WebGL, so OpenGL stays.
    options=(
        -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF "${common[@]}"
        # A page runs without the cross-origin isolation that wasm threads need.
        -DFEATURE_thread=OFF
        # An image format the game never reads.
        -DFEATURE_jpeg=OFF
        "${bundled[@]}"
        # Smaller rather than faster: every byte is downloaded, and the game draws little.
        -DFEATURE_optimize_size=ON
        # What the game never shows. The style and the accessibility factory name every widget
        # Qt has, so a widget left in is linked in whether the game opens one or not. (Item
        # views, group boxes, line edits, sliders, tabs and the main window stay: Qt 6.4.2's
        # styles and buttons do not build without them.)
        -DFEATURE_textedit=OFF -DFEATURE_treewidget=OFF
        -DFEATURE_listwidget=OFF -DFEATURE_tablewidget=OFF -DFEATURE_columnview=OFF
        -DFEATURE_datawidgetmapper=OFF -DFEATURE_undoview=OFF
        -DFEATURE_graphicsview=OFF -DFEATURE_mdiarea=OFF -DFEATURE_dockwidget=OFF
        -DFEATURE_statusbar=OFF -DFEATURE_sizegrip=OFF
        -DFEATURE_calendarwidget=OFF -DFEATURE_lcdnumber=OFF -DFEATURE_dial=OFF
        -DFEATURE_progressbar=OFF -DFEATURE_splashscreen=OFF
        -DFEATURE_wizard=OFF -DFEATURE_colordialog=OFF -DFEATURE_filedialog=OFF
        -DFEATURE_fontdialog=OFF -DFEATURE_progressdialog=OFF -DFEATURE_inputdialog=OFF
        -DFEATURE_errormessage=OFF
        -DFEATURE_toolbox=OFF -DFEATURE_splitter=OFF -DFEATURE_commandlinkbutton=OFF
        -DFEATURE_radiobutton=OFF -DFEATURE_scroller=OFF
        -DFEATURE_style_stylesheet=OFF
        # Documents and pictures the game never reads or writes.
        -DFEATURE_textodfwriter=OFF -DFEATURE_textmarkdownreader=OFF
        -DFEATURE_textmarkdownwriter=OFF -DFEATURE_movie=OFF -DFEATURE_pdf=OFF
        -DFEATURE_imageformat_bmp=OFF -DFEATURE_imageformat_ppm=OFF -DFEATURE_imageformat_xbm=OFF
    )
    ;;
*)
    echo "Usage: $0 windows|web" >&2
    exit 2
    ;;
esac

# Fetches Debian's own qt6-base source of the given version and unpacks it into ./src.
qt_source() {
    local debver=$1
    [ -d src ] && return 0
    # apt-get source needs a deb-src entry: derive one from the machine's own Debian sources,
    # once, into files of our own that the derivation itself never reads back.
    if ! apt-get source --download-only "qt6-base=$debver" >&2 2>/dev/null; then
        local srcdir=/etc/apt/sources.list.d
        local ours=luminaku-deb-src
        local f ext
        for f in "$srcdir"/*.sources; do
            if [ "$f" != "$srcdir/$ours.sources" ] && grep -qsi '^URIs:.*debian' "$f"; then
                sed 's/^Types:.*/Types: deb-src/' "$f"
            fi
        done >"$PWD/$ours.sources"
        for f in /etc/apt/sources.list "$srcdir"/*.list; do
            if [ "$f" != "$srcdir/$ours.list" ] && [ -f "$f" ]; then
                sed -n 's/^deb \(.*debian.*\)/deb-src \1/p' "$f"
            fi
        done >"$PWD/$ours.list"
        rm -f "$srcdir/$ours.sources" "$srcdir/$ours.list"
        for ext in sources list; do
            if [ -s "$PWD/$ours.$ext" ]; then mv "$PWD/$ours.$ext" "$srcdir/$ours.$ext"; fi
        done
        apt-get update -qq >&2
        apt-get source --download-only "qt6-base=$debver" >&2
    fi
    dpkg-source --no-check -x qt6-base_*.dsc src >&2
}

# The Qt version is the one Debian's Qt host tools have: moc and rcc must match the libraries.
debver=$(dpkg-query -W -f='${source:Version}' qt6-base-dev-tools)
qtver=${debver%%+*}
key=$( { echo "$debver"; for k in "${key_extra[@]}"; do echo "$k"; done; printf '%s\n' "${options[@]}"; cat "$toolchain"; } |
    sha256sum | cut -c1-12)
cache=${LUMINAKU_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/luminaku}
prefix=$cache/qt-$qtver-$name-$key
if [ -f "$prefix/.complete" ]; then
    finish
    echo "$prefix"
    exit 0
fi

work=$cache/qt-$qtver-$name.work
if [ "$(cat "$work/.key" 2>/dev/null)" != "$key" ]; then
    rm -rf "$work"
    mkdir -p "$work"
    echo "$key" >"$work/.key"
fi
cd -P "$work" # Qt refuses to build below a symbolic link
qt_source "$debver"

# Configure only until it has finished once: ninja carries on from the last step it did.
if [ ! -f build/build.ninja ]; then
    cmake -S src -B build -G Ninja -Wno-dev \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake" \
        -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" >&2
fi
cmake --build build --parallel "$(nproc)" >&2
cmake --install build $strip >&2
cd "$cache"
rm -rf "$work"
finish
echo "$debver" >"$prefix/.complete"
echo "$prefix"
