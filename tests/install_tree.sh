#!/usr/bin/env bash
# What `make install` and the package put in place: an install into a
# temporary DESTDIR under the prefix /usr holds exactly the expected files,
# the game component alone (the package's content) leaves the developer
# tools out, another prefix is honoured; the desktop entry (its every command
# line one the game accepts), the software-centre description and the manual
# page pass their validators, the compressed files are compressed as Debian
# asks, and every file that names the version names the project's. The
# translations are in place, po/man is whole and current, and a broken
# translation stops the build.
# Usage: install_tree.sh CMAKE BUILD_DIR VERSION
set -u
# The game speaks the locale's language: these checks want its own Spanish.
export LC_ALL=C.UTF-8
cmake=$1
build=$2
version=$3
source=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

id=org.ranvel.Ranvel
game_files="usr/games/ranvel
usr/share/applications/$id.desktop
usr/share/metainfo/$id.metainfo.xml
usr/share/doc/ranvel/copyright
usr/share/doc/ranvel/changelog.gz"
manual_pages="usr/share/man/man6/ranvel.6.gz usr/share/man/es/man6/ranvel.6.gz"
game_files="$game_files
$(tr ' ' '\n' <<<"$manual_pages")"
for size in 16 32 48 64 128 256; do
  game_files="$game_files
usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
done
tool_files="usr/bin/ranvel-replay
usr/bin/ranvel-datatext"

# install_into DIR ARGUMENTS...: cmake --install with DESTDIR=DIR.
install_into() {
  local dir=$1
  shift
  DESTDIR="$dir" "$cmake" --install "$build" "$@" >"$scratch/install.log" 2>&1 ||
    fail "cmake --install $* failed: $(cat "$scratch/install.log")"
}
# same_files DIR EXPECTED WHAT: the files under DIR are exactly EXPECTED.
same_files() {
  local found
  found=$(cd "$1" && find . -type f -o -type l | sed 's|^\./||' | sort)
  if [ "$found" != "$(echo "$2" | sort)" ]; then
    fail "$3: the files installed differ from those expected:"
    diff <(echo "$2" | sort) <(echo "$found") | sed -n 's/^[<>]/  &/p'
  else
    echo "$3: $(echo "$found" | wc -l) files, as expected"
  fi
}

full=$scratch/full
install_into "$full" --prefix /usr
same_files "$full" "$game_files
$tool_files" "make install under /usr"
for program in usr/games/ranvel $tool_files; do
  [ -x "$full/$program" ] || fail "$program is not executable"
done

install_into "$scratch/game" --prefix /usr --component game
same_files "$scratch/game" "$game_files" "the game component (the package's content)"

install_into "$scratch/opt" --prefix /opt/ranvel
[ -x "$scratch/opt/opt/ranvel/games/ranvel" ] || fail "--prefix /opt/ranvel: no opt/ranvel/games/ranvel"

# Every command line of the desktop entry (the game and its actions) is one
# the installed game accepts: with --version added it answers and ends.
while IFS= read -r exec_line; do
  read -r -a words <<<"${exec_line#Exec=}"
  "$full/usr/games/ranvel" "${words[@]:1}" --version >/dev/null 2>"$scratch/out" ||
    fail "desktop entry: the game refuses '$exec_line': $(cat "$scratch/out")"
done < <(grep "^Exec=" "$full/usr/share/applications/$id.desktop")

# The icons: PNG pictures of their size (width and height at bytes 16..23).
for size in 16 32 48 64 128 256; do
  icon=$full/usr/share/icons/hicolor/${size}x${size}/apps/$id.png
  header=$(od -An -tx1 -j 0 -N 24 "$icon" 2>/dev/null | tr -d ' \n')
  expected=$(printf '89504e470d0a1a0a0000000d49484452%08x%08x' "$size" "$size")
  [ "$header" = "$expected" ] || fail "icon ${size}x${size}: not a PNG picture of that size"
done

# Compressed with gzip -9n: no file name and no time in the header (flags
# byte 3 and time bytes 4..7 all zero), the most compression (byte 8 is 2).
for gz in $manual_pages usr/share/doc/ranvel/changelog.gz; do
  header=$(od -An -tx1 -N 10 "$full/$gz" | tr -d ' \n')
  [ "${header:0:6}" = 1f8b08 ] && [ "${header:6:10}" = 0000000000 ] && [ "${header:16:2}" = 02 ] ||
    fail "$gz is not compressed with gzip -9n (header $header)"
  gzip -t "$full/$gz" || fail "$gz is damaged"
done

# One version everywhere.
for page in $manual_pages; do
  zcat "$full/$page" | grep -q "^\.TH RANVEL 6 .*\"ranvel $version\"" || fail "$page does not name version $version"
done
[ "$(zcat "$full/usr/share/doc/ranvel/changelog.gz" | head -n 1 | cut -d ' ' -f 1-2)" = "ranvel ($version)" ] ||
  fail "the changelog's newest entry is not version $version"
grep -q "<release version=\"$version\"" "$full/usr/share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo has no release $version"

# The copyright file: machine-readable, with both licences and the fonts'
# notice whole.
copyright=$full/usr/share/doc/ranvel/copyright
head -n 1 "$copyright" | grep -q "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ||
  fail "copyright: not in the machine-readable format"
for line in "License: GPL-3+" "License: Bitstream-Vera" " org." " ."; do
  grep -qx -- "$line" "$copyright" || fail "copyright: no line '$line'"
done
tac "$copyright" | sed '/^License: Bitstream-Vera$/q' | grep -q "^$" && fail "copyright: an empty line in the fonts' licence"

