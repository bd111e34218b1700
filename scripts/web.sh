#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# Builds the game for web browsers and proves it in one: Qt for WebAssembly from Debian's own
# source with Debian's emscripten (once, into a cache outside the work tree), the game against
# it, the page, then the page played in a headless Chromium. Leaves the folder to publish in
# build/web/site. Installs what is missing, like the other commands.
# Usage: web.sh [--serve [PORT]]   --serve: afterwards, serve the folder on 127.0.0.1
set -euo pipefail
cd "$(dirname "$0")/.."
serve=
port=8000
case "${1:-}" in
--serve) serve=1 port=${2:-8000} ;;
"") ;;
*) echo "Usage: $0 [--serve [PORT]]" >&2; exit 2 ;;
esac
. scripts/deps.sh
need_packages "${GAME_PACKAGES[@]}" "${WEB_PACKAGES[@]}"
SECONDS=0

LUMINAKU_QT_WEB=$(packaging/build-qt.sh web)
export LUMINAKU_QT_WEB
echo "Qt for WebAssembly: $LUMINAKU_QT_WEB (ready after ${SECONDS} s)"

cmake --preset web
cmake --build --preset web
ctest --preset web

site=build/web/site
echo "Done in ${SECONDS} s. The folder to publish, $site:"
for f in "$site"/*; do
    case "$f" in *.gz | *.br) continue ;; esac
    printf '  %-21s %9d bytes' "${f##*/}" "$(stat -c %s "$f")"
    [ -f "$f.gz" ] && printf ', %9d gzipped, %9d with Brotli' "$(stat -c %s "$f.gz")" "$(stat -c %s "$f.br")"
    echo
done
if [ -n "$serve" ]; then
    echo "Serving on http://127.0.0.1:$port/ (Ctrl+C stops)"
    exec /usr/bin/python3 -m http.server --bind 127.0.0.1 --directory "$site" "$port"
fi
