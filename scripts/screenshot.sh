#!/usr/bin/env bash
# Makes docs/varno-main.png, the README's picture of Varno's main window after
# reading the demo game. Builds, then runs varno_screenshot under Xvfb with
# settings of its own (never the user's) that name the demo scenario; it
# presses Read, types a dot name (argument 1, default 1.1.1) and saves the window.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/setup.sh
cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARNO_BENCH=OFF >/dev/null
cmake --build build-run --target varno_screenshot demo_pictures -j"$(nproc)"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/varno" "$tmp/game" docs
# Read also shows the map: the game needs the pictures the build draws.
cp demo/MAIN.OOB demo/DEMO.SCN demo/MAIN.MAP build-run/demo/MAIN1.BMP build-run/demo/ICONS2D.BMP "$tmp/game/"
printf '[Paths]\r\nSCNfile=%s\r\n' "$tmp/game/DEMO.SCN" > "$tmp/varno/VARNO.INI"
XDG_CONFIG_HOME="$tmp" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" \
  build-run/editor/varno_screenshot "$root/docs/varno-main.png" "${1:-1.1.1}"
echo "Wrote docs/varno-main.png"
