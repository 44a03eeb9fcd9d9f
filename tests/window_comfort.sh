#!/usr/bin/env bash
# The window at every size, under two virtual X servers.
#
# On a 2400 x 1800 screen, without a window manager: the window starts at a
# whole multiple of the page (2x or 3x), each page pixel a square of its
# colour; a click lands on the page pixel under the pointer; made 1000 x 700
# the page fills the height at 932 x 699 (between whole multiples), bars
# beside it, and a click still lands right; at 1600 x 1200 it is 2x again;
# at 600 x 450 the page is averaged down and every pixel, the text's too, is
# as the reference computes it. With a window manager (openbox): F11 fills
# the screen with the page at 3x, a click there lands right, Alt+Enter
# brings the window back to its size.
# On a 1920 x 1080 screen with openbox: F11 shows the page 1440 x 1080 from
# x = 240, every pixel as the reference computes it, and a click on the first
# screen pixel of a check box's first page column toggles it while a click
# one screen pixel to the left does not.
# Each screenshot is compared with the replay runner's page for the same
# step (tests/window/comfort.replay), scaled by the reference of the scaling
# rules (tests/support/scaled_reference.h).
#
# Usage: window_comfort.sh RANVEL RANVEL_REPLAY COMPARE_WINDOW CLOSE_WINDOW WORKDIR
set -u
. "$(dirname "$0")/window/common.sh"

if [ "${1:-}" != "--inside" ]; then
  need_tools "xvfb, xdotool, x11-utils, imagemagick" xvfb-run xdotool xwininfo import
  in_xvfb 2400x1800 "$0" --inside large "$@" || exit $?
  in_xvfb exec 1920x1080 "$0" --inside full_hd "$@"
fi
part=$2
shift 2
ranvel=$1
replay=$2
compare=$3
close_window=$4
work=$5/$part

replay_pages comfort.replay

start_game() {
  launch_game /dev/null "$work/stderr.txt"
  find_window
  settle_window
  xdotool mousemove "$corner_x" "$corner_y"
  xdotool windowactivate "$wid" 2>/dev/null || xdotool windowfocus "$wid" 2>/dev/null
}

# The pointer names page pixel floor((screen x - bx) * 800 / bw): the first
# screen pixel of page column x is bx + ceil(x * bw / 800).
first_x() { echo $((bx + ($1 * bw + 799) / 800)); }
first_y() { echo $((by + ($1 * bh + 599) / 600)); }
# The middle of the screen pixels of page pixel (x, y).
page_x() { echo $((($(first_x "$1") + $(first_x $(($1 + 1)))) / 2)); }
page_y() { echo $((($(first_y "$1") + $(first_y $(($1 + 1)))) / 2)); }

# step NAME PAGE [every]: the screen against the page; "every" compares every
# pixel (the options screen does not depend on the run), not only those of
# the page's fixed colours.
# A machine busy with other work may take longer to show the step: up to
# three more looks, a second apart.
step() {
  local name=$1 page=$2 every=${3:-}
  for look in 1 2 3 4; do
    window_box
    import -window root "$work/screen/$name.png" || fail "no screenshot at step $name"
    printf '%-24s window %dx%d at %d,%d: ' "$name" "$ww" "$wh" "$wx" "$wy"
    EVERY_PIXEL=$([ "$every" = every ] && echo 1 || echo 0) BARS="$wx,$wy,$ww,$wh" \
      "$compare" "$work/screen/$name.png" "$work/pages/$page.png" "$bx" "$by" "$bw" "$bh" && return 0
    [ "$look" = 4 ] || sleep 1
  done
  fail "the window does not show the page at step $name (see $work/screen/$name.png)"
}

click_page() {
  xdotool mousemove "$(page_x "$1")" "$(page_y "$2")" click 1
}

start_openbox() {
  if ! command -v openbox >/dev/null 2>&1; then
    echo "SKIPPED: openbox is not installed (Debian package openbox); full screen is not checked."
    exit 77
  fi
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 1
}

