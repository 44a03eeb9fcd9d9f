#!/usr/bin/env bash
# Fullscreen and back on every screen, in the real window under a virtual X
# server with a window manager (openbox): on each screen F11 makes the window
# fill the screen and Alt+Enter brings it back to its size, the game still
# answers a key afterwards, and closing the window there (in fullscreen) ends
# the program at once with exit code 0 and nothing on standard error.
#
# Usage: window_toggle.sh RANVEL CLOSE_WINDOW WORKDIR
set -u
. "$(dirname "$0")/window/common.sh"

rerun_under_xvfb 2400x1800 "xvfb, xdotool, x11-utils, imagemagick, openbox" xvfb-run xdotool xwininfo import compare openbox -- "$@"
shift
ranvel=$1
close_window=$2
work=$3

rm -rf "$work"
mkdir -p "$work"
openbox >/dev/null 2>&1 &
wm=$!
sleep 1

start_game() {
  launch_game /dev/null "$work/stderr.txt"
  find_window
  settle_window
  # The pointer stays off the window, so no hover look changes a picture.
  xdotool mousemove 2399 1799
  xdotool windowactivate "$wid" 2>/dev/null || xdotool windowfocus "$wid" 2>/dev/null
}

size() { xwininfo -id "$wid" | awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print w "x" h }'; }
alive() { game_running; }
keys() {
  for k in "$@"; do
    xdotool key --clearmodifiers "$k"
    sleep 0.15
  done
}
shot() { import -window "$wid" "$work/$1.png" 2>/dev/null || fail "no picture of the window ($1)"; }
differs() {
  local n
  n=$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1 | sed 's/ .*//')
  [ "$n" != "0" ]
}

closed_in() {
  close_game "$1"
  [ -s "$work/stderr.txt" ] && fail "$1: output on standard error: $(cat "$work/stderr.txt")"
  return 0
}

# name | keys that bring the game there | seconds to let it settle | a key the screen answers
screens=(
  "options||0.5|Down"
  "information page|i|1|a"
  "quit question|Escape|1|n"
  "player's turn|Return|2|5"
  "give-up question|Return Escape|2|n"
  "computer's move|Return 1|1.3|"
  "outcome message|Down Down Down Down Down Down Down Down Down Return 0|5|a"
  "closing page|Escape s|1|"
)

for entry in "${screens[@]}"; do
  IFS='|' read -r name path settle answer <<<"$entry"
  start_game
  # A window smaller than the screen, so that fullscreen and back differ.
  xdotool windowsize --sync "$wid" 1000 700
  sleep 0.5
  before=$(size)
  [ "$before" = 1000x700 ] || fail "$name: the window could not be made 1000x700 (it is $before)"
  # shellcheck disable=SC2086
  [ -n "$path" ] && keys $path
  sleep "$settle"
  alive || fail "$name: the game ended on the way there"

  keys F11
  sleep 0.8
  full=$(size)
  [ "$full" = 2400x1800 ] || fail "$name: F11 should fill the 2400x1800 screen, the window is $full"
  keys alt+Return
  sleep 0.8
  back=$(size)
  [ "$back" = "$before" ] || fail "$name: Alt+Enter should bring back $before, the window is $back"
  alive || fail "$name: the game ended after F11 and Alt+Enter"

  if [ -n "$answer" ]; then
    shot "$name-before"
    keys "$answer"
    sleep 1
    shot "$name-after"
    differs "$name-before" "$name-after" || fail "$name: no answer to the key $answer after the toggles"
  fi

  keys F11
  sleep 0.8
  closed_in "$name"
  echo "$name: fullscreen $full, back to $back, closed in fullscreen with exit code 0"
done

kill "$wm" 2>/dev/null
echo "PASS"
