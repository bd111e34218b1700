#!/usr/bin/env bash
# Checks the Windows registry, file-test and launch binding under wine: seeds a throw-away wine
# prefix and runs wine_sysinfo.exe (cross-built with mingw) there.
# Usage: run_wine_test.sh WINE_SYSINFO_EXE. Exits 77 (skipped) when mingw was not found at
# configure time (the path is then empty) or 64-bit wine is not installed.
set -euo pipefail

exe=${1-}
missing=()
[ -n "$exe" ] || missing+=(g++-mingw-w64-x86-64-posix)
command -v wine >/dev/null || missing+=(wine)
command -v wine64 >/dev/null || [ -x /usr/lib/wine/wine64 ] || missing+=(wine64)
if [ ${#missing[@]} -gt 0 ]; then
    echo "SKIP: the wine test needs: ${missing[*]} (then configure again)"
    exit 77
fi

work=$(mktemp -d)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY # nothing here opens a window
# Japanese Windows: ANSI code page 932.
win() { LC_ALL=ja_JP.UTF-8 wine "$@"; }
# A file's name on wine's Z: drive, which is /.
winpath() { printf 'Z:%s' "${1//\//\\}"; }
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

started=$SECONDS
# Makes the prefix. Each wine command that follows within a few seconds finds the server up.
win wineboot -i >/dev/null 2>&1
booted=$SECONDS

# The tool, in a folder with a blank, and C:\sys.exe, which a path split at that blank would start.
drive="$WINEPREFIX/drive_c"
mkdir -p "$drive/sys info"
cp "$exe" "$drive/sys info/MSINFO32.EXE"
cp "$exe" "$drive/sys.exe"

# Exact bytes as .reg hex data. The file is UTF-16, or reg would take string data for ANSI
# text and convert it. (A string without its NUL gets one from reg: wine_sysinfo.exe stores that
# one itself.)
utf16() {
    printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE | od -An -v -tx1 | tr -s ' \n' ',' |
        sed 's/^,//; s/,$//'
}
key='HKEY_LOCAL_MACHINE\SOFTWARE\LuminakuTest'
{
    printf '\xff\xfe'
    {
        printf 'Windows Registry Editor Version 5.00\r\n\r\n[%s]\r\n' "$key"
        printf '"Japanese"=hex(1):%s,00,00\r\n' "$(utf16 'C:\ﾃｽﾄ\日本語.exe')"
        printf '"EmptyBinary"=hex:\r\n'
    } | iconv -f UTF-8 -t UTF-16LE
} >"$work/seed.reg"

long=$(printf 'x%.0s' $(seq 1100))
exact=$(printf 'x%.0s' $(seq 1023))
{
    tool='C:\Program Files\MSInfo\msinfo32.exe'
    printf 'reg add "%s" /v SzNul /t REG_SZ /d "%s" /f\r\n' "$key" "$tool"
    printf 'reg add "%s" /v EmptySz /t REG_SZ /d "" /f\r\n' "$key"
    printf 'reg add "%s" /v Exact /t REG_SZ /d "%s" /f\r\n' "$key" "$exact"
    printf 'reg add "%s" /v Long /t REG_SZ /d "%s" /f\r\n' "$key" "$long"
    printf 'reg add "%s" /v Dword /t REG_DWORD /d 0x1234abcd /f\r\n' "$key"
    printf 'reg add "%s" /v Binary /t REG_BINARY /d 0102 /f\r\n' "$key"
    # Location 1 gone, location 2 naming the folder above.
    printf 'reg delete "HKEY_LOCAL_MACHINE\\%s" /f\r\n' 'SOFTWARE\Microsoft\Shared Tools\MSINFO'
    printf 'reg add "HKEY_LOCAL_MACHINE\\%s" /v %s /t REG_SZ /d "%s" /f\r\n' \
        'SOFTWARE\Microsoft\Shared Tools Location' 'MSINFO' 'C:\sys info'
    printf 'reg import "%s"\r\n' "$(winpath "$work/seed.reg")"
} >"$work/seed.bat"
win cmd /c "$(winpath "$work/seed.bat")" >"$work/seed.log" 2>&1 || {
    cat "$work/seed.log"
    echo "seeding the registry failed"
    exit 1
}
seeded=$SECONDS

status=0
win "$exe" check | tr -d '\r' || status=$?
echo "prefix $((booted - started))s, seeding $((seeded - booted))s, checks $((SECONDS - seeded))s"
exit "$status"
