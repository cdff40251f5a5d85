#!/usr/bin/env bash
# Starts the installed Varno as a new user would (fresh HOME, no settings):
# it must copy the installed demo game to the user's data folder, write
# settings naming the copy's DEMO.SCN and keep running; a second first start
# (settings deleted) must keep the user's edited scenario.
# Usage: check_first_start.sh CONFIG
set -uo pipefail
. "$1"
export QT_QPA_PLATFORM=offscreen
root="$STAGE$PREFIX"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
unset XDG_CONFIG_HOME XDG_DATA_HOME
export HOME="$home"
ini="$home/.config/varno/VARNO.INI"
game="$home/.local/share/varno/demo"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Starts Varno, waits for the settings file, checks it still runs, ends it.
start_varno() {
  rm -f "$home/out.txt"
  "$root/$BINDIR/varno" >"$home/out.txt" 2>&1 &
  local pid=$! i
  for i in $(seq 100); do
    [ -e "$ini" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  sleep 0.3
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    wait "$pid" 2>/dev/null
  else
    wait "$pid"
    fail "varno ended by itself at the first start (status $?): $(cat "$home/out.txt")"
  fi
}

start_varno
[ -e "$ini" ] || fail "no settings file after the first start"
grep -qx "SCNfile=$game/DEMO.SCN"$'\r' "$ini" 2>/dev/null ||
  fail "settings do not name $game/DEMO.SCN: $(cat -A "$ini" 2>&1)"
for f in "$root/$DEMODIR"/*; do
  cmp -s "$f" "$game/$(basename "$f")" || fail "$(basename "$f") was not copied to $game"
done

[ "$failures" -eq 0 ] || { echo "$failures failed"; exit 1; }

printf 'my edits\r\n' >"$game/DEMO.SCN"
rm "$ini"
start_varno
[ -e "$ini" ] || fail "no settings file after the second first start"
[ "$(cat "$game/DEMO.SCN")" = $'my edits\r' ] || fail "the user's DEMO.SCN was replaced"

if [ "$failures" -gt 0 ]; then echo "$failures failed"; exit 1; fi
echo "first start copied $(ls "$game" | wc -l) demo files and named DEMO.SCN"
