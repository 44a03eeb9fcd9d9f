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
mkdir "$drawn/web"
"$tool" "$drawn" >/dev/null && "$tool" --web "$drawn/web" >/dev/null || { echo "FAIL: the icon tool failed"; exit 1; }
failures=0
for name in 16x16.png 32x32.png 48x48.png 64x64.png 128x128.png 256x256.png $(cd "$drawn" && echo web/*.png); do
  committed=$2/$name
  [ "${name#web/}" = "$name" ] || committed=$3/${name#web/}
  if ! differing=$(compare -metric AE "$committed" "$drawn/$name" null: 2>&1); then
    echo "FAIL: $committed: $differing pixels differ from the drawing (make icons draws them anew)"
    failures=$((failures + 1))
  else
    echo "$name: as drawn"
  fi
done
[ "$failures" -eq 0 ] || exit 1
echo "PASS"
