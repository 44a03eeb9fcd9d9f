# What the real-window tests (tests/window_*.sh) share: running under a
# virtual X server, starting the game and finding its window, and closing it
# as a window manager's close button would. Sourced, not run.
#
# The sourcing script names the game in $ranvel and the close tool in
# $close_window; the functions keep the game's process in $pid, its window
# in $wid and a window manager's process (when the script starts one) in $wm.
pid=""
wid=""
wm=""

# under_xvfb SCREEN "PACKAGES" TOOL... -- SCRIPT ARGUMENTS...
# Runs the script again under a virtual X server of SCREEN (e.g. 2400x1800),
# or skips the test (exit 77) when one of the tools is missing.
under_xvfb() {
  local screen=$1 packages=$2
  shift 2
  while [ "$1" != -- ]; do
    if ! command -v "$1" >/dev/null 2>&1; then
      echo "SKIPPED: $1 is not installed (Debian packages $packages); the real window is not checked."
      exit 77
    fi
    shift
  done
  shift
  exec xvfb-run -a -s "-screen 0 ${screen}x24 -nolisten tcp" bash "$@"
}

fail() {
  echo "FAIL: $*"
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  [ -n "$wm" ] && kill "$wm" 2>/dev/null
  exit 1
}

# launch_game STDOUT STDERR: the game in the background, its output kept.
launch_game() {
  # In a sanitizer build the window system's own libraries keep memory until
  # the end; their leaks are not the game's, so leak checking is left to the
  # unit tests.
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" "$ranvel" >"$1" 2>"$2" &
  pid=$!
}

# find_window: waits up to 30 s for a window titled Ranvel.
find_window() {
  wid=""
  for _ in $(seq 300); do
    wid=$(xdotool search --name '^Ranvel$' 2>/dev/null | head -n 1)
    [ -n "$wid" ] && return 0
    kill -0 "$pid" 2>/dev/null || fail "the game ended before its window appeared"
    sleep 0.1
  done
  fail "no window titled Ranvel within 30 s"
}

# settle_window: lets the options screen come up, then takes the window that
# is shown (the window system may replace the first one while the game sets
# up its drawing).
settle_window() {
  sleep 1.5
  wid=$(xdotool search --onlyvisible --name '^Ranvel$' 2>/dev/null | tail -n 1)
  [ -n "$wid" ] || fail "the window titled Ranvel is not shown"
}

# close_game [WHAT]: sends the close request; the game must end within 3 s
# with exit code 0. Leaves the time it took in $closed_ms.
close_game() {
  local what=${1:+$1: } c0 c1 code
  c0=$(date +%s%N)
  "$close_window" "$wid" || fail "${what}could not send the close request"
  for _ in $(seq 300); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.01
  done
  c1=$(date +%s%N)
  if kill -0 "$pid" 2>/dev/null; then fail "${what}still running 3 s after the close request"; fi
  wait "$pid"
  code=$?
  pid=""
  closed_ms=$(((c1 - c0) / 1000000))
  [ "$code" -eq 0 ] || fail "${what}exit code $code after closing the window, expected 0"
}
