#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# What an installation gives the desktop, installed into a scratch tree: the icons (pixel art
# where it is drawn, the same trefoil as vectors for every other size), the desktop entry's
# matching fields, and the icons a software centre shows, as AppStream's composer makes them.
# Usage: test-desktop.sh BUILD_DIR APP_ID ART_DIR   (exit 77 = skipped: a tool is missing)
set -uo pipefail
build=$1 app_id=$2 art=$3
for tool in rsvg-convert compare appstreamcli; do
    command -v $tool >/dev/null || { echo "skipped: no $tool"; exit 77; }
done
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null || fail "install failed"
share=$work/root/usr/share
icons=$share/icons/hicolor

for size in 16 32; do
    [ "$(identify -format %wx%h "$icons/${size}x$size/apps/$app_id.png")" = "${size}x$size" ] ||
        fail "no $size px icon"
done
svg=$icons/scalable/apps/$app_id.svg
[ -f "$svg" ] || fail "no scalable icon"
# Vectors only: a picture inside would be the pixel art blown up again.
! grep -qiE '<image|data:' "$svg" || fail "the scalable icon embeds a picture"
# Drawn at 32 px, it is the pixel art's trefoil: the pixels that differ are its edges alone.
rsvg-convert -w 32 -h 32 "$svg" -o "$work/svg32.png" || fail "the scalable icon does not render"
differ=$(compare -metric AE -fuzz 25% "$work/svg32.png" "$art/trefoil32.xpm" null: 2>&1)
[ "$differ" -le 64 ] || fail "the scalable icon differs from the pixel art in $differ of 1024 pixels"

entry=$share/applications/$app_id.desktop
for field in "StartupWMClass=Luminaku" "StartupNotify=true" "Keywords=Luminaku;" "Keywords\[ja\]=ルミナク;"; do
    grep -q "^$field" "$entry" || fail "the desktop entry lacks $field"
done

# The manual page lists the options and warns of the flashing; so does the AppStream text.
man=$(zcat "$share/man/man6/luminaku.6.gz")
for text in '\-\-calm' '\-\-help' '\-\-version' 'photosensitive epilepsy'; do
    grep -qF -- "$text" <<<"$man" || fail "the manual page lacks $text"
done
grep -q "Photosensitivity warning.*--calm" <(tr -s ' \n' ' ' <"$share/metainfo/$app_id.metainfo.xml") ||
    fail "the AppStream description lacks the photosensitivity warning"

appstreamcli compose --no-net --prefix=/usr --origin=luminaku --result-root="$work/out" \
    --hints-dir="$work/hints" "$work/root" >"$work/compose.log" 2>&1 ||
    { cat "$work/compose.log"; grep -A4 -- "- tag:" "$work"/hints/*.yaml; fail "compose failed"; }
for size in 64 128; do
    [ -f "$work/out/usr/share/swcatalog/icons/luminaku/${size}x$size/$app_id.png" ] ||
        fail "no $size px icon for software centres"
done
echo "icons, desktop entry and catalogue icons as expected"
