#!/usr/bin/env bash
# The Debian package as a school's machine gets it: lintian finds no error
# (every tag it reports is shown), the package holds exactly what installing
# the game component puts in place, with the game stripped; apt-get installs
# it; the installed /usr/games/ranvel answers --version, starts in a virtual
# X server and ends with exit status 0 when its window is closed; and the
# package is removed again, leaving none of its files.
# It changes the system: run as root, where no ranvel package is installed
# (CI runs it through make package-test, after make package).
# Usage: package_deb.sh BUILD_DIR
set -u
# The game speaks the locale's language: these checks want its own Spanish.
export LC_ALL=C.UTF-8
here=$(cd "$(dirname "$0")" && pwd)
. "$here/window/common.sh"

# The installed game in a window, under its own virtual X server.
if [ "${1:-}" = --window ]; then
  if [ "${2:-}" != --inside ]; then
    under_xvfb 1600x1200 "xvfb and xdotool" xvfb-run xdotool -- "$0" --window --inside "${@:2}"
  fi
  ranvel=/usr/games/ranvel
  close_window=$3
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  launch_game /dev/null "$scratch/stderr.txt"
  find_window
  settle_window
  close_game "the installed game"
  [ -s "$scratch/stderr.txt" ] && fail "the installed game wrote on standard error: $(cat "$scratch/stderr.txt")"
  echo "the installed game opened its window and ended $closed_ms ms after the close request, exit status 0"
  exit 0
fi

build=$(cd "$1" && pwd)
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
stop() {
  fail "$*"
  exit 1
}

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb=$build/ranvel_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || stop "no $deb (make package builds it)"
[ "$(id -u)" = 0 ] || stop "installing a package needs root"
if dpkg-query -W -f='${Status}' ranvel 2>/dev/null | grep -q "ok installed"; then
  stop "a ranvel package is installed already; it is left alone"
fi
scratch=$(mktemp -d)
installed=""
# However the script ends, a package it installed is removed again.
trap '[ -n "$installed" ] && apt-get purge -y ranvel >/dev/null 2>&1; rm -rf "$scratch"' EXIT
echo "package: $deb, $(stat -c %s "$deb") bytes"

echo "== lintian"
lintian --pedantic --display-info "$deb" >"$scratch/lintian" 2>&1
code=$?
grep -v "running with root privileges" "$scratch/lintian"
grep -q "^E:" "$scratch/lintian" && fail "lintian reports errors"
[ "$code" -eq 0 ] || fail "lintian ended with exit status $code"

echo "== contents"
for field in "Package: ranvel" "Version: $version" "Section: games"; do
  dpkg-deb -f "$deb" "${field%%:*}" | grep -qx "${field#*: }" || fail "the control file lacks '$field'"
done
dpkg-deb -f "$deb" Maintainer | grep -q "<.*@.*>" || fail "no maintainer with an address"
dpkg-deb -f "$deb" Depends | grep -q "libsdl2" || fail "the dependencies do not name SDL2"
dpkg-deb -f "$deb" Description | sed -n 2p | grep -q "Spanish" || fail "the description does not name the Spanish game"
# Exactly what the game component installs (tests/install_tree.sh checks that list).
DESTDIR="$scratch/component" cmake --install "$build" --prefix /usr --component game >/dev/null ||
  fail "cmake --install of the game component failed"
(cd "$scratch/component" && find . -type f | sort) >"$scratch/expected"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort >"$scratch/packaged"
diff "$scratch/expected" "$scratch/packaged" >"$scratch/diff" ||
  fail "the package's files differ from the game component's: $(cat "$scratch/diff")"
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/games/ranvel >"$scratch/ranvel"
file "$scratch/ranvel" | grep -q ", stripped" || fail "the packaged game is not stripped"
echo "$(wc -l <"$scratch/packaged") files; depends on $(dpkg-deb -f "$deb" Depends)"

echo "== install"
DEBIAN_FRONTEND=noninteractive apt-get install -y "$deb" >"$scratch/apt" 2>&1 || stop "apt-get install failed: $(cat "$scratch/apt")"
installed=yes
dpkg -L ranvel >"$scratch/listed"
[ "$(/usr/games/ranvel --version | head -n 1)" = "ranvel $version" ] || fail "/usr/games/ranvel --version does not say ranvel $version"
bash "$0" --window "$build/ranvel-closewindow" || fail "the installed game in a window"

echo "== remove"
DEBIAN_FRONTEND=noninteractive apt-get purge -y ranvel >"$scratch/apt" 2>&1 || fail "apt-get purge failed: $(cat "$scratch/apt")"
installed=""
while read -r path; do
  [ -f "$path" ] && fail "$path is still there after the package was removed"
done <"$scratch/listed"
dpkg-query -W -f='${Status}' ranvel 2>/dev/null | grep -q "ok installed" && fail "ranvel is still installed"

[ "$failures" -eq 0 ] || exit 1
echo "PASS"
