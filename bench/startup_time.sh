#!/usr/bin/env bash
# Start-up time of the game, headless: the wall time of ranvel-replay from
# process start to exit for two one-line scripts, the median of many runs.
#   "shot start"           the first look at the input, at the start of the
#                          options screen (the page is still blank), then exit
#   "wait 20" + "shot ..." the options screen drawn and shown, then exit
# Each run also writes its shot, as a player's replay would.
# Usage: bench/startup_time.sh RANVEL_REPLAY [RUNS]
set -eu
replay=$1
runs=${2:-21}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
printf 'shot start\n' >"$scratch/first-look"
printf 'wait 20\nshot options\n' >"$scratch/options-shown"

# median of the numbers on standard input
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

for script in first-look options-shown; do
  : >"$scratch/wall" && : >"$scratch/cpu"
  for _ in $(seq "$runs"); do
    t0=$(date +%s%N)
    if [ -x /usr/bin/time ]; then
      /usr/bin/time -f '%U %S' -o "$scratch/time" "$replay" "$scratch/$script" "$scratch/out" >/dev/null
      awk '{ printf "%.0f\n", 1000 * ($1 + $2) }' "$scratch/time" >>"$scratch/cpu"
    else
      "$replay" "$scratch/$script" "$scratch/out" >/dev/null
    fi
    t1=$(date +%s%N)
    echo $(((t1 - t0) / 1000)) >>"$scratch/wall"
  done
  wall=$(median <"$scratch/wall")
  low=$(sort -n "$scratch/wall" | head -n 1)
  high=$(sort -n "$scratch/wall" | tail -n 1)
  line=$(awk -v m="$wall" -v l="$low" -v h="$high" 'BEGIN { printf "wall median %.1f ms (fastest %.1f, slowest %.1f)", m / 1000, l / 1000, h / 1000 }')
  if [ -s "$scratch/cpu" ]; then line="$line, processor time median $(median <"$scratch/cpu") ms"; fi
  printf '%-14s %s, %d runs\n' "$script:" "$line" "$runs"
done
