#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# The Windows game as a user meets it, in a fresh wine prefix on the current X display:
# installed silently, listed among the installed programs, played through the end-to-end
# flows, and uninstalled silently with nothing of it left.
# Usage: run_wine_game.sh INSTALLER WINE_SYSINFO_EXE E2E_PY TITLE VERSION
set -euo pipefail
installer=$1 seeder=$2 e2e=$3 TITLE=$4 VERSION=$5
if [ -z "${DISPLAY-}" ]; then
    echo "SKIP: no X display"
    exit 77
fi
WINEPREFIX=$(mktemp -d)
# No Japanese locale: that is on this machine only by name, and wine then cannot write the
# Japanese file names of the Start menu. The game draws its Japanese text all the same.
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# A window manager, as on any desktop: without one, wine holds every window it hides for 2 s,
# waiting for a manager to answer.
openbox >/dev/null 2>&1 &
wm=$!
trap 'wineserver -k >/dev/null 2>&1 || true; kill $wm; rm -rf "$WINEPREFIX"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK | grep -q window && break
    sleep 0.1
done

wineboot --init >/dev/null 2>&1
wineserver -w
wine "$installer" /S
wineserver -w
dir="$WINEPREFIX/drive_c/Program Files/Luminaku"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$TITLE"
[ -f "$dir/luminaku.exe" ] || fail "the installer put no luminaku.exe in $dir"
[ -f "$menu/$TITLE.lnk" ] || fail "no Start menu shortcut under the title"
# The installed-programs entry, as regedit writes it (UTF-16).
entry() {
    rm -f "$WINEPREFIX/entry.reg"
    wine regedit /E "$WINEPREFIX/entry.reg" \
        'HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Luminaku' &&
        iconv -f UTF-16 -t UTF-8 "$WINEPREFIX/entry.reg" | tr -d '\r'
}
for field in "\"DisplayName\"=\"$TITLE\"" "\"DisplayVersion\"=\"$VERSION\"" \
    '"Publisher"="The Luminaku developers"'; do
    entry | grep -qxF "$field" || fail "the installed-programs entry lacks $field: $(entry)"
done

[ "$(wine "$dir/luminaku.exe" --version)" = "luminaku $VERSION"$'\r' ] || fail "--version"
/usr/bin/python3 "$e2e" "$dir/luminaku.exe" windows "$seeder"
/usr/bin/python3 "$e2e" "$dir/luminaku.exe" windows_launch
# Windows' "show animations" turned off before the game starts: a round ends in calm flashing.
wine "$seeder" animations-off
/usr/bin/python3 "$e2e" "$dir/luminaku.exe" round off

wine "$dir/Uninstall.exe" /S
wineserver -w
[ ! -e "$dir" ] || fail "left after uninstalling: $(find "$dir")"
[ ! -e "$menu" ] || fail "left in the Start menu: $(find "$menu")"
! entry >/dev/null 2>&1 || fail "the installed-programs entry is left"
echo "PASS installed, played and uninstalled under wine"
