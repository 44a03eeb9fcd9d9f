#!/usr/bin/env bash
# Sound in a real window under a virtual X server, with no SDL_AUDIODRIVER (no
# sound card here) and with SDL's silent "dummy" driver: opened at the first
# sound and not before (with no card nothing of it stays), keys that click and
# M act as in the replay runner, nothing on standard error, an idle processor
# once the sounds are over, and a close ends the game at once with exit code 0.
# Usage: window_sound.sh RANVEL CLOSE_WINDOW_TOOL WINDOW_SHOWS_PAGE_TOOL RANVEL_REPLAY
set -u
. "$(dirname "$0")/window/common.sh"
rerun_under_xvfb 1600x1200 "xvfb and xdotool" xvfb-run xdotool -- "$@"
shift
ranvel=$1 close_window=$2 shows_page=$3 replay=$4
make_scratch
printf 'wait 300\nkey left\nkey left\nkey m\nkey left\nkey 1\nkey M\nkey 3\nwait 300\nshot page\n' >"$scratch/script"
"$replay" "$scratch/script" "$scratch" >/dev/null 2>&1 || fail "the replay runner could not draw the options screen"
sound_threads() { cat /proc/"$pid"/task/*/comm 2>/dev/null | grep -c -E 'Audio|Hotplug'; }
cpu_ns() { cat /proc/"$pid"/task/*/schedstat 2>/dev/null | awk '{ t += $1 } END { printf "%d", t }'; }

for driver in "" dummy; do
  what=${driver:-"no SDL_AUDIODRIVER"} threads=0
  if [ -n "$driver" ]; then export SDL_AUDIODRIVER=$driver threads=1; else unset SDL_AUDIODRIVER; fi
  launch_game /dev/null "$scratch/stderr.txt" --scale 1
  find_window
  settle_window
  xdotool mousemove 0 0
  [ "$(sound_threads)" -eq 0 ] || fail "$what: the sound was opened before the first sound"
  xdotool key --window "$wid" Left Left m Left 1 M 3
  for look in 1 2 3 4 5; do
    sleep 1
    "$shows_page" "$wid" "$scratch/page.png" >/dev/null && break
    [ "$look" = 5 ] && fail "$what: the window does not show the options as the replay runner draws them"
  done
  [ "$(sound_threads)" -eq "$threads" ] || fail "$what: $(sound_threads) threads of SDL's sound, expected $threads"
  t0=$(cpu_ns) s0=$(date +%s%N)
  sleep 4
  percent=$(awk -v t=$(($(cpu_ns) - t0)) -v ns=$(($(date +%s%N) - s0)) 'BEGIN { printf "%.2f", 100 * t / ns }')
  echo "$what: idle processor use after the sounds: $percent % of a core"
  awk -v p="$percent" 'BEGIN { exit !(p < 2.0) }' || fail "$what: idle processor use $percent % is not under 2 %"
  close_game "$what"
  [ "$closed_ms" -lt 1000 ] || fail "$what: took $closed_ms ms to end, expected under 1 s"
  [ -s "$scratch/stderr.txt" ] && fail "$what: the game wrote on standard error: $(head -c 2000 "$scratch/stderr.txt")"
done
echo "PASS"
