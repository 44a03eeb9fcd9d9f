#!/usr/bin/env bash
# The committed icons, the desktop's and the web page's, are what the icon
# tool draws now, pixel for pixel (colour and alpha): a change to the drawing
# shows up here, and make icons writes them anew.
# Usage: icons_current.sh RANVEL_ICON ICON_DIR WEB_ICON_DIR
set -u
tool=$1
if ! command -v compare >/dev/null 2>&1; then
  echo "SKIPPED: ImageMagick's compare is not installed (Debian package imagemagick)"
  exit 77
fi
drawn=$(mktemp -d)
trap 'rm -rf "$drawn"' EXIT
mkdir "$drawn/desktop" "$drawn/web"
"$tool" "$drawn/desktop" >/dev/null && "$tool" --web "$drawn/web" >/dev/null || { echo "FAIL: the icon tool failed"; exit 1; }
failures=0
for set in "desktop $2" "web $3"; do
  read -r name committed <<<"$set"
  for picture in "$drawn/$name"/*.png; do
    file=$(basename "$picture")
    if ! differing=$(compare -metric AE "$committed/$file" "$picture" null: 2>&1); then
      echo "FAIL: $committed/$file: $differing pixels differ from the drawing (make icons draws them anew)"
      failures=$((failures + 1))
    else
      echo "$name/$file: as drawn"
    fi
  done
done
[ "$failures" -eq 0 ] || exit 1
echo "PASS"
