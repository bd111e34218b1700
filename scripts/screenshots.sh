#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# Takes a PNG of each of the game's windows for the documentation, on an X server of its own:
# title, playfield in the middle of a round, game over, version information, quit question.
#
# Usage: scripts/screenshots.sh [GAME_BINARY]
#   Without GAME_BINARY it builds the default preset (installing what is missing) and uses
#   build/default/src/luminaku. The pictures go to docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${LUMINAKU_SCREENSHOT_DISPLAY:-}" ]; then
    . scripts/deps.sh
    need_packages "${GAME_PACKAGES[@]}" xvfb xauth xdotool x11-utils imagemagick
    game=${1:-}
    if [ -z "$game" ]; then
        cmake --preset default >/dev/null
        cmake --build --preset default
        game=build/default/src/luminaku
    fi
    [ -x "$game" ] || { echo "no game binary at $game" >&2; exit 1; }
    # A server of its own: nothing else on the screen, always the same size and depth.
    exec env LUMINAKU_SCREENSHOT_DISPLAY=1 xvfb-run --auto-servernum \
        --server-args="-screen 0 1024x768x24" "$0" "$(realpath "$game")"
fi

game=$1
out=docs/screenshots
mkdir -p "$out"
# The window captions are the application title, kept in the metadata header.
title=$(sed -n 's/.*Title = "\([^"]*\)".*/\1/p' src/shell/AppInfo.h.in)

# Twips to pixels at 96 dpi, for the control positions in the windows' design tables.
px() { echo $(($1 / 15)); }

# The game's mapped top-level windows, without its menus and other popups.
windows() {
    local w
    for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
        xwininfo -id "$w" 2>/dev/null | grep -q 'Override Redirect State: no' && echo "$w"
    done
    return 0
}

# Waits (at most $1 seconds) for a window that is not among the ids that follow.
wait_new_window() {
    local seconds=$1 tries w
    shift
    for ((tries = seconds * 5; tries > 0; tries--)); do
        for w in $(windows); do
            [[ " $* " == *" $w "* ]] || { echo "$w"; return 0; }
        done
        sleep 0.2
    done
    echo "no new window within $seconds s" >&2
    return 1
}

# Waits (at most 5 s) for window $1 to go.
wait_gone() {
    local tries
    for ((tries = 25; tries > 0; tries--)); do
        [[ " $(windows | tr '\n' ' ') " == *" $1 "* ]] || return 0
        sleep 0.2
    done
    echo "window $1 did not close" >&2
    return 1
}

shoot() {
    # The window itself, not the root window: a root capture shows open menus as black boxes.
    # No time stamps, so an unchanged window gives an unchanged file.
    import -window "$1" -strip -define png:exclude-chunks=date,time "$out/$2.png"
    echo "$out/$2.png: $(identify -format '%wx%h' "$out/$2.png"), $(stat -c %s "$out/$2.png") bytes"
}

click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

menu() {
    # No window manager here: a window gets keys only once it has the focus.
    xdotool windowfocus --sync "$1"
    xdotool key "alt+$2"
    sleep 0.5
    xdotool key "$3"
}

export QT_QPA_PLATFORM=xcb LANG=C.UTF-8
"$game" >/dev/null 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

# Title window.
opening=$(wait_new_window 15)
sleep 0.5
[ "$(xdotool getwindowname "$opening")" = "$title" ] || echo "unexpected title window caption" >&2
shoot "$opening" title

# START! leads to the playfield.
click "$opening" "$(px $((2400 + 1215 / 2)))" "$(px $((2520 + 375 / 2)))"
playfield=$(wait_new_window 5 "$opening")
wait_gone "$opening"

# A round under way: the first drop is half-way down after some 1.2 s (500 ms a step).
menu "$playfield" f s
sleep 1.2
shoot "$playfield" playfield

# The bin stays in the middle, so drops in the side columns get past until the round ends.
gameover=$(wait_new_window 90 "$playfield")
sleep 0.3
shoot "$gameover" gameover
click "$gameover" "$(px $((2400 + 1215 / 2)))" "$(px $((2520 + 375 / 2)))"
wait_gone "$gameover"

# Version information, closed with its OK button.
menu "$playfield" h a
about=$(wait_new_window 5 "$playfield")
sleep 0.5
shoot "$about" about
click "$about" "$(px $((4245 + 1380 / 2)))" "$(px $((2625 + 345 / 2)))"
wait_gone "$about"

# The quit question; its default answer ends the game.
menu "$playfield" f x
question=$(wait_new_window 5 "$playfield")
sleep 0.5
shoot "$question" quit
xdotool windowfocus --sync "$question"
xdotool key Return
for ((tries = 25; tries > 0; tries--)); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
done
if kill -0 "$pid" 2>/dev/null; then
    echo "the game did not end after the quit question" >&2
    exit 1
fi
wait "$pid" || { echo "the game ended with status $?" >&2; exit 1; }
trap - EXIT
