#!/usr/bin/env bash
# The frame rate of the real game in a real window under a virtual X server,
# played with xdotool: Enter starts a game from the options screen, the
# digit key 0 lays a 10 (the camera stays: both ends clamp to 12), the
# computer answers (its rod slides in, the camera follows), and a second 10
# moves the camera ten units: 2.5 s of whole frames. RANVEL must be built with
# -DRANVEL_PRESENT_LOG=ON, so that it tells its frames and presents once a
# second on standard error. Usage: bench/window_game_fps.sh RANVEL [WxH [fill]]
# With "fill" the window is made as large as the screen (what full screen
# shows: the page at 1440 x 1080 on 1920 x 1080, 1920 x 1440 on 2560 x 1440).
set -u
if [ "${1:-}" != "--inside" ]; then
  screen=${2:-2560x1600}
  exec xvfb-run -a -s "-screen 0 ${screen}x24 -nolisten tcp" bash "$0" --inside "$1" "$screen" "${3:-}"
fi
ranvel=$2
screen=$3
fill=${4:-}
log=$(mktemp)
start=$(date +%s%N)
"$ranvel" >/dev/null 2>"$log" &
pid=$!
at() { awk -v n="$(date +%s%N)" -v s="$start" 'BEGIN { printf "%7.2f s:", (n - s) / 1e9 }'; }
wid=""
for _ in $(seq 100); do
  wid=$(xdotool search --name '^Ranvel$' 2>/dev/null | head -n 1)
  [ -n "$wid" ] && break
  sleep 0.1
done
[ -n "$wid" ] || { echo "no window"; kill "$pid"; exit 1; }
if [ "$fill" = fill ]; then
  sleep 0.5
  xdotool windowsize --sync "$wid" "${screen%x*}" "${screen#*x}"
fi
echo "window $(xdotool getwindowgeometry "$wid" | sed -n 's/.*Geometry: *//p')"
xdotool mousemove 0 0
sleep 1.5
echo "$(at) Enter: a new game"
xdotool key --window "$wid" Return
sleep 1.5
echo "$(at) 0: a 10 laid"
xdotool key --window "$wid" 0
sleep 8
echo "$(at) 0: a 10 laid, the camera moves ten units"
xdotool key --window "$wid" 0
sleep 4
kill "$pid"
wait "$pid" 2>/dev/null
cat "$log"
rm -f "$log"
