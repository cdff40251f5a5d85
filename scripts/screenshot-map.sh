#!/usr/bin/env bash
# Makes docs/varno-map.png, the README's picture of the map window on the demo
# game: builds Varno and the demo pictures, copies the demo game to a temporary
# folder, starts Varno under Xvfb and openbox with settings of its own (never
# the user's), presses Read with xdotool, rests the pointer on a stack, and
# saves the map window with its frame.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/setup.sh
cmake --preset release >/dev/null
cmake --build build-run --target varno demo_pictures -j"$(nproc)"

. scripts/xdisplay.sh
mkdir -p "$tmp/varno" "$tmp/game" docs
cp demo/MAIN.OOB demo/DEMO.SCN demo/MAIN.MAP build-run/demo/MAIN1.BMP build-run/demo/ICONS2D.BMP "$tmp/game/"
printf '[Paths]\r\nSCNfile=%s\r\n[Forms]\r\nEditTop=40\r\nEditLeft=700\r\nMapTop=0\r\nMapLeft=0\r\nMapHt=620\r\nMapWid=900\r\n' \
  "$tmp/game/DEMO.SCN" > "$tmp/varno/VARNO.INI"

XDG_CONFIG_HOME="$tmp" QT_QPA_PLATFORM=xcb build-run/editor/varno &
pids+=($!)

main=$(xdotool search --sync --onlyvisible --name '^Varno$' | head -1)
xdotool windowactivate --sync "$main"
xdotool key --window "$main" alt+r
map=$(xdotool search --sync --onlyvisible --name '^Test$' | head -1)
sleep 1
# Rest the pointer on the stack at hex 24,10 (a leader and a unit), whose
# centre is picture pixel (650, 345), after dragging the map 150 pixels left.
xdotool windowactivate --sync "$map"
xdotool mousemove --window "$map" 450 300 mousedown 1 mousemove --window "$map" 300 300 mouseup 1
sleep 0.5
xdotool mousemove --window "$map" 500 345
sleep 1
import -window "$map" -frame "$root/docs/varno-map.png"
echo "Wrote docs/varno-map.png"
