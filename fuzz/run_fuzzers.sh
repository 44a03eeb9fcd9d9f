#!/usr/bin/env bash
# Runs every fuzz target for SECONDS seconds, starting from its committed
# seeds. New corpus entries go to SCRATCH/<target>/ (the committed seeds are
# only read); a failing input is kept in SCRATCH/artifacts/<target>/ and ends
# the run with a non-zero status after all targets had their turn.
#
#   fuzz/run_fuzzers.sh BUILDDIR SECONDS SCRATCH
set -uo pipefail
cd "$(dirname "$0")/.."
build=$1
seconds=$2
scratch=$3
failed=0
for target in bmptodb domove replay_script; do
  mkdir -p "$scratch/$target" "$scratch/artifacts/$target"
  log="$scratch/$target.log"
  # A single allocation above 256 MB is a fault of its own: no input of a few
  # kilobytes needs one.
  if "$build/fuzz-$target" "$scratch/$target" "fuzz/corpus/$target" \
      -max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=256 -timeout=10 \
      -print_final_stats=1 -artifact_prefix="$scratch/artifacts/$target/" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    cov=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | sed -E 's/.*(cov: [0-9]+ ft: [0-9]+ corp: [^ ]+).*/\1/')
    echo "fuzz-$target: $runs runs in ${seconds}s, $cov"
  else
    failed=1
    echo "fuzz-$target: FAILED, see $log and $scratch/artifacts/$target/"
    grep -E 'ERROR|SUMMARY' "$log" | head -5
  fi
done
exit $failed
