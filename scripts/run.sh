#!/usr/bin/env bash
# Builds Varno and starts it on the demo game. When the user has no settings
# of their own yet, it first copies the demo game to the user's data folder and
# writes settings whose scenario is that copy, so that pressing Read is all a
# newcomer has to do.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/setup.sh
cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARNO_BENCH=OFF >/dev/null
cmake --build build-run --target varno demo_pictures -j"$(nproc)"

# The settings file: $XDG_CONFIG_HOME/varno/VARNO.INI, else ~/.config/varno/VARNO.INI.
config="${XDG_CONFIG_HOME:-}"
case "$config" in /*) ;; *) config="$HOME/.config" ;; esac
ini="$config/varno/VARNO.INI"
if [ ! -e "$ini" ]; then
  # A copy of the demo game of the user's own, so that saving it (which also
  # writes OLDSCN backups beside it) leaves the repository's files alone.
  data="${XDG_DATA_HOME:-}"
  case "$data" in /*) ;; *) data="$HOME/.local/share" ;; esac
  game="$data/varno/demo"
  mkdir -p "$game" "$(dirname "$ini")"
  for f in MAIN.OOB DEMO.SCN MAIN.MAP MAIN1.BMP ICONS2D.BMP; do
    [ -e "$root/demo/$f" ] && [ ! -e "$game/$f" ] && cp "$root/demo/$f" "$game/$f"
  done
  printf '[Paths]\r\nSCNfile=%s\r\n' "$game/DEMO.SCN" > "$ini"
  echo "Wrote $ini: Varno starts with the demo scenario in $game; press Read (R)."
fi
# The demo's map picture and icon sheet are drawn by the build; a demo copy
# made before they existed gets them too.
demo_copy="${XDG_DATA_HOME:-}"
case "$demo_copy" in /*) ;; *) demo_copy="$HOME/.local/share" ;; esac
for f in MAIN1.BMP ICONS2D.BMP; do
  if [ -d "$demo_copy/varno/demo" ] && [ ! -e "$demo_copy/varno/demo/$f" ]; then
    cp "build-run/demo/$f" "$demo_copy/varno/demo/$f"
  fi
done

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: no display: neither DISPLAY nor WAYLAND_DISPLAY is set, and Varno is a desktop program." >&2
  echo "Run it from a desktop session, or without a screen: xvfb-run -a scripts/run.sh" >&2
  echo "(scripts/screenshot.sh shows what the window looks like on the demo)." >&2
  exit 1
fi

exec build-run/editor/varno
