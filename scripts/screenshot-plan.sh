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
root=$(pwd)
build=${VARNO_BUILD:-build-run}

scripts/setup.sh
if [ "$build" = build-run ]; then
  cmake --preset release >/dev/null
fi
cmake --build "$build" --target varno demo_pictures -j"$(nproc)"

. scripts/xdisplay.sh
export HOME="$tmp/player"
unset XDG_CONFIG_HOME XDG_DATA_HOME
game="$HOME/.local/share/varno/demo"
mkdir -p "$game" "$HOME/.config/varno" docs
cp demo/MAIN.OOB demo/DEMO.SCN demo/MAIN.MAP "$build/demo/MAIN1.BMP" "$build/demo/ICONS2D.BMP" "$game/"
printf '[Paths]\r\nSCNfile=%s\r\n[Forms]\r\nEditTop=40\r\nEditLeft=700\r\nMapTop=0\r\nMapLeft=0\r\nMapHt=%s\r\nMapWid=%s\r\n[Layout]\r\nArrivals=1\r\nOrders=1\r\nReleases=1\r\n' \
  "$game/DEMO.SCN" "${MAP_HEIGHT:-1000}" "${MAP_WIDTH:-1100}" > "$HOME/.config/varno/VARNO.INI"

cd "$HOME"
QT_QPA_PLATFORM=xcb "$root/$build/editor/varno" &
pids+=($!)

main=$(xdotool search --sync --onlyvisible --name '^Varno$' | head -1)
xdotool windowactivate --sync "$main"
xdotool key --window "$main" alt+r
map=$(xdotool search --sync --onlyvisible --name '^Test$' | head -1)
sleep 1
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