if [ "$part" = large ]; then
  corner_x=2399 corner_y=1799
  # --- Without a window manager.
  start_game
  window_box
  echo "the window starts at ${ww}x${wh} on a 2400 x 1800 screen"
  case "${ww}x${wh}" in
    1600x1200 | 2400x1800) ;;
    *) fail "expected 2x (1600x1200) or 3x (2400x1800), got ${ww}x${wh}" ;;
  esac
  step start options every

  click_page 600 310
  sleep 0.5
  step click_at_start_scale computer_chosen every

  # The pointer goes outside the window before the window is made smaller.
  xdotool mousemove 2399 1799
  xdotool windowsize --sync "$wid" 1000 700
  sleep 0.7
  step filled_1000x700 computer_chosen_no_hover every
  [ "$bw" = 932 ] && [ "$bh" = 699 ] || fail "1000x700: expected the page at 932x699, got ${bw}x${bh}"

  click_page 28 500
  sleep 0.5
  step click_between_multiples rod_1_off every

  xdotool mousemove 2399 1799
  xdotool windowsize --sync "$wid" 1600 1200
  sleep 0.7
  step whole_2x rod_1_off_no_hover every

  # Smaller than the page: averaged, so the text stays readable.
  xdotool windowsize --sync "$wid" 600 450
  sleep 0.7
  step averaged_600x450 rod_1_off_no_hover every
  close_game
  [ -s "$work/stderr.txt" ] && fail "unexpected output on standard error: $(cat "$work/stderr.txt")"

  # --- With a window manager: full screen and back.
  start_openbox
  start_game
  xdotool windowsize --sync "$wid" 1000 700
  sleep 0.7
  step windowed_1000x700 options every

  xdotool key --clearmodifiers F11
  sleep 1
  window_box
  [ "${ww}x${wh}" = 2400x1800 ] || fail "F11: expected the window to fill the 2400x1800 screen, got ${ww}x${wh}"
  step fullscreen_by_f11 options every
  click_page 600 310
  sleep 0.5
  step click_in_fullscreen computer_chosen every
  xdotool mousemove "$(page_x 300)" "$(page_y 590)"
  sleep 0.3

  xdotool key --clearmodifiers alt+Return
  sleep 1
  window_box
  [ "${ww}x${wh}" = 1000x700 ] || fail "Alt+Enter: expected the window back at 1000x700, got ${ww}x${wh}"
  xdotool mousemove 2399 1799
  sleep 0.3
  step windowed_again computer_chosen_no_hover every

  xdotool key --clearmodifiers F11
  sleep 1
  step fullscreen_again computer_chosen_no_hover every
  xdotool key --clearmodifiers F11
  sleep 1
  window_box
  [ "${ww}x${wh}" = 1000x700 ] || fail "F11 again: expected the window back at 1000x700, got ${ww}x${wh}"
  close_game
else
  corner_x=1919 corner_y=1079
  # --- Full screen on a 1920 x 1080 screen: the height filled.
  start_openbox
  start_game
  xdotool key --clearmodifiers F11
  sleep 1
  window_box
  [ "${ww}x${wh}" = 1920x1080 ] || fail "F11: expected the window to fill the 1920x1080 screen, got ${ww}x${wh}"
  [ "$bx,$by,$bw,$bh" = 240,0,1440,1080 ] || fail "expected the page at 1440x1080 from 240,0, got ${bw}x${bh} from $bx,$by"
  step full_hd options every

  # The check box of rod 1 takes clicks from page column 16: one screen
  # pixel left of that column's first, nothing happens; on it, rod 1 is
  # switched off.
  xdotool mousemove $(($(first_x 16) - 1)) "$(page_y 500)" click 1
  sleep 0.5
  step full_hd_left_of_box options every
  click_page 600 310
  sleep 0.5
  step full_hd_click computer_chosen every
  xdotool mousemove 100 540
  sleep 0.3
  step full_hd_pointer_on_bar computer_chosen_no_hover every
  xdotool mousemove "$(first_x 16)" "$(page_y 500)" click 1
  sleep 0.5
  step full_hd_box_edge rod_1_off every
  close_game
fi
[ -s "$work/stderr.txt" ] && fail "unexpected output on standard error: $(cat "$work/stderr.txt")"
kill "$wm" 2>/dev/null
wm=""
echo "PASS"
