#!/usr/bin/env bash
# With no display to reach, the game says so on standard error and ends at
# once (the run-time error report, exit code 0) instead of waiting in a
# window nobody can see.
# Usage: window_no_display.sh RANVEL
set -u
# The game speaks the locale's language: these checks want its own Spanish.
export LC_ALL=C.UTF-8
ranvel=$1
err=$(mktemp)
trap 'rm -f "$err"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# A display number with no server behind it.
n=987
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done

start=$(date +%s%N)
env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=":$n" \
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" timeout 20 "$ranvel" >/dev/null 2>"$err" </dev/null
code=$?
ms=$((($(date +%s%N) - start) / 1000000))
[ "$code" -ne 124 ] || fail "still running 20 s after it was started with no display"
echo "ended after $ms ms with exit code $code; standard error:"
cat "$err"
grep -q "^Ranvel: cannot open a window" "$err" || fail "no word on standard error that the window cannot open"
[ "$code" -eq 0 ] || fail "exit code $code, expected 0"
[ "$ms" -lt 5000 ] || fail "took $ms ms to end, expected under 5 s"
echo "PASS"
