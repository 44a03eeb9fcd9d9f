#!/usr/bin/env bash
# The window options of the command line, in a real window under a virtual X
# server of 2560 x 1600: --scale 1 opens the page at its own size (without
# it the game takes twice the size there), --fullscreen (with --scale, which
# it ignores, and --integer-scale) covers the screen, and each such game
# ends with exit status 0 and nothing on standard error when its window is
# closed.
# Usage: window_options.sh RANVEL CLOSE_WINDOW_TOOL
set -u
. "$(dirname "$0")/window/common.sh"

rerun_under_xvfb 2560x1600 "xvfb and xdotool" xvfb-run xdotool -- "$@"
shift
ranvel=$1
close_window=$2
make_scratch

# opens_at SIZE ARGUMENTS...: the game started with the arguments shows a
# window of SIZE, and closes with exit status 0 and nothing said.
opens_at() {
  local size=$1 geometry
  shift
  launch_game /dev/null "$scratch/stderr.txt" "$@"
  find_window
  settle_window
  geometry=$(xdotool getwindowgeometry "$wid" | sed -n 's/.*Geometry: *//p')
  echo "ranvel $*: window $geometry"
  [ "$geometry" = "$size" ] || fail "ranvel $*: window $geometry, expected $size"
  close_game "ranvel $*"
  [ -s "$scratch/stderr.txt" ] && fail "ranvel $* wrote on standard error: $(cat "$scratch/stderr.txt")"
}

opens_at 800x600 --scale 1
opens_at 800x600 --scale=1 --integer-scale
# Full screen needs a window manager to carry it out.
if command -v openbox >/dev/null 2>&1; then
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 1
  opens_at 2560x1600 --fullscreen
  opens_at 2560x1600 --fullscreen --scale 1 --integer-scale
  kill "$wm" 2>/dev/null
  wm=""
else
  echo "full screen not checked: no window manager (Debian package openbox)"
fi
echo "PASS"
