# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# Fetches Debian's own qt6-base source of the given version and unpacks it into ./src, for the
# scripts that build Qt for another platform. Sourced; runs in the work folder of the caller.
# Usage: qt_source DEBIAN-VERSION
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
