#!/usr/bin/env bash
# The site as one zip for any static host or game-hosting site (make
# web-dist): every file of the site with index.html at the root, and the page
# that opens from a file (ranvel-sin-servidor.html). The same files give the
# same bytes: a fixed order, time and permissions, and no extra attributes.
#
#   web/dist.sh SITE SINGLE_PAGE OUT.zip
set -euo pipefail
if [ $# -ne 3 ]; then
  echo "usage: web/dist.sh SITE SINGLE_PAGE OUT.zip" >&2
  exit 2
fi
site=$1 single=$2 out=$(realpath -m "$3")
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp -pR "$site"/. "$stage"/
cp "$single" "$stage"/ranvel-sin-servidor.html
find "$stage" -type d -exec chmod 755 {} +
find "$stage" -type f -exec chmod 644 {} +
# Zip keeps local times: both sides in UTC.
export TZ=UTC LC_ALL=C
find "$stage" -exec touch -d '2000-01-01 00:00:00' {} +
rm -f "$out"
(cd "$stage" && find . -type f | sed 's|^\./||' | sort | zip -q -X -D -9 -@ "$out")
echo "$out"
