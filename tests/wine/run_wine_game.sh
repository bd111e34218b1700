#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# The Windows game as a user meets it, in a fresh wine prefix on the current X display:
# installed silently, listed among the installed programs, played through the end-to-end
# flows, and uninstalled silently with nothing of it left.
# Usage: run_wine_game.sh INSTALLER WINE_SYSINFO_EXE E2E_PY
set -euo pipefail
installer=$1 seeder=$2 e2e=$3
if [ -z "${DISPLAY-}" ]; then
    echo "SKIP: no X display"
    exit 77
fi
WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=ja_JP.UTF-8
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

wineboot --init >/dev/null 2>&1
wineserver -w
wine "$installer" /S
wineserver -w
dir="$WINEPREFIX/drive_c/Program Files/Luminaku"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Luminaku'
[ -f "$dir/luminaku.exe" ] || fail "the installer put no luminaku.exe in $dir"
python3 "$e2e" --installed "$dir/luminaku.exe" "$menu" "$uninstall"

for flow in round about sysinfo quit; do
    python3 "$e2e" "$dir/luminaku.exe" "$flow"
done
# The system-information tool the registry names: the seeder writes its location and copies
# itself there.
wine "$seeder" check >/dev/null
python3 "$e2e" "$dir/luminaku.exe" sysinfo_started

wine "$dir/Uninstall.exe" /S
wineserver -w
[ ! -e "$dir" ] || fail "left after uninstalling: $(find "$dir")"
! find "$menu" -name '*ルミナク*' | grep . || fail "a Start menu entry is left"
! wine reg query "$uninstall" >/dev/null 2>&1 || fail "the installed-programs entry is left"
echo "PASS installed, played and uninstalled under wine"