# The validators: missing ones skip the test (after the checks above).
missing=""
for tool in desktop-file-validate appstreamcli man groff; do
  command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
done
if [ -z "$missing" ]; then
  # Not even a hint: one that the game may show twice in a menu is a fault.
  if ! desktop-file-validate "$full/usr/share/applications/$id.desktop" >"$scratch/out" 2>&1 ||
      [ -s "$scratch/out" ]; then
    fail "desktop-file-validate: $(cat "$scratch/out")"
  else
    echo "desktop-file-validate: nothing to say"
  fi
  # Not even a pedantic note, but for the ID's capitals (the file names share them).
  appstreamcli validate --pedantic --no-net "$full/usr/share/metainfo/$id.metainfo.xml" >"$scratch/out" 2>&1 ||
    fail "appstreamcli validate: $(cat "$scratch/out")"
  grep '^[EWIP]: ' "$scratch/out" | grep -v ' cid-contains-uppercase-letter ' >"$scratch/notes" &&
    fail "appstreamcli validate --pedantic: $(cat "$scratch/notes")"
  echo "appstreamcli validate --pedantic: $(grep -v '^$' "$scratch/out" | tail -n 1)"
  # groff's every warning, and each page as man shows it.
  for page in $manual_pages; do
    zcat "$full/$page" | groff -k -ww -man -Tutf8 -z >"$scratch/out" 2>&1
    [ -s "$scratch/out" ] && fail "groff -ww warns about $page: $(cat "$scratch/out")"
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings=w -l "$full/$page" >"$scratch/page" 2>"$scratch/out" ||
      fail "man -l could not show $page"
    [ -s "$scratch/out" ] && fail "man -l warns about $page: $(cat "$scratch/out")"
    grep -q "ranvel --help | --version" "$scratch/page" || fail "man -l shows no synopsis in $page"
    echo "$page: $(wc -l <"$scratch/page") lines, no warning"
  done
fi

# The manual page's catalogues are whole, and what make pot makes of the page.
mkdir -p "$scratch/current" && (cd "$source" && cp -r --parents po/man packaging/ranvel.6.in "$scratch/current")
(cd "$scratch/current" && po4a --no-translations --package-version "$version" po/man/po4a.cfg >/dev/null 2>&1) ||
  fail "po4a could not bring po/man up to the manual page"
for file in $(cd "$source" && echo po/man/*.pot po/man/*.po); do
  diff <(grep -v '^"POT-Creation-Date:' "$source/$file") <(grep -v '^"POT-Creation-Date:' "$scratch/current/$file") \
    >/dev/null || fail "$file is behind packaging/ranvel.6.in: run make pot, then translate what is new"
  [ "${file%.po}" = "$file" ] && continue
  statistics=$(LC_ALL=C msgfmt --check --statistics -o /dev/null "$source/$file" 2>&1) &&
    [[ $statistics != *fuzzy* && $statistics != *untranslated* ]] || fail "$file: $statistics"
done

# The build refuses a Keywords list that is not one and a description
# translated in part, and takes a catalogue that translates some entries.
cases=$scratch/cases
mkdir -p "$cases" && echo ca >"$cases/LINGUAS"
keywords=$(sed -n 's/^Keywords=//p' "$source/packaging/$id.desktop")
for case in "made:joc;números;suma;" "refused:joc, números, suma;" "refused:joc;;suma;" "refused:joc;suma"; do
  printf 'msgid ""\nmsgstr "Content-Type: text/plain; charset=UTF-8\\n"\n\nmsgid "%s"\nmsgstr "%s"\n' \
    "$keywords" "${case#*:}" >"$cases/ca.po"
  outcome=refused
  bash "$source/packaging/translate.sh" desktop "$source/packaging/$id.desktop" "$cases" "$cases/$id.desktop" \
    2>/dev/null && outcome=made
  [ "$outcome" = "${case%%:*}" ] || fail "the menu entry with Keywords[ca]=${case#*:} was $outcome"
done
msggrep -X -F -e "the description's first paragraph" "$source/po/ranvel.pot" | msgen -o "$cases/ca.po" -
bash "$source/packaging/translate.sh" metainfo "$source/packaging/$id.metainfo.xml" "$cases" "$cases/$id.metainfo.xml" \
  2>/dev/null && fail "the description was made with one paragraph of two translated"

# What each catalogue translates is in place: GenericName[LL], and a whole
# catalogue's language listed as whole in the description.
generic_name=$(sed -n 's/^GenericName=//p' "$source/packaging/$id.desktop")
for language in $(grep -v '^#' "$source/po/LINGUAS"); do
  translated=$(msgattrib --translated --no-fuzzy "$source/po/$language.po" |
    msgexec -i - sh -c '[ "$MSGEXEC_MSGID" != "$0" ] || cat' "$generic_name")
  [ -z "$translated" ] || grep -qxF "GenericName[$language]=$translated" "$full/usr/share/applications/$id.desktop" ||
    fail "po/$language.po translates GenericName, but the menu entry has no GenericName[$language]=$translated"
  case $(LC_ALL=C msgfmt --statistics -o /dev/null "$source/po/$language.po" 2>&1) in
    *fuzzy* | *untranslated*) ;;
    *) grep -qF "<lang percentage=\"100\">$language</lang>" "$full/usr/share/metainfo/$id.metainfo.xml" ||
         fail "po/$language.po is whole, but the description does not list $language as whole" ;;
  esac
done

[ "$failures" -eq 0 ] || exit 1
if [ -n "$missing" ]; then
  echo "SKIPPED: the files are right, but$missing missing (Debian packages desktop-file-utils, appstream, man-db, groff-base)"
  exit 77
fi
echo "PASS"
