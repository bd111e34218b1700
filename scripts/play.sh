#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# Builds the game, and only the game (installing what is missing), and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
# The game opens windows: without a desktop session Qt would only abort after the build. The
# help, the version and a platform named outright need none.
if [ -z "${DISPLAY-}${WAYLAND_DISPLAY-}${QT_QPA_PLATFORM-}" ]; then
    case " $* " in
    *" -platform "* | *" --platform "* | *" -h "* | *" --help "* | *" -v "* | *" --version "*) ;;
    *)
        echo "play.sh: the game needs a desktop session (no DISPLAY or WAYLAND_DISPLAY here)." >&2
        echo "Start it from one, or on a virtual display: xvfb-run -a ./scripts/play.sh" >&2
        exit 1
        ;;
    esac
fi
. scripts/deps.sh
need_packages "${GAME_PACKAGES[@]}"
# A build tree of its own without the tests, so a first start does not wait for them.
cmake --preset default -B build/play -DBUILD_TESTING=OFF >/dev/null
cmake --build build/play --target luminaku
exec build/play/src/luminaku "$@"
