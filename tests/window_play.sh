#!/usr/bin/env bash
# The game played in a real window under a virtual X server, driven with
# xdotool like a player: Enter to play, a digit key, a click on a choice rod,
# Esc and a yes, Esc and a yes on the options screen, a key on the closing
# page. A screenshot of the whole screen is taken at each step and the
# window's part of it is compared with the page ranvel-replay draws for the
# same step (tests/window/play.replay). The program must end with exit code
# 0 after the closing page. A second run closes the window in the middle of
# a camera move: it must end at once (within one second) with exit code 0.
# A third run double- and triple-clicks rods: each lays one rod.
#
# Usage: window_play.sh RANVEL RANVEL_REPLAY COMPARE_WINDOW CLOSE_WINDOW WORKDIR
set -u
. "$(dirname "$0")/window/common.sh"

rerun_under_xvfb 1024x768 "xvfb, xdotool, x11-utils, imagemagick" xvfb-run xdotool xwininfo import -- "$@"
shift
ranvel=$1
replay=$2
compare=$3
close_window=$4
work=$5

# The pages as the replay runner draws them.
replay_pages play.replay

start_game() {
  launch_game "$work/stdout.txt" "$work/stderr.txt"
  find_window
  settle_window
  # The pointer waits in the screen's corner, outside the window, so that
  # nothing is highlighted under it.
  xdotool mousemove 0 0
  xdotool windowfocus "$wid" 2>/dev/null
}


# A screenshot of the whole screen, and the window's part of it compared with
# the replay's page of the same name.
step() {
  local name=$1
  import -window root "$work/screen/$name.png" || fail "no screenshot at step $name"
  printf '%-18s' "$name:"
  "$compare" "$work/screen/$name.png" "$work/pages/$name.png" "$wx" "$wy" "$ww" "$wh" ||
    fail "the window does not show the page of step $name (see $work/screen/$name.png)"
}

key() { xdotool key --clearmodifiers "$1"; }

# --- First run: a whole visit, from the options screen to the closing page.
start_game
window_box
echo "window at $wx,$wy, $ww x $wh on a 1024 x 768 screen"
[ "$ww" = 800 ] && [ "$wh" = 600 ] || fail "expected 800 x 600 (the page once) on a 1024 x 768 screen"
step options

key Return
sleep 1
step first_frame

key 3
# A quick click on a rod one and a half seconds later, while the game moves
# the camera and the computer's rod and reads no input: it must not be kept
# for the player's turn.
sleep 1.5
xdotool mousemove $((wx + 252)) $((wy + 432)) click 1 mousemove 0 0
sleep 4.5
step after_3

# The yellow 5 of the choice row is at page pixel (252, 432).
xdotool mousemove $((wx + 252)) $((wy + 432)) click 1 mousemove 0 0
sleep 8
step after_click

key Escape
sleep 0.5
step give_up_question
key s
sleep 1.5
step options_again

key Escape
sleep 0.5
step quit_question
key s
sleep 1
step closing_page

# A key; the page stays five seconds in all, then the program ends.
t0=$(date +%s%N)
key space
for _ in $(seq 100); do
  game_running || break
  sleep 0.1
done
game_running && fail "still running 10 s after the key on the closing page"
wait "$pid"
code=$?
pid=""
echo "ended $((($(date +%s%N) - t0) / 1000000)) ms after the key on the closing page, exit code $code"
[ "$code" -eq 0 ] || fail "exit code $code after the closing page, expected 0"
[ -s "$work/stderr.txt" ] && fail "unexpected output on standard error: $(cat "$work/stderr.txt")"

# --- Second run: closed while the camera moves.
start_game
key Return
sleep 1
# A 10 and the computer's 2 make 12; a 5 then moves the camera from 12 to 17
# in a second and a quarter.
key 0
sleep 6
key 5
sleep 0.4
close_game
echo "closed during the camera move: ended $closed_ms ms after the close request with exit code 0"
[ "$closed_ms" -lt 1000 ] || fail "took $closed_ms ms to end, expected under 1 s"

# --- Third run: a double or a triple click on a rod lays one rod, the page
# of one click (tests/window/double_click.replay), and still two seconds later.
replay_pages double_click.replay
start_game
key Return
sleep 1
for place in "one_rod 317 450 2 60" "two_rods 317 450 2 90" "three_rods 475 470 3 60"; do
  read -r name x y count delay <<<"$place"
  xdotool mousemove $((wx + x)) $((wy + y)) click --repeat "$count" --delay "$delay" 1 mousemove 0 0
  sleep 8
  step "$name"
  sleep 2
  step "$name"
done
stop_game
echo "PASS"
