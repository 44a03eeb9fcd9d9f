#!/usr/bin/env bash
# The game in a real window under a virtual X server: the window opens with
# the title "Ranvel" at twice the page size on a 2560 x 1600 desktop, waits
# without using the processor, shows the page pixel for pixel (at twice its
# size, letter-boxed after a resize, and full-screen when a window manager
# is at hand), and a close request ends it at once with exit code 0.
# Usage: window_smoke.sh RANVEL CLOSE_WINDOW_TOOL WINDOW_SHOWS_PAGE_TOOL [RANVEL_REPLAY]
set -u

if [ "${1:-}" != "--inside" ]; then
  for tool in xvfb-run xdotool; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "SKIPPED: $tool is not installed (Debian packages xvfb and xdotool); the real window is not checked."
      exit 77
    fi
  done
  exec xvfb-run -a -s "-screen 0 2560x1600x24 -nolisten tcp" bash "$0" --inside "$@"
fi
shift
ranvel=$1
close_window=$2
shows_page=$3
replay=${4:-}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null; [ -n "${wm:-}" ] && kill "$wm" 2>/dev/null; exit 1; }

# In a sanitizer build the window system's own libraries keep memory until
# the end; their leaks are not the game's, so leak checking is left to the
# unit tests.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" "$ranvel" >/dev/null &
pid=$!

wid=""
for _ in $(seq 300); do
  wid=$(xdotool search --name '^Ranvel$' 2>/dev/null | head -n 1)
  [ -n "$wid" ] && break
  kill -0 "$pid" 2>/dev/null || fail "the game ended before its window appeared"
  sleep 0.1
done
[ -n "$wid" ] || fail "no window titled Ranvel within 30 s"
echo "window $wid titled: $(xdotool getwindowname "$wid")"

geometry=$(xdotool getwindowgeometry "$wid" | sed -n 's/.*Geometry: *//p')
echo "window size: $geometry"
[ "$geometry" = "1600x1200" ] || fail "expected 1600x1200 (twice the page) on a 2560x1600 desktop, got $geometry"

# Idle: the waiting program should sleep between its polls.
# The processor time of every thread of the process, in nanoseconds, from
# /proc/PID/task/*/schedstat (finer than the 10 ms ticks of /proc/PID/stat).
sleep 1
cpu_ns() { cat /proc/"$pid"/task/*/schedstat 2>/dev/null | awk '{ t += $1 } END { printf "%d", t }'; }
t0=$(cpu_ns); s0=$(date +%s%N)
sleep 4
t1=$(cpu_ns); s1=$(date +%s%N)
percent=$(awk -v t=$((t1 - t0)) -v ns=$((s1 - s0)) 'BEGIN { printf "%.2f", 100 * t / ns }')
echo "idle processor use: $percent % of a core"
awk -v p="$percent" 'BEGIN { exit !(p < 2.0) }' || fail "idle processor use $percent % is not under 2 %"

# What the window shows: the options screen exactly as the replay runner
# draws it, each page pixel a square of 2 x 2, then letter-boxed in a window
# that is not a whole multiple of the page.
window_matches() {  # NAME WINDOW|root
  sleep 1.5
  echo -n "$1: "
  "$shows_page" "$2" "$scratch/page.png" || fail "the window does not show the page exactly ($1)"
}
if [ -n "$replay" ]; then
  printf 'wait 100\nshot page\n' >"$scratch/script"
  "$replay" "$scratch/script" "$scratch" >/dev/null 2>&1 || fail "the replay runner could not draw the options screen"
  # Nothing hovered: the pointer off the window.
  xdotool mousemove 0 0
  window_matches "twice the page" "$wid"
  xdotool windowsize "$wid" 1700 1400
  window_matches "resized" "$wid"
  xdotool windowsize "$wid" 1600 1200
  window_matches "twice again" "$wid"
  # Full screen needs a window manager to carry it out.
  if command -v openbox >/dev/null 2>&1; then
    openbox >/dev/null 2>&1 &
    wm=$!
    sleep 1
    xdotool key --window "$wid" F11
    window_matches "full screen (F11)" root
    xdotool key --window "$wid" alt+Return
    window_matches "windowed (Alt+Enter)" "$wid"
    kill "$wm" 2>/dev/null
    wm=""
  else
    echo "full screen not checked: no window manager (Debian package openbox)"
  fi
else
  echo "pictures not checked: no replay runner to draw the page"
fi

# Close the window as a window manager's close button would.
c0=$(date +%s%N)
"$close_window" "$wid" || fail "could not send the close request"
for _ in $(seq 200); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.01
done
c1=$(date +%s%N)
if kill -0 "$pid" 2>/dev/null; then fail "still running 2 s after the close request"; fi
wait "$pid"
code=$?
ms=$(((c1 - c0) / 1000000))
echo "ended $ms ms after the close request with exit code $code"
[ "$code" -eq 0 ] || fail "exit code $code, expected 0"
[ "$ms" -lt 1000 ] || fail "took $ms ms to end, expected under 1 s"
echo "PASS"
