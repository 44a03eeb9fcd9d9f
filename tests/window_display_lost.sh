#!/usr/bin/env bash
# The X server goes away under the running game (stopped, or the connection
# broken): the game ends at once with exit code 0, as after a close, and says
# so in one line on standard error. Tried on the options screen and on an
# information page, each with an X server of its own.
# Usage: window_display_lost.sh RANVEL
set -u
. "$(dirname "$0")/window/common.sh"
ranvel=$1
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null 2>&1 || { echo "SKIPPED: $tool is not installed (Debian packages xvfb, xdotool)"; exit 77; }
done
scratch=$(mktemp -d)
server=""
trap 'stop_game; [ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$scratch"' EXIT

# lose_display_on NAME KEYS...: the game on a server of its own, brought to
# the screen by KEYS, then the server stopped.
lose_display_on() {
  local name=$1 n=987 t0 code ms
  shift
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  server=$!
  for _ in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.05
  done
  export DISPLAY=":$n"
  launch_game /dev/null "$scratch/stderr.txt"
  find_window
  settle_window
  xdotool windowfocus "$wid" 2>/dev/null
  [ $# -gt 0 ] && xdotool key --clearmodifiers "$@" && sleep 1
  game_running || fail "$name: the game ended before the server was stopped$(game_said)"

  t0=$(date +%s%N)
  kill "$server"
  for _ in $(seq 300); do
    game_running || break
    sleep 0.01
  done
  ms=$((($(date +%s%N) - t0) / 1000000))
  game_running && fail "$name: still running 3 s after its X server was stopped"
  wait "$pid"
  code=$?
  pid=""
  wait "$server" 2>/dev/null
  server=""
  echo "$name: ended $ms ms after its X server was stopped, exit code $code; said: $(cat "$scratch/stderr.txt")"
  [ "$code" -eq 0 ] || fail "$name: exit code $code, expected 0"
  [ "$ms" -lt 1000 ] || fail "$name: took $ms ms to end, expected under 1 s"
  grep -q "^Ranvel: the connection to the display was lost" "$scratch/stderr.txt" ||
    fail "$name: no word on standard error that the display was lost"
}

lose_display_on "options screen"
lose_display_on "information page" i
echo "PASS"
