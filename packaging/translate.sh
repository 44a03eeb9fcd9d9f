#!/usr/bin/env bash
# The menu entry, the software-centre description and the manual page in
# every language, made at build time from their sources and the catalogues:
#
#   translate.sh desktop TEMPLATE PO_DIR OUTPUT
#       the menu entry with Name[LL]=... beside each Spanish line, for the
#       languages of PO_DIR/LINGUAS (msgfmt --desktop)
#   translate.sh metainfo TEMPLATE PO_DIR OUTPUT
#       the description with xml:lang="LL" elements (msgfmt --xml), and every
#       language it carries listed in <languages> with its share translated
#   translate.sh manual SOURCE_DIR LL VERSION OUTPUT
#       packaging/ranvel.6.in translated with po/man/LL.po (po4a, with
#       po/man/po4a.cfg), the version put in
#
# A file that would come out broken stops the build with the reason; OUTPUT
# is written only once it is whole and valid. An entry a catalogue leaves
# untranslated (or fuzzy) keeps its Spanish text alone, which is valid.
set -euo pipefail

fail() {
  echo "translate.sh: $*" >&2
  exit 1
}

kind=${1:-}
case $kind in
  desktop | metainfo) [ $# -eq 4 ] || fail "usage: translate.sh $kind TEMPLATE PO_DIR OUTPUT" ;;
  manual) [ $# -eq 5 ] || fail "usage: translate.sh manual SOURCE_DIR LL VERSION OUTPUT" ;;
  *) fail "usage: translate.sh desktop|metainfo|manual ..." ;;
esac
out=${!#}
mkdir -p "$(dirname "$out")"
work=$(mktemp -d "$out.XXXXXX")
trap 'rm -rf "$work"' EXIT
result=$work/$(basename "$out")

# A validator's verdict, when the validator is installed (the tests run it
# too, stricter).
validate() {
  local tool=$1
  shift
  command -v "$tool" >/dev/null 2>&1 || return 0
  "$tool" "$@" >"$work/validator" 2>&1 || fail "$tool finds the translated $(basename "$out") broken: $(cat "$work/validator")"
}

translate_desktop() {
  local template=$1 po_dir=$2
  msgfmt --desktop --template="$template" -d "$po_dir" -o "$result" 2>"$work/log" ||
    fail "msgfmt could not translate the menu entry: $(cat "$work/log")"
  # msgfmt copies a translated Keywords value as it stands: it must stay a
  # list like the Spanish one, each word followed by a semicolon. A comma
  # list or a lost semicolon would make one long word nobody searches for.
  local line language words='^([^;,]*[^;,[:space:]][^;,]*;)+$'
  while IFS= read -r line; do
    language=${line#Keywords[}
    language=${language%%]*}
    [[ ${line#*=} =~ $words ]] ||
      fail "po/$language.po: the menu entry's words to find the game by must each be followed by a semicolon, as in the Spanish (no commas, no empty word): $line"
  done < <(grep '^Keywords\[' "$result" || true)
  validate desktop-file-validate "$result"
}

# The share of PO's entries that are translated (fuzzy ones are not), in
# whole percent, rounded down.
translated_percent() {
  local statistics translated=0 others=0
  statistics=$(LC_ALL=C msgfmt --statistics -o /dev/null "$1" 2>&1) || fail "$1: $statistics"
  [[ $statistics =~ ([0-9]+)\ translated ]] && translated=${BASH_REMATCH[1]}
  [[ $statistics =~ ([0-9]+)\ fuzzy ]] && others=${BASH_REMATCH[1]}
  [[ $statistics =~ ([0-9]+)\ untranslated ]] && others=$((others + BASH_REMATCH[1]))
  echo $((translated + others > 0 ? 100 * translated / (translated + others) : 0))
}

translate_metainfo() {
  local template=$1 po_dir=$2
  msgfmt --xml --template="$template" -d "$po_dir" -o "$result" 2>"$work/log" ||
    fail "msgfmt could not translate the software centre's description: $(cat "$work/log")"
  # A description is shown in a language from that language's paragraphs
  # alone: one translated in part would lose the others.
  awk '
    /<description>/ { inside = 1; spanish = 0; descriptions++; split("", by_language) }
    inside && /<(p|li)>/ { spanish++ }
    inside && match($0, /<(p|li) xml:lang="[^"]*"/) {
      language = substr($0, RSTART, RLENGTH)
      sub(/.*xml:lang="/, "", language)
      sub(/"$/, "", language)
      by_language[language]++
    }
    /<\/description>/ {
      inside = 0
      for (language in by_language)
        if (by_language[language] != spanish) {
          printf "po/%s.po translates %d of the %d paragraphs of %s: translate them all\n", language,
                 by_language[language], spanish, descriptions == 1 ? "the description" : "a release'"'"'s notes"
          bad = 1
        }
    }
    END { exit bad }' "$result" >"$work/log" 2>&1 || fail "$(cat "$work/log")"
  # Every language with something translated, and how much of it.
  local languages="" language percent
  for language in $(grep -v '^#' "$po_dir/LINGUAS"); do
    percent=$(translated_percent "$po_dir/$language.po")
    if [ "$percent" -gt 0 ]; then languages+="    <lang percentage=\"$percent\">$language</lang>"$'\n'; fi
  done
  [ "$(grep -c '^ *<lang>es</lang>$' "$result")" = 1 ] || fail "the template's <languages> has no line <lang>es</lang>"
  awk -v languages="$languages" '{ print } /^ *<lang>es<\/lang>$/ { printf "%s", languages }' "$result" >"$work/listed"
  mv "$work/listed" "$result"
  validate appstreamcli validate --no-net "$result"
}

translate_manual() {
  local source_dir=$1 language=$2 version=$3
  local page=$work/ranvel.$language.6.in
  # po4a leaves out a translation that is not whole (--keep 100 in the
  # configuration) and still succeeds: the missing page is the sign.
  (cd "$source_dir" && po4a --no-update --force --destdir "$work" --translate-only "ranvel.$language.6.in" \
    po/man/po4a.cfg) >"$work/log" 2>&1 || fail "po4a could not translate the manual page: $(cat "$work/log")"
  [ -f "$page" ] || fail "po/man/$language.po does not translate all of packaging/ranvel.6.in ($(tr '\n' ' ' <"$work/log")); make pot brings it up to the page: then translate what is new (po/README.md)"
  sed "s/@PROJECT_VERSION@/$version/g" "$page" >"$result"
  ! grep -n '@[A-Za-z_]*@' "$result" >"$work/log" ||
    fail "the translated manual page keeps a variable the build does not fill: $(cat "$work/log")"
}

case $kind in
  desktop) translate_desktop "$2" "$3" ;;
  metainfo) translate_metainfo "$2" "$3" ;;
  manual) translate_manual "$2" "$3" "$4" ;;
esac
mv "$result" "$out"
