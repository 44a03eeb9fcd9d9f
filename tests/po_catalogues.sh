#!/usr/bin/env bash
# The translators' files: po/ranvel.pot holds what the sources give today, and
# every po/LL.po of po/LINGUAS translates all of it, with nothing fuzzy or
# left out, and passes msgfmt --check (placeholders such as %d kept, the
# header in order).
# Usage: po_catalogues.sh (from anywhere)
set -u
cd "$(dirname "$0")/.."
if ! command -v xgettext >/dev/null || ! command -v msgfmt >/dev/null; then
  echo "SKIP: gettext is not installed"
  exit 77
fi
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
fresh=$(mktemp)
trap 'rm -f "$fresh"' EXIT
bash po/make_pot.sh "$fresh" || fail "xgettext could not extract the template"
# Where in the sources an entry stands (#:) and the template's date may change freely.
current() { grep -v -e '^"POT-Creation-Date:' -e '^#:' "$1"; }
if ! diff -u <(current po/ranvel.pot) <(current "$fresh") >/dev/null; then
  fail "po/ranvel.pot is not what the sources give: run make pot"
fi
for language in $(grep -v '^#' po/LINGUAS); do
  po=po/$language.po
  [ -f "$po" ] || { fail "$po is missing"; continue; }
  statistics=$(LC_ALL=C msgfmt --check --statistics -o /dev/null "$po" 2>&1) || fail "$po: msgfmt --check: $statistics"
  echo "$po: $statistics"
  case "$statistics" in
    *fuzzy* | *untranslated*) fail "$po: $statistics" ;;
  esac
  msgcmp "$po" po/ranvel.pot >/dev/null 2>&1 || fail "$po does not hold every entry of po/ranvel.pot: run make pot"
done
[ "$failures" -eq 0 ] && echo PASS
exit $((failures > 0))
