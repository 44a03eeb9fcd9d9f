#!/usr/bin/env bash
# A double or a triple click on a rod in the real window lays one rod: the
# clicks after the first come while the game still reads the mouse, and the
# next turn throws them away. Driven with xdotool under a virtual X server;
# after each click the window must come to show the replay runner's page of
# one rod laid and the computer's answer (tests/window/double_click.replay),
# and still show it two seconds later.
#
# Usage: window_double_click.sh RANVEL RANVEL_REPLAY COMPARE_WINDOW WORKDIR
set -u
. "$(dirname "$0")/window/common.sh"

rerun_under_xvfb 1024x768 "xvfb, xdotool, x11-utils, imagemagick" xvfb-run xdotool xwininfo import -- "$@"
shift
ranvel=$1
replay=$2
compare=$3
work=$4

replay_pages double_click.replay

# shows NAME: the window comes to show the replay's page NAME within 15 s.
shows() {
  for _ in $(seq 30); do
    import -window root "$work/screen/$1.png" 2>/dev/null &&
      "$compare" "$work/screen/$1.png" "$work/pages/$1.png" "$wx" "$wy" "$ww" "$wh" >/dev/null && return 0
    sleep 0.5
  done
  return 1
}

# clicks NAME X Y COUNT DELAY: COUNT clicks DELAY ms apart on page pixel
# (X, Y); then the page NAME, still there two seconds later.
clicks() {
  xdotool mousemove $((wx + $2)) $((wy + $3)) click --repeat "$4" --delay "$5" 1 mousemove 0 0
  shows "$1" || fail "$4 clicks $5 ms apart: the window does not come to show the page $1 (see $work/screen/$1.png)"
  sleep 2
  shows "$1" || fail "$4 clicks $5 ms apart: the page $1 did not stay (see $work/screen/$1.png)"
  echo "$4 clicks $5 ms apart: one rod"
}

launch_game "$work/stdout.txt" "$work/stderr.txt" --scale 1
find_window
settle_window
xdotool mousemove 0 0
xdotool windowfocus "$wid" 2>/dev/null
window_box
xdotool key --clearmodifiers Return
shows first_frame || fail "the game did not start"
clicks one_rod 317 450 2 60
clicks two_rods 317 450 2 90
clicks three_rods 475 470 3 60
stop_game
echo "PASS"
