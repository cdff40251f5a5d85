#!/usr/bin/env bash
# Makes docs/varno-plan.png, the README's picture of the plan on the map: the
# demo game's map window at natural size with the Arrivals, Orders and Releases
# overlays on and the clock on the second day at noon. Builds Varno and the
# demo pictures, copies the demo game into a home folder of its own (never the
# user's), starts Varno under Xvfb and openbox with the three overlays kept on
# in its VARNO.INI, presses Read, steps the clock with ] to the fourteenth event (1863-07-02 12:00), rests the pointer on
# an arrival marker and saves the map window with its frame (scrot).
# VARNO_BUILD names another build folder to take Varno from (default build-run).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/demo-varno.sh
start_demo_varno "${MAP_HEIGHT:-1000}" "${MAP_WIDTH:-1100}" '[Layout]' Arrivals=1 Orders=1 Releases=1
xdotool windowactivate --sync "$map"
for _ in $(seq "${EVENTS:-14}"); do
  xdotool key --window "$map" bracketright
  sleep 0.1
done
xdotool mousemove --window "$map" "${POINTER_X:-1043}" "${POINTER_Y:-475}"
sleep 1.5
rm -f "$root/docs/varno-plan.png"
scrot -u -b -o "$root/docs/varno-plan.png"
echo "Wrote docs/varno-plan.png"
