#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# Builds everything (installing what is missing) and runs every test: unit, widget, the Windows
# binding under wine, end-to-end flows and packaging checks, then the unit and widget tests
# again under the address, leak and undefined-behaviour sanitizers, and last every reader of
# data from outside fuzzed for a while.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
need_packages "${GAME_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
# Every file names its copyright holder and licence; before anything builds or runs, so that
# only the project's own files are seen.
reuse lint

cmake --preset ci
cmake --build --preset ci
# Unit and widget tests draw offscreen; the end-to-end and package tests get a display of
# their own.
xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -noreset" ctest --preset ci

cmake --preset asan
cmake --build --preset asan
xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -noreset" ctest --preset asan

# Each fuzz target for 20 s from its corpus; a finding fails the run and names its input.
./scripts/fuzz.sh 20
