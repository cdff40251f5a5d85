#!/usr/bin/env bash
# Makes docs/varno-schedule.png, the README's picture of the Schedule window on
# the demo game: builds Varno, copies the demo game to a temporary folder,
# starts Varno under Xvfb and openbox with settings of its own (never the
# user's), presses Read, opens View > Schedule with xdotool, rests the pointer
# on an event, and saves the window with its frame (scrot).
# VARNO_BUILD names another build folder to take Varno from (default build-run).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${VARNO_BUILD:-build-run}

scripts/setup.sh
if [ "$build" = build-run ]; then
  cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARNO_BENCH=OFF >/dev/null
fi
cmake --build "$build" --target varno demo_pictures -j"$(nproc)"

. scripts/xdisplay.sh
mkdir -p "$tmp/varno" "$tmp/game" docs
cp demo/MAIN.OOB demo/DEMO.SCN demo/MAIN.MAP "$build"/demo/MAIN1.BMP "$build"/demo/ICONS2D.BMP "$tmp/game/"
printf '[Paths]\r\nSCNfile=%s\r\n[Forms]\r\nEditTop=40\r\nEditLeft=700\r\nMapTop=0\r\nMapLeft=0\r\nMapHt=620\r\nMapWid=900\r\n' \
  "$tmp/game/DEMO.SCN" > "$tmp/varno/VARNO.INI"

XDG_CONFIG_HOME="$tmp" QT_QPA_PLATFORM=xcb "$build"/editor/varno &
pids+=($!)

main=$(xdotool search --sync --onlyvisible --name '^Varno$' | head -1)
xdotool windowactivate --sync "$main"
xdotool key --window "$main" alt+r
xdotool search --sync --onlyvisible --name '^Test$' >/dev/null
sleep 1
xdotool windowactivate --sync "$main"
xdotool key --window "$main" alt+v
sleep 0.5
xdotool key c
schedule=$(xdotool search --sync --onlyvisible --name '^Schedule$' | head -1)
xdotool windowmove --sync "$schedule" 20 20
xdotool windowactivate --sync "$schedule"
sleep 0.5
# Rest the pointer on the Union's panel, inside the second day.
xdotool mousemove --window "$schedule" "${SCHEDULE_POINTER_X:-560}" "${SCHEDULE_POINTER_Y:-120}"
sleep 1
scrot -u -b -o "$root/docs/varno-schedule.png"
echo "Wrote docs/varno-schedule.png"
