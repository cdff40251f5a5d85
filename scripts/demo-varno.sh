# Sourced by the scripts that make the README's pictures of the map window
# (from the repository's top folder): builds Varno and the demo pictures into
# $build (VARNO_BUILD, default build-run) and sets $root to the repository.
# start_demo_varno then starts it on the demo game.
root=$(pwd)
build=${VARNO_BUILD:-build-run}

scripts/setup.sh
if [ "$build" = build-run ]; then
  cmake --preset release >/dev/null
fi
cmake --build "$build" --target varno demo_pictures -j"$(nproc)"

# start_demo_varno HEIGHT WIDTH [LINE...]: starts Varno under Xvfb and openbox
# (scripts/xdisplay.sh) in a home folder of its own (never the user's) with a
# copy of the demo game, as scripts/run.sh does for a newcomer. Its VARNO.INI
# names the demo scenario, puts the map window at the top left, HEIGHT x
# WIDTH, the main window beside it, and ends with the LINEs given. Presses
# Read and sets $main and $map to the main and the map window.
start_demo_varno() {
  . scripts/xdisplay.sh
  export HOME="$tmp/player"
  unset XDG_CONFIG_HOME XDG_DATA_HOME
  local game="$HOME/.local/share/varno/demo"
  mkdir -p "$game" "$HOME/.config/varno" docs
  cp demo/MAIN.OOB demo/DEMO.SCN demo/MAIN.MAP "$build/demo/MAIN1.BMP" "$build/demo/ICONS2D.BMP" "$game/"
  {
    printf '[Paths]\r\nSCNfile=%s\r\n[Forms]\r\nEditTop=40\r\nEditLeft=700\r\nMapTop=0\r\nMapLeft=0\r\nMapHt=%s\r\nMapWid=%s\r\n' \
      "$game/DEMO.SCN" "$1" "$2"
    shift 2
    local line
    for line in "$@"; do printf '%s\r\n' "$line"; done
  } > "$HOME/.config/varno/VARNO.INI"

  (cd "$HOME" && QT_QPA_PLATFORM=xcb exec "$root/$build/editor/varno") &
  pids+=($!)

  main=$(xdotool search --sync --onlyvisible --name '^Varno$' | head -1)
  xdotool windowactivate --sync "$main"
  xdotool key --window "$main" alt+r
  map=$(xdotool search --sync --onlyvisible --name '^Test$' | head -1)
  sleep 1
}
