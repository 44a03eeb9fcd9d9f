#!/usr/bin/env bash
# Sound in a real window under a virtual X server, once on this machine as it
# is (no SDL_AUDIODRIVER: no sound card) and once with SDL's silent "dummy"
# driver: the sound device opens at the first sound and not before (with no
# card it is not kept at all); keys that click, M and more keys leave the
# options screen as the replay runner draws it (M is taken before the key
# queue and changes nothing on the screen); the game writes nothing on
# standard error, waits without using the processor once its sound has
# stopped, and a close ends it at once with exit code 0.
# Usage: window_sound.sh RANVEL CLOSE_WINDOW_TOOL WINDOW_SHOWS_PAGE_TOOL RANVEL_REPLAY
set -u
. "$(dirname "$0")/window/common.sh"

rerun_under_xvfb 1600x1200 "xvfb and xdotool" xvfb-run xdotool -- "$@"
shift
ranvel=$1
close_window=$2
shows_page=$3
replay=$4
make_scratch

printf 'wait 300\nkey left\nkey left\nkey m\nkey left\nkey 1\nkey M\nkey 3\nwait 300\nshot page\n' >"$scratch/script"
"$replay" "$scratch/script" "$scratch" >/dev/null 2>&1 || fail "the replay runner could not draw the options screen"

# The game's threads that SDL's sound started.
sound_threads() { cat /proc/"$pid"/task/*/comm 2>/dev/null | grep -c -E 'Audio|Hotplug'; }
cpu_ns() { cat /proc/"$pid"/task/*/schedstat 2>/dev/null | awk '{ t += $1 } END { printf "%d", t }'; }

with_driver() {  # DRIVER, or '' for none
  local what=${1:-"no SDL_AUDIODRIVER"} threads
  if [ -n "$1" ]; then export SDL_AUDIODRIVER=$1; else unset SDL_AUDIODRIVER; fi
  launch_game /dev/null "$scratch/stderr.txt" --scale 1
  find_window
  settle_window
  xdotool mousemove 0 0
  [ "$(sound_threads)" -eq 0 ] || fail "$what: the sound was opened before the first sound"
  xdotool key --window "$wid" Left Left m Left 1 M 3
  sleep 1
  for look in 1 2 3 4; do
    "$shows_page" "$wid" "$scratch/page.png" >/dev/null && break
    [ "$look" = 4 ] && fail "$what: the window does not show the options as the replay runner draws them"
    sleep 1
  done
  threads=$(sound_threads)
  echo "$what: $threads thread(s) of SDL's sound after the first sounds"
  if [ -n "$1" ]; then
    [ "$threads" -eq 1 ] || fail "$what: expected the one audio thread of an open device"
  else
    [ "$threads" -eq 0 ] || fail "$what: SDL's sound is still running with no card to play on"
  fi
  local t0 s0 t1 s1 percent
  t0=$(cpu_ns); s0=$(date +%s%N)
  sleep 4
  t1=$(cpu_ns); s1=$(date +%s%N)
  percent=$(awk -v t=$((t1 - t0)) -v ns=$((s1 - s0)) 'BEGIN { printf "%.2f", 100 * t / ns }')
  echo "$what: idle processor use after the sounds: $percent % of a core"
  awk -v p="$percent" 'BEGIN { exit !(p < 2.0) }' || fail "$what: idle processor use $percent % is not under 2 %"
  close_game "$what"
  [ "$closed_ms" -lt 1000 ] || fail "$what: took $closed_ms ms to end, expected under 1 s"
  [ -s "$scratch/stderr.txt" ] && fail "$what: the game wrote on standard error: $(head -c 2000 "$scratch/stderr.txt")"
  echo "$what: nothing on standard error, ended $closed_ms ms after the close request"
}

with_driver ""
with_driver dummy
echo "PASS"
