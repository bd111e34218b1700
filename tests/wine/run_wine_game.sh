#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# The Windows game as a Japanese user meets it, in a fresh wine prefix on the current X display:
# installed silently for the user alone (96 dpi) and then for everyone (144 dpi); the shortcuts
# and the installed-programs entry, types and all, in the places the choice names; played
# through the end-to-end flow; uninstalled, with the prefix's files and registry the same as
# before the installation.
# Usage: run_wine_game.sh INSTALLER WINE_SYSINFO_EXE E2E_PY TITLE VERSION [PUBLIC_URL]
set -euo pipefail
installer=$1 seeder=$2 e2e=$3 TITLE=$4 VERSION=$5 url=${6-}
[ -n "${DISPLAY-}" ] || { echo "SKIP: no X display"; exit 77; }
work=$(mktemp -d)
# Without winemenubuilder, which would copy the Start menu into this machine's desktop menus.
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine takes the language of Windows from the locale. A locale present here only by name
# leaves wine unable to write Japanese file names: a Japanese locale of our own.
localedef -i ja_JP -f UTF-8 "$work/ja_JP.UTF-8"
export LOCPATH=$work
export LC_ALL=ja_JP.UTF-8 2>/dev/null # for the programs started: this shell read LOCPATH too early
# A window manager, as on any desktop: without one, wine holds every window it hides for 2 s,
# waiting for a manager to answer.
openbox >/dev/null 2>&1 &
wm=$!
trap 'wineserver -k >/dev/null 2>&1 || true; kill $wm; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK | grep -q window && break; sleep 0.1; done

# The prefix's files and registry, without the devices wine finds afresh on every start (and
# the times), the console settings of the command-line tools, and the seeder's test keys.
snapshot() {
    wineserver -w
    (cd "$WINEPREFIX" && find drive_c -printf '%y %p\n' | sort &&
        sed -E 's/^(\[.*\]) [0-9]+$/\1/; /^#time=/d' ./*.reg | awk -v RS= '!/^\[(Console|Hardware|'\
'System\\\\(ControlSet001|CurrentControlSet)\\\\(Control\\\\(Class|DeviceClasses|Video)|Enum)|'\
'Software\\\\(LuminakuTest|Microsoft\\\\(Shared Tools|Windows NT\\\\CurrentVersion\\\\NetworkCards)))/')
}
entry() {
    wine reg query "$1\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Luminaku" |
        iconv -f CP932 -t UTF-8 | tr -d '\r' | sed -E 's/^ +//; s/ {4}/|/g'
}
wineboot --init >/dev/null 2>&1
user=$(wine winepath -u "$(wine cmd /c echo %USERPROFILE% | tr -d '\r')")
for mode in CurrentUser AllUsers; do
    if [ $mode = CurrentUser ]; then
        hive=HKCU key=HKEY_CURRENT_USER other=HKLM dpi=96 dir=$user/AppData/Local/Programs
        menu=$user/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs
    else
        hive=HKLM key=HKEY_LOCAL_MACHINE other=HKCU dpi=144 dir=$WINEPREFIX/drive_c/Program\ Files
        menu=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs
    fi
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null
    wineboot -r >/dev/null 2>&1 # a restart, as after the uninstallation below
    before=$(snapshot)
    wine "$installer" /S /$mode
    wineserver -w
    dir=$dir/Luminaku menu=$menu/$TITLE
    [ -f "$dir/luminaku.exe" ] || fail "$mode: no luminaku.exe in $dir"
    [ "$(ls "$menu" | sort)" = "$(printf '%s\n' "$TITLE.lnk" "$TITLE (点滅控えめ).lnk" アンインストール.lnk | sort)" ] ||
        fail "$mode: the Start menu shortcuts: $(ls "$menu")"
    strings -el "$menu/$TITLE (点滅控えめ).lnk" | grep -qx -- --calm || fail "no --calm shortcut"
    win=$(wine winepath -w "$dir" | tr -d '\r')
    kb=$(find "$dir" -type f -printf '%s\n' | awk '{ n += $1 } END { printf "0x%x", n / 1024 }')
    got=$(entry $hive | grep . | sort) expected=$(grep . <<EOF | sort
DisplayIcon|REG_SZ|$win\\luminaku.exe
DisplayName|REG_SZ|$TITLE
DisplayVersion|REG_SZ|$VERSION
EstimatedSize|REG_DWORD|$kb
$key\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Luminaku
InstallLocation|REG_SZ|$win
NoModify|REG_DWORD|0x1
NoRepair|REG_DWORD|0x1
Publisher|REG_SZ|The Luminaku developers
QuietUninstallString|REG_SZ|"$win\\Uninstall.exe" /S
UninstallString|REG_SZ|"$win\\Uninstall.exe"
${url:+URLInfoAbout|REG_SZ|$url}
EOF
)
    [ "$got" = "$expected" ] ||
        fail "$mode: the installed-programs entry in $hive: $(diff <(echo "$expected") <(echo "$got"))"
    ! entry $other >/dev/null 2>&1 || fail "$mode: an entry in $other too"

    [ "$(wine "$dir/luminaku.exe" --version)" = "luminaku $VERSION"$'\r' ] || fail "--version"
    # Qt logs to standard error here, as it does to a debugger on Windows.
    E2E_SCALE=$(awk "BEGIN { print $dpi / 96 }") QT_FORCE_STDERR_LOGGING=1 \
        /usr/bin/python3 "$e2e" "$dir/luminaku.exe" windows "$seeder" 2> >(tee "$work/log" >&2)
    ! grep -q 'qt\.qpa\|DpiAwareness' "$work/log" || fail "Qt warned at $dpi dpi"
    rm -r "$WINEPREFIX/drive_c/sys info" "$WINEPREFIX/drive_c/sys.exe" # the seeder's stand-in tool
    if [ $mode = CurrentUser ]; then
        /usr/bin/python3 "$e2e" "$dir/luminaku.exe" windows_launch
        # Windows' "show animations" turned off before the game starts: a round ends in calm
        # flashing. Turned on again after, as it was.
        wine "$seeder" animations-off
        /usr/bin/python3 "$e2e" "$dir/luminaku.exe" round off
        wine "$seeder" animations-on
    fi

    wine "$dir/Uninstall.exe" /S
    wineserver -w
    # The uninstaller ran from a copy in the temporary folder, which Windows removes at restart.
    wineboot -r >/dev/null 2>&1
    changed=$(diff <(echo "$before") <(snapshot)) || fail "$mode: left after uninstalling: $changed"
done
echo "PASS installed, played and uninstalled under wine, for the user alone and for everyone"
