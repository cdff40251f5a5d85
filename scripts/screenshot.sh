#!/usr/bin/env bash
# Makes docs/varno-main.png, the README's picture of Varno's main window after
# reading the demo game, as a new user sees it after scripts/run.sh: the demo
# copied to ~/.local/share/varno/demo and settings that name it. Builds, then
# runs varno_screenshot under Xvfb in a home folder of its own (never the
# user's): /home/player on a private mount of /home where the system allows
# one (as root), else a temporary folder, whose path the picture then shows.
# varno_screenshot presses Read, types a dot name (argument 1, default 1.3.3.2.3, a regiment with its parents)
# and saves the window.
# VARNO_BUILD names another build folder to take Varno from (default build-run).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
export VARNO_BUILD=${VARNO_BUILD:-build-run}
build=$VARNO_BUILD

if [ "${1:-}" != --inside ]; then
  scripts/setup.sh
  if [ "$build" = build-run ]; then
    cmake --preset release >/dev/null
  fi
  cmake --build "$build" --target varno_screenshot demo_pictures -j"$(nproc)"
  mkdir -p docs
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' EXIT
  dot=${1:-1.3.3.2.3}
  if unshare -m --propagation private true 2>/dev/null &&
     unshare -m --propagation private mount --bind "$tmp" /home 2>/dev/null; then
    unshare -m --propagation private bash -c 'mount --bind "$1" /home && exec "$2" --inside /home/player "$3"' \
      _ "$tmp" "$root/scripts/screenshot.sh" "$dot"
  else
    echo "screenshot.sh: no private /home here; the picture shows a temporary home folder." >&2
    "$root/scripts/screenshot.sh" --inside "$tmp/player" "$dot"
  fi
  echo "Wrote docs/varno-main.png"
  exit 0
fi

# Inside the home folder of its own: set up as scripts/run.sh does for a newcomer.
export HOME="$2"
unset XDG_CONFIG_HOME XDG_DATA_HOME
game="$HOME/.local/share/varno/demo"
mkdir -p "$game" "$HOME/.config/varno"
# Read also shows the map: the game needs the pictures the build draws.
cp "$root/demo/MAIN.OOB" "$root/demo/DEMO.SCN" "$root/demo/MAIN.MAP" \
   "$root/$build/demo/MAIN1.BMP" "$root/$build/demo/ICONS2D.BMP" "$game/"
printf '[Paths]\r\nSCNfile=%s\r\n' "$game/DEMO.SCN" > "$HOME/.config/varno/VARNO.INI"
cd "$HOME"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" \
  "$root/$build/editor/varno_screenshot" "$root/docs/varno-main.png" "$3"
