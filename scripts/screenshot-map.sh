#!/usr/bin/env bash
# Makes docs/varno-map.png, the README's picture of the map window on the demo
# game, zoomed out to half size with the over-full hexes outlined: builds Varno
# and the demo pictures, copies the demo game into a home folder of its own
# (never the user's) as scripts/run.sh does for a newcomer, starts Varno under
# Xvfb and openbox, presses Read, runs Search > for Overloaded Hexes, zooms the
# map out with Ctrl+minus, rests the pointer on a marked stack and saves the map
# window with its frame (scrot).
# VARNO_BUILD names another build folder to take Varno from (default build-run).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/demo-varno.sh
# The map window sized for the whole demo map at half size.
start_demo_varno "${MAP_HEIGHT:-517}" "${MAP_WIDTH:-547}"
# Search > for Overloaded Hexes, from the main window's menu.
xdotool windowactivate --sync "$main"
xdotool key --window "$main" alt+s
sleep 0.5
xdotool key o
xdotool search --sync --onlyvisible --name '^Overfilled hexes$' >/dev/null
sleep 0.5
# Ctrl+minus with the pointer in the middle of the map: 50 %.
xdotool windowactivate --sync "$map"
xdotool mousemove --window "$map" 280 260
sleep 0.3
xdotool key --window "$map" ctrl+minus
sleep 0.5
# Rest the pointer on the over-full stack at hex 24,10 (picture pixel 650, 345;
# 325, 172 at half size, below the window's menu bar).
xdotool mousemove --window "$map" "${POINTER_X:-325}" "${POINTER_Y:-195}"
sleep 1
rm -f "$root/docs/varno-map.png"
scrot -u -b -o "$root/docs/varno-map.png"
echo "Wrote docs/varno-map.png"
