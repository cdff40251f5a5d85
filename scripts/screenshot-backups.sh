#!/usr/bin/env bash
# Makes docs/varno-backups.png, the README's picture of File > Backups... on
# the demo game: builds Varno and the demo pictures, copies the demo game to a
# temporary folder with three backups (two earlier saves, one file that is no
# scenario), starts Varno under Xvfb and openbox with settings of its own,
# presses Read, opens the Backups window with the keyboard, selects the first
# backup and saves the window with its frame. BUILD names the build folder
# (build-run by default).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${BUILD:-build-run}

if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARNO_BENCH=OFF >/dev/null
fi
cmake --build "$build" --target varno demo_pictures -j2

. scripts/xdisplay.sh
mkdir -p "$tmp/varno" "$tmp/game" docs
g="$tmp/game"
cp demo/MAIN.OOB demo/DEMO.SCN demo/MAIN.MAP "$build/demo/MAIN1.BMP" "$build/demo/ICONS2D.BMP" "$g/"
# This morning's save: two placements stood elsewhere, a release had its
# chance lowered, and a command was not yet given. Yesterday's: a
# reinforcement group came later. And a stray file of another game.
sed -e 's/^1 1.3.3.2.3 8 4 183 10 0 512 25 11/1 1.3.3.2.3 8 4 183 10 0 512 22 11/' \
    -e 's/^1 2.3.3.2.4 2 4 18 50 0 5 3 14/1 2.3.3.2.4 2 4 18 50 0 5 4 14/' \
    -e 's/^4 1863 7 2 8 0 100 2.1/4 1863 7 2 8 0 60 2.1/' \
    -e '/^2.1 1863 7 1 10 20 13 15 1/d' -e 's/^3\r$/2\r/' demo/DEMO.SCN > "$g/OLDSCN2.TXT"
sed -e 's/^2 1863 7 2 6 20 75 3 0 20 4 1/2 1863 7 2 9 0 75 3 0 20 4 1/' demo/DEMO.SCN > "$g/OLDSCN1.TXT"
printf 'Not a scenario\r\n' > "$g/oldscn3.txt"
touch -d '-1 day' "$g/OLDSCN1.TXT"
touch -d '-3 hours' "$g/OLDSCN2.TXT"
touch -d '-2 days' "$g/oldscn3.txt"
printf '[Paths]\r\nSCNfile=%s\r\n[Forms]\r\nEditTop=40\r\nEditLeft=700\r\nMapTop=0\r\nMapLeft=0\r\nMapHt=620\r\nMapWid=900\r\n' \
  "$g/DEMO.SCN" > "$tmp/varno/VARNO.INI"

XDG_CONFIG_HOME="$tmp" QT_QPA_PLATFORM=xcb "$build/editor/varno" &
pids+=($!)

main=$(xdotool search --sync --onlyvisible --name '^Varno$' | head -1)
xdotool windowactivate --sync "$main"
xdotool key --window "$main" alt+r
xdotool search --sync --onlyvisible --name '^Test$' >/dev/null
sleep 1
xdotool windowactivate --sync "$main"
xdotool key --window "$main" alt+f
sleep 0.3
xdotool key k
backups=$(xdotool search --sync --onlyvisible --name '^Backups$' | head -1)
xdotool windowactivate --sync "$backups"
xdotool windowmove "$backups" 60 60
sleep 0.5
# The scenario file is selected first; Down selects the newest backup.
xdotool key --window "$backups" Down
sleep 1
rm -f "$root/docs/varno-backups.png"
if command -v import >/dev/null; then
  import -window "$backups" -frame "$root/docs/varno-backups.png"
else
  # scrot takes the focused window, with its frame.
  scrot --focused --border "$root/docs/varno-backups.png"
fi
echo "Wrote docs/varno-backups.png"
