#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# The game as a native Wayland client on a headless weston of its own: its toplevel carries the
# title, and the compositor's screenshot shows the window's pixels on the black desktop.
# Usage: test-wayland.sh GAME TITLE   (exit 77 = skipped: no weston here)
set -uo pipefail
game=$(realpath "$1") title=$2
command -v weston >/dev/null || { echo "skipped: no weston"; exit 77; }
fail() { echo "FAIL: $*" >&2; cat "$XDG_RUNTIME_DIR"/*.log >&2; exit 1; }
export XDG_RUNTIME_DIR=$(mktemp -d) WAYLAND_DISPLAY=luminaku-test-$$
lit=0 game_pid= weston_pid=
trap 'kill $game_pid $weston_pid 2>/dev/null; wait; rm -rf "$XDG_RUNTIME_DIR"' EXIT
cd "$XDG_RUNTIME_DIR"
printf '[shell]\nbackground-color=0xff000000\npanel-position=none\n' >weston.ini
# --debug offers the screenshot protocol; pixman draws into memory, so there is something to shoot.
weston --config="$PWD/weston.ini" --backend=headless-backend.so --use-pixman --debug \
    --socket="$WAYLAND_DISPLAY" --width=800 --height=600 --idle-time=0 >weston.log 2>&1 &
weston_pid=$!
for _ in $(seq 100); do [ -S "$WAYLAND_DISPLAY" ] && break; sleep 0.1; done
env -u DISPLAY QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client "$game" >game.log 2>&1 &
game_pid=$!
for _ in $(seq 100); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.2
    grep -qF "set_title(\"$title\")" game.log && grep -q 'attach(wl_buffer' game.log || continue
    rm -f wayland-screenshot-*.png
    weston-screenshooter >/dev/null 2>&1 || continue
    lit=$(convert wayland-screenshot-*.png -fill white +opaque black -format '%[fx:int(mean*w*h)]' info:)
    [ "$lit" -ge 60000 ] && break
done
[ "$lit" -ge 60000 ] || fail "no toplevel titled '$title' with its pixels on screen: $lit lit"
kill -0 "$game_pid" || fail "the game ended on its own"
echo "title window on Wayland: $lit lit pixels"
