#!/usr/bin/env bash
# The command line is answered before any game starts: --help and --version
# print their text on standard output and end with exit status 0, an unknown
# option or a bad value prints a short usage on standard error and ends with
# 2. None of them writes the start-up trace lines or opens a window (there is
# no display here: a game that started would say it cannot open one).
# Usage: command_line.sh RANVEL VERSION
set -u
# The game speaks the locale's language: these checks want its own Spanish.
export LC_ALL=C.UTF-8
ranvel=$1
version=$2
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# run ARGUMENTS...: leaves the exit status in $code, the output in $out and $err.
run() {
  env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 10 "$ranvel" "$@" >"$out" 2>"$err" </dev/null
  code=$?
  if grep -q "Hello from Pelmora" "$out" || grep -q "cannot open a window" "$err"; then
    fail "$*: the game started"
  fi
}

run --version
echo "--version: exit status $code, $(head -n 1 "$out")"
[ "$code" -eq 0 ] || fail "--version: exit status $code, expected 0"
[ "$(head -n 1 "$out")" = "ranvel $version" ] || fail "--version: first line is not 'ranvel $version'"
[ -s "$err" ] && fail "--version wrote on standard error: $(cat "$err")"

run --help
echo "--help: exit status $code, $(wc -l <"$out") lines"
[ "$code" -eq 0 ] || fail "--help: exit status $code, expected 0"
[ "$(head -n 1 "$out")" = "Uso: ranvel [OPCIÓN]..." ] || fail "--help: first line is '$(head -n 1 "$out")'"
for option in --fullscreen "--scale N" --integer-scale --help --version; do
  grep -q -- "^  $option " "$out" || fail "--help does not explain $option"
done
[ -s "$err" ] && fail "--help wrote on standard error: $(cat "$err")"

for bad in "--bogus" "-h" "juego" "--scale" "--scale 0" "--scale 9" "--scale=x" "--fullscreen=quiza" "--help --scale 10"; do
  # shellcheck disable=SC2086 # the words are the arguments
  run $bad
  [ "$code" -eq 2 ] || fail "$bad: exit status $code, expected 2"
  [ -s "$out" ] && fail "$bad wrote on standard output: $(cat "$out")"
  [ "$(sed -n 2p "$err" | cut -c 1-11)" = "Uso: ranvel" ] || fail "$bad: no usage on standard error: $(cat "$err")"
done
echo "bad options: exit status 2 and a usage, e.g.:"
cat "$err"

[ "$failures" -eq 0 ] || exit 1
echo "PASS"
