#!/usr/bin/env bash
# Start-up time of the game, headless: the wall time of ranvel-replay from
# process start to exit for two short scripts, the median of many runs.
#   first-look     "shot start": the first look at the input, at the start of
#                  the options screen (the page is still blank), then exit
#   options-shown  "wait 20", "shot options": the options screen drawn and
#                  shown, then exit
# Each run also writes its shot, as a player's replay would. Times come from
# the shell's own clock (no extra process per run); an empty program
# (/bin/true) is timed the same way, for what starting any process costs here.
# Usage: bench/startup_time.sh RANVEL_REPLAY [RUNS]
set -eu
replay=$1
runs=${2:-21}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
printf 'shot start\n' >"$scratch/first-look"
printf 'wait 20\nshot options\n' >"$scratch/options-shown"

# The median of the numbers on standard input.
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

TIMEFORMAT='%3R %3U %3S'
for what in empty-program first-look options-shown; do
  : >"$scratch/times"
  for _ in $(seq "$runs"); do
    if [ "$what" = empty-program ]; then
      { time /bin/true; } 2>>"$scratch/times"
    else
      { time "$replay" "$scratch/$what" "$scratch/out" >/dev/null 2>&1; } 2>>"$scratch/times"
    fi
  done
  wall=$(awk '{ print 1000 * $1 }' "$scratch/times" | median)
  fastest=$(awk '{ print 1000 * $1 }' "$scratch/times" | sort -n | head -n 1)
  slowest=$(awk '{ print 1000 * $1 }' "$scratch/times" | sort -n | tail -n 1)
  cpu=$(awk '{ print 1000 * ($2 + $3) }' "$scratch/times" | median)
  printf '%-14s wall median %6.1f ms (fastest %.1f, slowest %.1f), processor time median %5.1f ms, %d runs\n' \
    "$what:" "$wall" "$fastest" "$slowest" "$cpu" "$runs"
done
