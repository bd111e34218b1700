#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# Builds the game, and only the game (installing what is missing), and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
need_packages "${GAME_PACKAGES[@]}"
# A build tree of its own without the tests, so a first start does not wait for them.
cmake --preset default -B build/play -DBUILD_TESTING=OFF >/dev/null
cmake --build build/play --target luminaku
exec build/play/src/luminaku "$@"
