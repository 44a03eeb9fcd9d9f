#!/usr/bin/env bash
# The committed icons are what the icon tool draws now, pixel for pixel
# (colour and alpha): a change to the drawing shows up here, and make icons
# writes them anew.
# Usage: icons_current.sh RANVEL_ICON ICON_DIR
set -u
tool=$1
committed=$2
if ! command -v compare >/dev/null 2>&1; then
  echo "SKIPPED: ImageMagick's compare is not installed (Debian package imagemagick)"
  exit 77
fi
drawn=$(mktemp -d)
trap 'rm -rf "$drawn"' EXIT
"$tool" "$drawn" >/dev/null || { echo "FAIL: the icon tool failed"; exit 1; }
failures=0
for size in 16 32 48 64 128 256; do
  name=${size}x${size}.png
  if ! differing=$(compare -metric AE "$committed/$name" "$drawn/$name" null: 2>&1); then
    echo "FAIL: $name: $differing pixels differ from the drawing (make icons draws them anew)"
    failures=$((failures + 1))
  else
    echo "$name: as drawn"
  fi
done
[ "$failures" -eq 0 ] || exit 1
echo "PASS"
