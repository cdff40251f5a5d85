#!/usr/bin/env bash
# Checks under a real window manager (Xvfb + openbox) that Varno's main window
# comes back where it was closed: start, move, close, then start and close
# three more times; the place stored in VARNO.INI must not change. The
# offscreen platform of the tests has no window frames, so this runs apart
# from them.
#
#   scripts/check_window_place.sh [path/to/varno]     (default build/editor/varno)
set -euo pipefail
cd "$(dirname "$0")/.."
varno=$(realpath "${1:-build/editor/varno}")
for tool in Xvfb openbox xdotool; do
  command -v "$tool" >/dev/null || { echo "check_window_place.sh: needs $tool" >&2; exit 2; }
done

. scripts/xdisplay.sh

export XDG_CONFIG_HOME="$tmp/config" HOME="$tmp/home" QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_CONFIG_HOME/varno" "$HOME"
ini="$XDG_CONFIG_HOME/varno/VARNO.INI"
printf '[Forms]\r\nEditTop=150\r\nEditLeft=200\r\n' > "$ini"

place() { tr -d '\r' < "$ini" | grep -E '^Edit(Top|Left)=' | tr '\n' ' '; }

# Starts Varno, optionally moves its window to $1,$2, and closes it as the
# user does with the window manager's close (Alt+F4 in openbox).
run_once() {
  "$varno" >/dev/null 2>&1 & local pid=$!
  local win
  win=$(xdotool search --sync --onlyvisible --name '^Varno$' | head -1)
  sleep 0.5
  if [ $# -eq 2 ]; then
    xdotool windowmove --sync "$win" "$1" "$2" || true
    sleep 0.5
  fi
  xdotool windowactivate --sync "$win" >/dev/null 2>&1 || true
  xdotool key --clearmodifiers alt+F4
  wait "$pid"
}

run_once
first=$(place)
echo "after the first start: $first"
run_once 300 250
moved=$(place)
echo "after moving:          $moved"
status=0
for i in 1 2 3; do
  run_once
  now=$(place)
  echo "after start $i:         $now"
  [ "$now" = "$moved" ] || status=1
done
[ "$first" = "EditTop=150 EditLeft=200 " ] || status=1
if [ $status -eq 0 ]; then echo "The window keeps its place."; else echo "The window moved between starts." >&2; fi
exit $status
