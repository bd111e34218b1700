#!/usr/bin/env bash
# Builds everything (installing what is missing) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
need_packages "${GAME_PACKAGES[@]}" xvfb xauth xdotool x11-utils imagemagick
cmake --preset ci
cmake --build --preset ci
# Unit and widget tests draw offscreen; the end-to-end tests get a display of their own.
xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" ctest --preset ci
