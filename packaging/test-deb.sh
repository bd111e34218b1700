#!/usr/bin/env bash
# Builds the .deb from the build tree, installs it on this machine, starts the installed game
# on the current X display, waits for its title window, closes it, and removes the package
# and whatever it pulled in, leaving the machine as it was.
#
# Guards against: a package whose dependencies are short (it installs, then no window opens on
# a machine without Qt's platform plugin), files installed where desktops do not look, and a
# binary that only runs from the build tree.
#
# Usage: test-deb.sh BUILD_DIR TITLE APP_ID
# Exit status 77 (skipped) unless run as root with dpkg and an X display.
set -uo pipefail

build=$1
title=$2
app_id=$3
here=$(cd "$(dirname "$0")" && pwd)

skip() {
    echo "skipped: $*"
    exit 77
}
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
step() {
    printf '[%5.1f s] %s\n' "$(($(date +%s%N) / 1000000 - started))e-3" "$*"
}
started=$(($(date +%s%N) / 1000000))

[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
command -v dpkg >/dev/null 2>&1 || skip "no dpkg on this machine"
[ -n "${DISPLAY:-}" ] || skip "no X display (run under xvfb-run)"
for tool in cpack dpkg-shlibdeps xdotool python3; do
    command -v "$tool" >/dev/null 2>&1 ||
        fail "$tool is missing (cpack: cmake, dpkg-shlibdeps: dpkg-dev, xdotool: xdotool)"
done
if dpkg-query -W -f='${db:Status-Status}' luminaku 2>/dev/null | grep -qv '^not-installed$'; then
    skip "luminaku is already installed here; leaving it alone"
fi

work=$(mktemp -d)
game_pid=
installed() {
    dpkg-query -W -f='${db:Status-Status} ${binary:Package}\n' | awk '$1 == "installed" { print $2 }' | sort
}
installed >"$work/before"

cleanup() {
    if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then
        kill "$game_pid" 2>/dev/null
        wait "$game_pid" 2>/dev/null
    fi
    if dpkg-query -W -f='${db:Status-Status}' luminaku 2>/dev/null | grep -qv '^not-installed$'; then
        dpkg --purge luminaku >/dev/null || echo "could not remove luminaku" >&2
    fi
    installed >"$work/after"
    local added
    added=$(comm -13 "$work/before" "$work/after")
    if [ -n "$added" ]; then
        echo "removing what the package pulled in: $added"
        # shellcheck disable=SC2086
        DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq $added >/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# 1. The package.
step "building the package"
(cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >cpack.log 2>&1) ||
    { cat "$work/cpack.log"; fail "cpack failed"; }
debs=("$work"/luminaku_*.deb)
deb=${debs[0]}
[ -f "$deb" ] || fail "cpack made no .deb"
step "$(basename "$deb"): $(stat -c %s "$deb") bytes"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for dep in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins qt6-translations-l10n \
    fonts-ipafont-gothic fonts-ipafont-mincho; do
    grep -Eq "(^|, )$dep( |,|$)" <<<"$depends" || fail "Depends lacks $dep"
done

contents=$(dpkg-deb -c "$deb" | awk '{ print $NF }')
for file in ./usr/bin/luminaku ./usr/share/applications/$app_id.desktop \
    ./usr/share/metainfo/$app_id.metainfo.xml; do
    grep -qx -- "$file" <<<"$contents" || fail "the package lacks $file"
done
for size in 16 32 48 64 128 256; do
    file=./usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png
    grep -qx -- "$file" <<<"$contents" || fail "the package lacks $file"
done

# 2. Installation.
step "installing"
if ! dpkg -i "$deb" >"$work/dpkg.log" 2>&1; then
    step "installing missing dependencies"
    DEBIAN_FRONTEND=noninteractive apt-get -f install -y -qq >>"$work/dpkg.log" 2>&1
fi
[ "$(dpkg-query -W -f='${db:Status-Status}' luminaku 2>/dev/null)" = installed ] ||
    { cat "$work/dpkg.log"; fail "the package did not install"; }
[ -x /usr/bin/luminaku ] || fail "/usr/bin/luminaku is not there after installing"

# 3. The installed game, with a bare environment: nothing of the build tree reaches it.
step "starting the installed game"
env -i PATH=/usr/bin:/bin HOME="${HOME:-/root}" LANG=C.UTF-8 DISPLAY="$DISPLAY" \
    ${XAUTHORITY:+XAUTHORITY="$XAUTHORITY"} QT_QPA_PLATFORM=xcb \
    /usr/bin/luminaku >"$work/game.log" 2>&1 &
game_pid=$!
pattern="^$(printf '%s' "$title" | sed 's/[][\.*^$+?(){}|]/\\&/g')\$"
window=$(timeout 20 xdotool search --sync --all --onlyvisible --pid "$game_pid" --name "$pattern" |
    head -1)
[ -n "$window" ] || { cat "$work/game.log"; fail "no window titled '$title' within 20 s"; }
step "title window $window is up"

# 4. Closing the title window ends the game.
python3 "$here/close-window.py" "$window" || fail "could not ask the window to close"
for _ in $(seq 50); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$game_pid" 2>/dev/null && fail "the game still runs 5 s after its window was closed"
wait "$game_pid"
status=$?
game_pid=
[ "$status" -eq 0 ] || { cat "$work/game.log"; fail "the game ended with status $status"; }
step "the game ended with status 0"

# 5. Removal.
dpkg --purge luminaku >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg --purge failed"; }
[ ! -e /usr/bin/luminaku ] || fail "/usr/bin/luminaku is still there after removal"
[ ! -e "/usr/share/applications/$app_id.desktop" ] || fail "the desktop entry is still there"
step "removed"
