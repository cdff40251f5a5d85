#!/usr/bin/env bash
# Makes docs/varno-formation.png, the README's picture of a formation selected
# on the map: starts Varno on the demo game under Xvfb and openbox (as
# scripts/screenshot-map.sh does), draws a band with Shift and the left button
# over a corps's stacks, and saves the map window with its frame (scrot).
# VARNO_BUILD names another build folder to take Varno from (default build-run);
# BAND="x1 y1 x2 y2" the band's corners in the map window.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/demo-varno.sh
start_demo_varno "${MAP_HEIGHT:-517}" "${MAP_WIDTH:-547}"
read -r x1 y1 x2 y2 <<< "${BAND:-312 205 378 280}"
xdotool windowactivate --sync "$map"
# Ctrl+minus with the pointer in the middle of the map: 50 %, the whole demo map.
xdotool mousemove --window "$map" 280 260
sleep 0.3
xdotool key --window "$map" ctrl+minus
sleep 0.5
xdotool mousemove --window "$map" "$x1" "$y1"
xdotool keydown shift mousedown 1
for step in 1 2 3 4 5; do
  xdotool mousemove --window "$map" $((x1 + (x2 - x1) * step / 5)) $((y1 + (y2 - y1) * step / 5))
  sleep 0.1
done
xdotool mouseup 1 keyup shift
sleep 1
out=${SHOT:-$root/docs/varno-formation.png}
rm -f "$out"
scrot -u -b -o "$out"
echo "Wrote $out"
