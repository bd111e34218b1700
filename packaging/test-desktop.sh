#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# What an installation (into a scratch tree) gives the desktop: the icons, the desktop entry's
# fields, and the icons software centres show, as AppStream's composer makes them.
# Usage: test-desktop.sh BUILD_DIR APP_ID ART_DIR   (exit 77 = skipped: a tool is missing)
set -uo pipefail
build=$1 app_id=$2 art=$3
for t in rsvg-convert compare appstreamcli; do command -v $t >/dev/null || exit 77; done
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null || fail "install failed"
share=$work/root/usr/share icons=$work/root/usr/share/icons/hicolor

for n in 16 32; do [ "$(identify -format %w "$icons/${n}x$n/apps/$app_id.png")" = $n ] ||
    fail "no $n px icon"; done
svg=$icons/scalable/apps/$app_id.svg
# Vectors only: a picture inside would be the pixel art blown up again (grep: 1 not found).
grep -qiE '<image|data:' "$svg"; [ $? -eq 1 ] || fail "no scalable icon, or a picture in it"
# Drawn at 32 px, it is the pixel art's trefoil: the pixels that differ are its edges alone.
differ=$(rsvg-convert -w 32 -h 32 "$svg" | compare -metric AE -fuzz 25% - "$art/trefoil32.xpm" null: 2>&1)
[ "$differ" -le 64 ] || fail "the scalable icon differs from the pixel art in $differ of 1024 pixels"

entry=$share/applications/$app_id.desktop
for field in StartupWMClass=Luminaku StartupNotify=true "Keywords=Luminaku;" "Keywords\[ja\]=ルミナク;"; do
    grep -q "^$field" "$entry" || fail "the desktop entry lacks $field"; done
# The launcher's calm action, named in both languages.
grep -qx "Actions=calm;" "$entry" && sed -n '/^\[Desktop Action calm\]/,/^\[/p' "$entry" |
    grep -c -e "^Name=." -e "^Name\[ja\]=." -e "^Exec=luminaku --calm$" | grep -qx 3 || fail "no calm action"

appstreamcli compose --no-net --prefix=/usr --origin=luminaku --result-root="$work/out" \
    --hints-dir="$work/hints" "$work/root" >"$work/compose.log" 2>&1 ||
    { cat "$work/compose.log"; grep -A4 -- "- tag:" "$work"/hints/*.yaml; fail "compose failed"; }
for n in 64 128; do [ -f "$work/out/usr/share/swcatalog/icons/luminaku/${n}x$n/$app_id.png" ] ||
    fail "no $n px icon in the catalogue"; done
