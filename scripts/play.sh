#!/usr/bin/env bash
# Builds the game (installing what is missing) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
need_packages "${GAME_PACKAGES[@]}"
cmake --preset default >/dev/null
cmake --build --preset default
exec build/default/src/luminaku "$@"
