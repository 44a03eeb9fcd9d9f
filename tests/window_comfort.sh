#!/usr/bin/env bash
# The window at every size, under a virtual X server of 2400 x 1800 pixels.
#
# Without a window manager: the window starts at a whole multiple of the page
# (2x or 3x); every screen pixel shows its page pixel's colour with no blur;
# a click lands on the page pixel under the pointer at 3x; made 1000 x 700 the
# page is letter-boxed with black bars and a click through the letter box
# still lands right; at 1600 x 1200 it is 2x again.
# With a window manager (openbox): F11 makes the window fill the screen with
# the page at 3x, a click there lands right, and Alt+Enter brings the window
# back to its size, letter-boxed as before.
# Each screenshot is compared with the replay runner's page for the same
# step (tests/window/comfort.replay).
#
# Usage: window_comfort.sh RANVEL RANVEL_REPLAY COMPARE_WINDOW CLOSE_WINDOW WORKDIR
set -u
. "$(dirname "$0")/window/common.sh"

if [ "${1:-}" != "--inside" ]; then
  under_xvfb 2400x1800 "xvfb, xdotool, x11-utils, imagemagick" xvfb-run xdotool xwininfo import -- "$0" --inside "$@"
fi
shift
ranvel=$1
replay=$2
compare=$3
close_window=$4
work=$5
here=$(cd "$(dirname "$0")" && pwd)

rm -rf "$work"
mkdir -p "$work/screen"
"$replay" "$here/window/comfort.replay" "$work/pages" >/dev/null 2>"$work/replay.err" ||
  fail "ranvel-replay could not play tests/window/comfort.replay: $(cat "$work/replay.err")"

start_game() {
  launch_game /dev/null "$work/stderr.txt"
  find_window
  settle_window
  xdotool mousemove 2399 1799
  xdotool windowactivate "$wid" 2>/dev/null || xdotool windowfocus "$wid" 2>/dev/null
}

# The window's place and size, and where the page is shown inside it: the
# largest whole multiple of the page that fits, centred (a window smaller
# than the page shows it shrunk to fit, proportions kept).
window_box() {
  # xwininfo gives the inside of the window on the screen, also when a window
  # manager has put a frame around it.
  local info
  info=$(xwininfo -id "$wid")
  wx=$(echo "$info" | sed -n 's/.*Absolute upper-left X: *//p')
  wy=$(echo "$info" | sed -n 's/.*Absolute upper-left Y: *//p')
  ww=$(echo "$info" | sed -n 's/^ *Width: *//p')
  wh=$(echo "$info" | sed -n 's/^ *Height: *//p')
  local k=$((ww / 800 < wh / 600 ? ww / 800 : wh / 600))
  if [ "$k" -ge 1 ]; then
    bw=$((800 * k)) bh=$((600 * k))
  elif [ $((ww * 600)) -le $((wh * 800)) ]; then
    bw=$ww bh=$((ww * 600 / 800))
  else
    bh=$wh bw=$((wh * 800 / 600))
  fi
  bx=$((wx + (ww - bw) / 2)) by=$((wy + (wh - bh) / 2))
}

# The screen position of the middle of page pixel (x, y).
page_x() { echo $((bx + (2 * $1 + 1) * bw / 1600)); }
page_y() { echo $((by + (2 * $1 + 1) * bh / 1200)); }

step() {
  local name=$1 page=$2
  window_box
  import -window root "$work/screen/$name.png" || fail "no screenshot at step $name"
  printf '%-22s window %dx%d at %d,%d: ' "$name" "$ww" "$wh" "$wx" "$wy"
  BARS="$wx,$wy,$ww,$wh" "$compare" "$work/screen/$name.png" "$work/pages/$page.png" "$bx" "$by" "$bw" "$bh" ||
    fail "the window does not show the page at step $name (see $work/screen/$name.png)"
}

click_page() {
  xdotool mousemove "$(page_x "$1")" "$(page_y "$2")" click 1
}

# --- Without a window manager.
start_game
window_box
echo "the window starts at ${ww}x${wh} on a 2400 x 1800 screen"
case "${ww}x${wh}" in
  1600x1200 | 2400x1800) ;;
  *) fail "expected 2x (1600x1200) or 3x (2400x1800), got ${ww}x${wh}" ;;
esac
step start options

click_page 600 310
sleep 0.5
step click_at_start_scale computer_chosen

# The pointer goes outside the window before the window is made smaller.
xdotool mousemove 2399 1799
xdotool windowsize --sync "$wid" 1000 700
sleep 0.7
step letter_boxed_1000x700 computer_chosen_no_hover

click_page 28 500
sleep 0.5
step click_in_letter_box rod_1_off

xdotool mousemove 2399 1799
xdotool windowsize --sync "$wid" 1600 1200
sleep 0.7
step whole_2x rod_1_off_no_hover
close_game
[ -s "$work/stderr.txt" ] && fail "unexpected output on standard error: $(cat "$work/stderr.txt")"

# --- With a window manager: fullscreen and back.
if ! command -v openbox >/dev/null 2>&1; then
  echo "SKIPPED: openbox is not installed (Debian package openbox); fullscreen is not checked."
  exit 77
fi
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
start_game
xdotool windowsize --sync "$wid" 1000 700
sleep 0.7
step windowed_1000x700 options

xdotool key --clearmodifiers F11
sleep 1
window_box
[ "${ww}x${wh}" = 2400x1800 ] || fail "F11: expected the window to fill the 2400x1800 screen, got ${ww}x${wh}"
step fullscreen_by_f11 options
click_page 600 310
sleep 0.5
step click_in_fullscreen computer_chosen
xdotool mousemove "$(page_x 300)" "$(page_y 590)"
sleep 0.3

xdotool key --clearmodifiers alt+Return
sleep 1
window_box
[ "${ww}x${wh}" = 1000x700 ] || fail "Alt+Enter: expected the window back at 1000x700, got ${ww}x${wh}"
xdotool mousemove 2399 1799
sleep 0.3
step windowed_again computer_chosen_no_hover

xdotool key --clearmodifiers F11
sleep 1
step fullscreen_again computer_chosen_no_hover
xdotool key --clearmodifiers F11
sleep 1
window_box
[ "${ww}x${wh}" = 1000x700 ] || fail "F11 again: expected the window back at 1000x700, got ${ww}x${wh}"
close_game
kill "$wm" 2>/dev/null
wm=""
echo "PASS"
