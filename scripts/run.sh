#!/usr/bin/env bash
# Builds Varno and Quillet and starts one of them on the user's own copy of
# the demo game (copied to the user's data folder when missing, so that saving
# it, with the OLDSCN backups beside it, leaves the repository's files alone).
#
#   scripts/run.sh            Varno; without settings of the user's own it
#                             first writes settings naming the demo scenario,
#                             so that pressing Read is all a newcomer has to do
#   scripts/run.sh quillet    Quillet, in the demo folder, so that its default
#                             "main.map" is the demo's map
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

program=${1:-varno}
case "$program" in
  varno|quillet) ;;
  *) echo "usage: scripts/run.sh [quillet]" >&2; exit 2 ;;
esac

scripts/setup.sh
cmake --preset release >/dev/null
cmake --build build-run --target varno quillet demo_pictures -j"$(nproc)"

# The user's copy of the demo game: files already there are kept as they are.
data="${XDG_DATA_HOME:-}"
case "$data" in /*) ;; *) data="$HOME/.local/share" ;; esac
game="$data/varno/demo"
mkdir -p "$game"
for f in MAIN.OOB DEMO.SCN FLAWS.SCN MAIN.MAP; do
  if [ ! -e "$game/$f" ]; then cp "$root/demo/$f" "$game/$f"; fi
done
# The map picture and the icon sheet are drawn by the build; a copy made
# before they existed gets them too.
for f in MAIN1.BMP ICONS2D.BMP; do
  if [ ! -e "$game/$f" ]; then cp "$root/build-run/demo/$f" "$game/$f"; fi
done

if [ "$program" = varno ]; then
  # The settings file: $XDG_CONFIG_HOME/varno/VARNO.INI, else ~/.config/varno/VARNO.INI.
  config="${XDG_CONFIG_HOME:-}"
  case "$config" in /*) ;; *) config="$HOME/.config" ;; esac
  ini="$config/varno/VARNO.INI"
  if [ ! -e "$ini" ]; then
    mkdir -p "$(dirname "$ini")"
    printf '[Paths]\r\nSCNfile=%s\r\n' "$game/DEMO.SCN" > "$ini"
    echo "Wrote $ini: Varno starts with the demo scenario in $game; press Read (R)."
  fi
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: no display: neither DISPLAY nor WAYLAND_DISPLAY is set, and $program is a desktop program." >&2
  echo "Run it from a desktop session, or without a screen: xvfb-run -a scripts/run.sh${*:+ $*}" >&2
  echo "(scripts/screenshot.sh shows what Varno's window looks like on the demo)." >&2
  exit 1
fi

if [ "$program" = quillet ]; then
  cd "$game"
  echo "Quillet in $game: its default map file main.map is the demo's MAIN.MAP."
  exec "$root/build-run/mapsum/quillet"
fi
exec "$root/build-run/editor/varno"
