# What the real-window tests (tests/window_*.sh) share: running under a
# virtual X server, starting the game and finding its window, and closing it
# as a window manager's close button would. Sourced, not run.
#
# The sourcing script names the game in $ranvel and the close tool in
# $close_window; the functions keep the game's process in $pid, its window
# in $wid and a window manager's process (when the script starts one) in $wm.
# The game speaks the locale's language: these checks want its own Spanish.
export LC_ALL=C.UTF-8
pid=""
wid=""
wm=""
game_stderr=""
game_stdout=""
game_args=()

# need_tools "PACKAGES" TOOL... : skips the test (exit 77) when one of the
# tools is missing.
need_tools() {
  local packages=$1
  shift
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "SKIPPED: $tool is not installed (Debian packages $packages); the real window is not checked."
      exit 77
    fi
  done
}

# in_xvfb SCREEN SCRIPT ARGUMENTS...: runs the script under a virtual X
# server of SCREEN (e.g. 2400x1800); with exec first, in its place.
in_xvfb() {
  local run=""
  [ "$1" = exec ] && run=exec && shift
  local screen=$1
  shift
  # -noreset: by default the server starts over whenever its last client has
  # gone, and hangs up on a game that connects meanwhile (about one start in
  # ten when games are started one after another).
  $run xvfb-run -a -s "-screen 0 ${screen}x24 -nolisten tcp -noreset" bash "$@"
}

# under_xvfb SCREEN "PACKAGES" TOOL... -- SCRIPT ARGUMENTS...
# Runs the script again under a virtual X server of SCREEN, or skips the
# test (exit 77) when one of the tools is missing.
under_xvfb() {
  local screen=$1 packages=$2
  shift 2
  local tools=()
  while [ "$1" != -- ]; do
    tools+=("$1")
    shift
  done
  shift
  need_tools "$packages" "${tools[@]}"
  in_xvfb exec "$screen" "$@"
}

# rerun_under_xvfb SCREEN "PACKAGES" TOOL... -- "$@": when the script's first
# argument is not --inside, runs the script again (with --inside before its
# arguments) under a virtual X server of SCREEN, or skips the test; the
# script then drops --inside with `shift`.
rerun_under_xvfb() {
  local how=()
  for argument; do
    shift
    [ "$argument" = -- ] && break
    how+=("$argument")
  done
  [ "${1:-}" = --inside ] || under_xvfb "${how[@]}" -- "$0" --inside "$@"
}

# replay_pages SCRIPT: the pages the replay runner draws for the window
# script tests/window/SCRIPT, in $work/pages (and an empty $work/screen for
# the screenshots); $replay names the runner.
replay_pages() {
  rm -rf "$work"
  mkdir -p "$work/screen"
  "$replay" "$(dirname "${BASH_SOURCE[0]}")/$1" "$work/pages" >/dev/null 2>"$work/replay.err" ||
    fail "ranvel-replay could not play tests/window/$1: $(cat "$work/replay.err")"
}

# make_scratch: a scratch folder in $scratch, removed when the script ends.
make_scratch() {
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
}

# window_box: the window's place and size on the screen ($wx, $wy, $ww,
# $wh; xwininfo gives the inside of the window, also when a window manager
# has put a frame around it) and the size the page is shown at inside it
# ($bw x $bh from $bx, $by: the largest 4 x 3 rectangle that fits, centred).
window_box() {
  local info
  info=$(xwininfo -id "$wid")
  wx=$(echo "$info" | sed -n 's/.*Absolute upper-left X: *//p')
  wy=$(echo "$info" | sed -n 's/.*Absolute upper-left Y: *//p')
  ww=$(echo "$info" | sed -n 's/^ *Width: *//p')
  wh=$(echo "$info" | sed -n 's/^ *Height: *//p')
  local times=$((ww / 4 < wh / 3 ? ww / 4 : wh / 3))
  bw=$((4 * times)) bh=$((3 * times))
  bx=$((wx + (ww - bw) / 2)) by=$((wy + (wh - bh) / 2))
}

fail() {
  echo "FAIL: $*"
  stop_game
  [ -n "$wm" ] && kill "$wm" 2>/dev/null
  exit 1
}

# stop_game: ends a game that is still running and collects its exit, so that
# the X server (stopped by xvfb-run when the script ends) never goes away
# under a running game. SDL takes the terminate signal as a close.
stop_game() {
  [ -n "$pid" ] || return 0
  kill "$pid" 2>/dev/null
  for _ in $(seq 100); do
    game_running || break
    sleep 0.01
  done
  game_running && kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  pid=""
}

# launch_game STDOUT STDERR [ARGUMENTS...]: the game in the background, its
# output kept.
launch_game() {
  game_stdout=$1
  game_stderr=$2
  game_args=("${@:3}")
  # In a sanitizer build the window system's own libraries keep memory until
  # the end; their leaks are not the game's, so leak checking is left to the
  # unit tests.
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" "$ranvel" "${game_args[@]}" >"$1" 2>"$2" &
  pid=$!
}

# game_running: the game's process is there and has not ended (an ended
# child that the shell has not yet collected still answers kill -0).
game_running() {
  local state
  state=$(awk '{ print $3 }' "/proc/$pid/stat" 2>/dev/null)
  [ -n "$state" ] && [ "$state" != Z ] && [ "$state" != X ]
}

# game_said: what the game wrote on standard error, for a failure message.
game_said() {
  if [ -f "$game_stderr" ] && [ -s "$game_stderr" ]; then
    echo " (the game wrote: $(head -c 2000 "$game_stderr"))"
  fi
}

# find_window: waits up to 30 s for a window titled Ranvel. A game that
# could not reach the virtual X server at all (it says so and ends) is
# started once more: that is the test machine's display, not the game.
find_window() {
  local tries=0
  wid=""
  for _ in $(seq 300); do
    wid=$(xdotool search --name '^Ranvel$' 2>/dev/null | head -n 1)
    [ -n "$wid" ] && return 0
    if ! game_running; then
      if [ "$tries" -eq 0 ] && grep -q "^Ranvel: cannot open a window" "$game_stderr" 2>/dev/null; then
        tries=1
        echo "the game could not reach the X server$(game_said); starting it once more"
        sleep 1
        launch_game "$game_stdout" "$game_stderr" "${game_args[@]}"
        continue
      fi
      fail "the game ended before its window appeared$(game_said)"
    fi
    sleep 0.1
  done
  local server="the X server answers"
  xdpyinfo >/dev/null 2>&1 || server="the X server does not answer"
  fail "no window titled Ranvel within 30 s; $server$(game_said)"
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
    game_running || break
    sleep 0.01
  done
  c1=$(date +%s%N)
  if game_running; then fail "${what}still running 3 s after the close request"; fi
  wait "$pid"
  code=$?
  pid=""
  closed_ms=$(((c1 - c0) / 1000000))
  [ "$code" -eq 0 ] || fail "${what}exit code $code after closing the window, expected 0"
}
