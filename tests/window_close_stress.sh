#!/usr/bin/env bash
# Closing the window at random moments: the game is started COUNT times in a
# real window under a virtual X server, driven with xdotool to one of its
# screens and closed there at a random moment (start-up, the options screen,
# the information pages, a camera move, the computer's move, a message, the
# closing page). The close is a window manager's close request or, every
# other round of the screens, the window destroyed outright (as `xdotool
# windowclose` does, with no window manager to ask the game first). Every
# start must end with exit code 0 within 1 s of the close and write nothing
# on standard error. Each game's exit is collected before anything else is
# stopped, so no game ever sees its X server go away. Ends with the closes by
# screen and by way, the exit codes, the slowest close and the time taken.
#
# Usage: window_close_stress.sh RANVEL CLOSE_WINDOW COUNT [SEED]
set -u
. "$(dirname "$0")/window/common.sh"

rerun_under_xvfb 1024x768 "xvfb and xdotool" xvfb-run xdotool -- "$@"
shift
ranvel=$1
close_window=$2
count=$3
seed=${4:-$(date +%s)}
RANDOM=$seed
scratch=$(mktemp -d)
trap 'stop_game; rm -rf "$scratch"' EXIT
SLOWEST_ALLOWED_MS=1000
# A game that has not ended this long after the close is stopped.
GIVE_UP_MS=5000

# Every random choice is drawn in this shell, never in a $(...) subshell
# (which bash seeds afresh), so that a seed repeats a run's choices.
# pause MIN MAX: sleeps a random time between MIN and MAX milliseconds.
pause() {
  local ms=$(($1 + RANDOM % ($2 - $1 + 1))) seconds
  printf -v seconds '%d.%03d' $((ms / 1000)) $((ms % 1000))
  sleep "$seconds"
}
key() { xdotool key --clearmodifiers "$@"; }
# roll N: sets $rolled to a random whole number 0..N-1.
roll() { rolled=$((RANDOM % $1)); }

# The screens, and how a player gets there; each ends at a random moment
# within the screen's time.
screens=("start-up" "options" "information pages" "camera move" "computer's move" "message" "closing page")
go_to() {
  case $1 in
    "start-up") pause 0 300 ;;
    options)
      settle_window
      # The target arrows redraw the screen.
      roll 2
      [ "$rolled" = 0 ] && key Right Up
      pause 0 800
      ;;
    "information pages")
      settle_window
      key i
      pause 0 1500
      # Sometimes on to the next page.
      roll 2
      [ "$rolled" = 0 ] && key space && pause 0 1000
      ;;
    "camera move")
      # A 5 moves the camera from 0 to 5 in a second and a quarter.
      settle_window
      key Return
      sleep 0.8
      key 5
      pause 0 1200
      ;;
    "computer's move")
      # After a 1 the computer's rod slides in for 0.2 to 2.7 s, then the
      # camera follows it.
      settle_window
      key Return
      sleep 0.8
      key 1
      pause 300 2500
      ;;
    message)
      settle_window
      roll 3
      case $rolled in
        0) key Escape ;;                            # the quit question
        1) key Return && sleep 0.8 && key x ;;      # a tie claimed too early
        2) key Return && sleep 0.8 && key Escape ;; # the give-up question
      esac
      pause 0 1200
      ;;
    "closing page")
      settle_window
      key Escape
      sleep 0.5
      key s
      pause 0 4000
      ;;
  esac
}

# How the window is closed: the tool's close request, or the window destroyed.
ways=("close request" "destroyed")
close_by() { if [ "$1" = 0 ]; then "$close_window" "$2"; else xdotool windowclose "$2"; fi; }

declare -A by_screen=() by_way=() by_code=()
failures=()
slowest_ms=-1
slowest_at=""
started=$(date +%s%N)
# The screens take turns, from a random one on.
roll ${#screens[@]}
first=$rolled
for i in $(seq "$count"); do
  screen=${screens[$(((first + i) % ${#screens[@]}))]}
  way=$(((first + i) / ${#screens[@]} % 2))
  launch_game /dev/null "$scratch/stderr.txt"
  find_window
  xdotool windowfocus "$wid" 2>/dev/null
  go_to "$screen"
  by_screen[$screen]=$((${by_screen[$screen]:-0} + 1))
  by_way[${ways[$way]}]=$((${by_way[${ways[$way]}]:-0} + 1))
  screen="$screen (${ways[$way]})"
  if ! game_running; then
    wait "$pid"
    code=$?
    pid=""
    failures+=("#$i $screen: ended with exit code $code before the close request$(game_said)")
    by_code[$code]=$((${by_code[$code]:-0} + 1))
    continue
  fi

  c0=$(date +%s%N)
  close_by "$way" "$wid" || failures+=("#$i $screen: the close could not be sent")
  while game_running && [ $((($(date +%s%N) - c0) / 1000000)) -lt "$GIVE_UP_MS" ]; do sleep 0.005; done
  ms=$((($(date +%s%N) - c0) / 1000000))
  if game_running; then
    failures+=("#$i $screen: still running $GIVE_UP_MS ms after the close; stopped")
    kill -KILL "$pid" 2>/dev/null
  fi
  wait "$pid"
  code=$?
  pid=""
  by_code[$code]=$((${by_code[$code]:-0} + 1))
  [ "$code" -eq 0 ] || failures+=("#$i $screen: exit code $code$(game_said)")
  [ "$ms" -le "$SLOWEST_ALLOWED_MS" ] || failures+=("#$i $screen: ended $ms ms after the close")
  [ -s "$scratch/stderr.txt" ] && [ "$code" -eq 0 ] && failures+=("#$i $screen: wrote on standard error$(game_said)")
  if [ "$ms" -gt "$slowest_ms" ]; then
    slowest_ms=$ms
    slowest_at=$screen
  fi
  printf '%4d %-36s exit code %d, %4d ms after the close\n' "$i" "$screen" "$code" "$ms"
done

echo "seed $seed: $count closes in $((($(date +%s%N) - started) / 1000000000)) s"
for s in "${screens[@]}"; do printf '  %-18s %d\n' "$s:" "${by_screen[$s]:-0}"; done
for w in "${ways[@]}"; do printf '  %-18s %d\n' "$w:" "${by_way[$w]:-0}"; done
echo -n "exit codes:"
for c in "${!by_code[@]}"; do echo -n " $c (${by_code[$c]}x)"; done
echo
echo "slowest close: $slowest_ms ms ($slowest_at)"
if [ ${#failures[@]} -gt 0 ]; then
  printf '%s\n' "${failures[@]}"
  echo "FAIL: ${#failures[@]} of $count closes went wrong (seed $seed)"
  exit 1
fi
echo "PASS"
