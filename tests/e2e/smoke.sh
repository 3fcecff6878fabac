#!/usr/bin/env bash
# Starts the real program under Xvfb in a fresh folder, waits for its window,
# takes a screenshot and closes it from the File menu as a player would.
# Usage: smoke.sh PROGRAM SCREENSHOT
set -euo pipefail
if [ -z "${VELNOR_XVFB:-}" ]; then
  export VELNOR_XVFB=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
program=$1
shot=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$program" "$work/velnorsolo"
cp "$(dirname "$program")/velnorsolo-sound.so" "$work/"  # opened from beside the program
cd "$work"

./velnorsolo 2>"$work/stderr" &
pid=$!
# Wait for the window, but not for a program that has already ended.
wid=""
for _ in $(seq 300); do
  kill -0 $pid 2>/dev/null || { echo "the program ended before showing its window"; cat "$work/stderr"; exit 1; }
  wid=$(xdotool search --onlyvisible --name '^Velnor Solo$' 2>/dev/null | head -n 1) || true
  [ -n "$wid" ] && break
  sleep 0.1
done
if [ -z "$wid" ]; then
  echo "no window titled Velnor Solo"; cat "$work/stderr"; kill $pid; exit 1
fi
sleep 1  # let the first paint settle before the screenshot
import -window root "$shot"
eval "$(xdotool getwindowgeometry --shell "$wid")"
# File is the first menu: open it, step up to its last item (Exit) and choose it.
xdotool mousemove $((X + 14)) $((Y + 10)) click 1
sleep 0.5
xdotool key Up Return
if ! timeout 20 tail --pid=$pid -f /dev/null; then
  echo "the program did not end after File, Exit"; kill $pid; exit 1
fi
status=0
wait $pid || status=$?
[ $status -eq 0 ] || { echo "exit status $status"; cat "$work/stderr"; exit 1; }
grep -q $'^Name=Guest\r$' velnorsolo.ini || { echo "settings not saved at exit"; exit 1; }
echo "started, showed its window, saved its settings and ended cleanly"
