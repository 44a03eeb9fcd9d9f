#!/usr/bin/env bash
# Extracts the translators' template, po/ranvel.pot, from the sources with
# xgettext: the game's marked texts (screen_text and plain_text in the C++
# sources, page_text in web/page.js), the menu entry and the software
# centre's description. A comment starting with "TRANSLATORS:" just before a
# mark goes along with it.
#
# Usage: po/make_pot.sh [OUTPUT]   (default po/ranvel.pot)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-po/ranvel.pot}
version=$(sed -n 's/^project(Ranvel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
mapfile -t sources < <(git ls-files 'src/*.cpp' 'src/*.h' | grep -v '^src/tools/' | LC_ALL=C sort)
xgettext --from-code=UTF-8 --add-comments=TRANSLATORS: --sort-by-file \
  --keyword=screen_text:1c,2 --keyword=plain_text:1c,2 --keyword=page_text:1c,2 \
  --package-name=Ranvel --package-version="$version" --copyright-holder="The Ranvel developers" \
  --msgid-bugs-address="developers@ranvel.org" \
  -o "$out" "${sources[@]}" web/page.js packaging/org.ranvel.Ranvel.desktop packaging/org.ranvel.Ranvel.metainfo.xml
