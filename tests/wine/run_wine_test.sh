#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# Runs wine_sysinfo.exe check in a throw-away wine prefix with the Japanese code page, then has
# it decode each file of FOLDER from code page 932 (the fuzz corpus), to compare with iconv's.
# Usage: run_wine_test.sh WINE_SYSINFO_EXE [FOLDER]
# Exits 77 (skipped) without mingw at configure time (the path is then empty) or without wine.
set -euo pipefail
if [ -z "${1-}" ] || ! command -v wine >/dev/null; then
    echo "SKIP: needs g++-mingw-w64-x86-64-posix, wine and wine64 (then configure again)"
    exit 77
fi
exe=$(realpath "$1")
WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
LC_ALL=ja_JP.UTF-8 wine "$exe" check | tr -d '\r'
[ -n "${2-}" ] || exit 0
cd "$2"
files=(*)
mapfile -t windows < <(wine "$exe" decode "${files[@]}" | tr -d '\r')
[ ${#windows[@]} = ${#files[@]} ] || { echo "FAIL decoding the files of $2"; exit 1; }
failed=0
for i in "${!files[@]}"; do
    # What iconv refuses (bytes that are not code page 932) each decoder replaces its own way.
    if native=$(iconv -f CP932 -t UTF-8 "${files[i]}" 2>/dev/null | od -An -tx1 | tr -d ' \n'); then
        [ "$native" = "${windows[i]}" ] && result="ok  " || result=FAIL failed=1
        echo "$result ${files[i]} decodes as iconv decodes it"
    fi
done
exit $failed
