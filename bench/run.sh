#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# Builds the game and the bench programs (installing what is missing) and prints one table of
# figures, all measured in this one run. Options go to bench.py (e.g. --reps 7).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
need_packages "${GAME_PACKAGES[@]}" xvfb xauth python3 python3-xlib
build=build/bench
cmake --preset default -B "$build" -DLUMINAKU_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target luminaku luminaku_bench luminaku_spin_reference luminaku_timer_floor >&2
# The browser build, where ./scripts/web.sh has made it: its sizes and first-window times.
if [ -f build/web/site/index.html ]; then
    need_packages chromium python3-websocket
    /usr/bin/python3 bench/web_bench.py build/web/site
fi
# The programs show real windows; a display of their own keeps the desktop out of the figures.
# Debian's python3, which python3-xlib installs into.
exec xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -noreset" \
    /usr/bin/python3 bench/bench.py "$build" "$@"
