#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# The .deb linted, installed, its game started until its title window shows, then removed with
# whatever it pulled in. Guards against short dependencies (the package installs, then no
# window opens) and a game that runs only from the build tree (test-desktop.sh checks files).
# Usage: test-deb.sh BUILD_DIR TITLE   (root and an X display, else exit 77: skipped)
set -uo pipefail
build=$1 title=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] && [ -n "${DISPLAY:-}" ] || { echo "skipped: needs root and X"; exit 77; }
if dpkg-query -W -f='${db:Status-Status}' luminaku 2>/dev/null | grep -q '^installed'; then
    echo "skipped: luminaku is installed here; leaving it alone"; exit 77
fi
work=$(mktemp -d) game_pid=
installed() { dpkg-query -W -f='${db:Status-Status} ${Package}\n' | awk '$1 == "installed" { print $2 }' | sort; }
installed >"$work/before"
cleanup() {
    [ -z "$game_pid" ] || kill "$game_pid" 2>/dev/null
    dpkg --purge luminaku >/dev/null 2>&1
    # shellcheck disable=SC2046
    apt-get purge -y -qq $(installed | comm -13 "$work/before" -) >/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >cpack.log 2>&1) ||
    { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(echo "$work"/luminaku_*.deb)
lintian --allow-root --display-info --fail-on error,warning,info "$deb" || fail "lintian objects to the package"

for field in "Depends libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins qt6-translations-l10n
    fonts-ipafont-gothic fonts-ipafont-mincho" "Recommends qt6-wayland"; do
    set -- $field
    value=$(dpkg-deb -f "$deb" "$1")
    for dep in "${@:2}"; do [ "$(grep -Eo "(^|, )$dep( |,|$)" <<<"$value" | wc -l)" = 1 ] ||
        fail "$1 does not name $dep once: $value"; done
done

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log"; fail "the package did not install"; }
# The installed game with a bare environment: nothing of the build tree reaches it.
env -i PATH=/usr/bin:/bin HOME="${HOME:-/root}" LANG=C.UTF-8 DISPLAY="$DISPLAY" \
    ${XAUTHORITY:+XAUTHORITY="$XAUTHORITY"} /usr/games/luminaku >"$work/game.log" 2>&1 &
game_pid=$!
pattern="^$(sed 's/[][\.*^$+?(){}|]/\\&/g' <<<"$title")\$"
window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$game_pid" --name "$pattern" | head -1)
[ -n "$window" ] || { cat "$work/game.log"; fail "no window titled '$title' within 20 s"; }

kill "$game_pid"; wait "$game_pid" 2>/dev/null; game_pid=
dpkg --purge luminaku >/dev/null || fail "the package does not remove cleanly"
echo "installed, its window shown, removed: $(basename "$deb")"
