#!/usr/bin/env bash
# scripts/package-windows.sh [OUT_DIR]
# Makes the download for Windows users, OUT_DIR/varno-cli-<version>-windows-x64.zip
# (OUT_DIR: dist): varno-cli.exe and quillet-cli.exe from the windows preset's
# build (statically linked: they need no DLLs beside them), their manual pages
# as text (made from their own --help and --version, run under Wine), LICENSE,
# the README's command-line section and the demo game. Text files get CR LF.
# VARNO_WINDOWS_BUILD names another build folder of the preset (default build-windows).
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-dist}")
build=$(realpath -m "${VARNO_WINDOWS_BUILD:-build-windows}")

scripts/setup.sh --windows
[ -f "$build/CMakeCache.txt" ] || cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" --target varno-cli quillet-cli >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
name=varno-cli-$version-windows-x64

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
dir=$stage/$name
mkdir -p "$dir/demo"
cp "$build/cli/varno-cli.exe" "$build/mapsum/quillet-cli.exe" "$dir/"
crlf() { sed 's/\r$//; s/$/\r/'; }
for program in varno-cli quillet-cli; do
  # The same one-line summary as the Linux manual pages.
  summary=$(sed -n "s/^ *\"$program|\([^\"]*\)\".*/\1/p" packaging/docs.cmake)
  printf '#!/bin/sh\nexec "%s" "%s" "$@"\n' "$build/wine-run" "$dir/$program.exe" >"$stage/$program"
  chmod +x "$stage/$program"
  help2man --no-info --section=1 --name="$summary" --output="$stage/$program.1" "$stage/$program"
  MANWIDTH=80 man -l "$stage/$program.1" 2>/dev/null | crlf >"$dir/$program.txt"
done
crlf <LICENSE >"$dir/LICENSE.txt"
# From its heading to the next one of the same level.
awk '/^## Command line: /{p=1; print; next} p && /^## /{exit} p' README.md | crlf >"$dir/README.txt"
cp demo/MAIN.OOB demo/MAIN.MAP demo/DEMO.SCN demo/FLAWS.SCN "$dir/demo/"

# The same sources give the same zip: the last commit's time on every file.
stamp=$(git log -1 --format=%ct 2>/dev/null || date +%s)
find "$dir" -exec touch -h -d "@$stamp" {} +
mkdir -p "$out"
rm -f "$out/$name.zip"
(cd "$stage" && find "$name" -type f | LC_ALL=C sort | TZ=UTC zip -q -X -D "$out/$name.zip" -@)
echo "Wrote $out/$name.zip"
