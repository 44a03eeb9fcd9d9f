#!/usr/bin/env bash
# Plays one end-to-end script through ranvel-replay and compares every state
# snapshot it writes with the expected one committed beside the script.
#
# Usage: run_e2e.sh RANVEL_REPLAY SCRIPT EXPECTED_DIR OUT_DIR
#
# The test passes when the replay exits with code 0, prints exactly the three
# start-up lines on standard output, writes exactly the snapshots found in
# EXPECTED_DIR (no more, no fewer) and each one is identical to its expected
# file. Standard error must be empty, except that a script holding the line
#   # expect: the game ends by itself
# must see the game end before the script runs out (quitting from the
# options screen), which the runner reports on standard error.
#
# A script holding a line
#   # switches: --nivel facil --ayuda
# is played with those switches of ranvel-replay (a teacher's aids).
#
# With RANVEL_E2E_UPDATE=1 the snapshots written replace the expected ones
# (read every changed file before committing it).
set -u
replay=$1
script=$2
expected=$3
out=$4

rm -rf "$out"
mkdir -p "$out"
read -r -a switches <<<"$(sed -n 's/^# switches: //p' "$script" | head -n 1)"
"$replay" "${switches[@]}" "$script" "$out/shots" >"$out/stdout.txt" 2>"$out/stderr.txt"
code=$?

failed=0
fail() { echo "FAIL: $*"; failed=1; }

[ "$code" -eq 0 ] || fail "ranvel-replay ended with exit code $code, expected 0"

printf 'Hello from Pelmora\nHello after Endif\nInclude ended.\n' >"$out/stdout.expected"
cmp -s "$out/stdout.txt" "$out/stdout.expected" || {
  fail "standard output is not the three start-up lines:"
  cat "$out/stdout.txt"
}

if grep -qx '# expect: the game ends by itself' "$script"; then
  grep -q 'the game ended by itself' "$out/stderr.txt" || fail "the game did not end by itself before the script ran out"
  grep -v 'the game ended by itself' "$out/stderr.txt" >"$out/stderr.rest" || true
  [ -s "$out/stderr.rest" ] && fail "unexpected output on standard error:" && cat "$out/stderr.rest"
else
  [ -s "$out/stderr.txt" ] && fail "unexpected output on standard error:" && cat "$out/stderr.txt"
fi

if [ "${RANVEL_E2E_UPDATE:-0}" = 1 ]; then
  rm -rf "$expected"
  mkdir -p "$expected"
  cp "$out"/shots/*.json "$expected"/ 2>/dev/null
  echo "updated $(ls "$expected" | wc -l) snapshots in $expected"
  exit $failed
fi

[ -d "$expected" ] || fail "no expected snapshots in $expected"
written=$(cd "$out/shots" 2>/dev/null && ls -- *.json 2>/dev/null | sort)
wanted=$(cd "$expected" 2>/dev/null && ls -- *.json 2>/dev/null | sort)
if [ "$written" != "$wanted" ]; then
  fail "the snapshots written differ from the expected ones:"
  diff <(echo "$wanted") <(echo "$written") | sed -n 's/^</  missing: /p; s/^>/  not expected: /p'
fi
for f in $wanted; do
  [ -f "$out/shots/$f" ] || continue
  if ! cmp -s "$expected/$f" "$out/shots/$f"; then
    fail "snapshot $f differs"
    echo "  expected: $(cat "$expected/$f")"
    echo "  written:  $(cat "$out/shots/$f")"
  fi
done

[ "$failed" -eq 0 ] && echo "PASS: $(echo "$wanted" | wc -w) snapshots as expected"
exit $failed
