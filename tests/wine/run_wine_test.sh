#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# Runs wine_sysinfo.exe check in a throw-away wine prefix with the Japanese code page.
# Exits 77 (skipped) without mingw at configure time (the path is then empty) or without wine.
set -euo pipefail
if [ -z "${1-}" ] || ! command -v wine >/dev/null; then
    echo "SKIP: needs g++-mingw-w64-x86-64-posix, wine and wine64 (then configure again)"
    exit 77
fi
WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
LC_ALL=ja_JP.UTF-8 wine "$1" check | tr -d '\r'
