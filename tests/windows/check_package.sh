#!/usr/bin/env bash
# tests/windows/check_package.sh SOURCE_DIR BUILD_DIR [LINUX_VARNO_CLI]
# The Windows download as a user gets it: made by scripts/package-windows.sh
# from this build, unpacked, and both programs run under Wine on its demo
# game. Then the same saves by the Linux varno-cli, which must write the same
# bytes (exit 77, "skipped", when that program is not built).
set -euo pipefail
src=$1 build=$2 linux_cli=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

VARNO_WINDOWS_BUILD=$build "$src/scripts/package-windows.sh" "$work/dist" >/dev/null
zip=$(ls "$work"/dist/varno-cli-*-windows-x64.zip)
name=$(basename "$zip" .zip)
want="$name/LICENSE.txt
$name/README.txt
$name/demo/DEMO.SCN
$name/demo/FLAWS.SCN
$name/demo/MAIN.MAP
$name/demo/MAIN.OOB
$name/quillet-cli.exe
$name/quillet-cli.txt
$name/varno-cli.exe
$name/varno-cli.txt"
[ "$(unzip -Z1 "$zip" | LC_ALL=C sort)" = "$want" ] || fail "the zip holds: $(unzip -Z1 "$zip")"
unzip -q "$zip" -d "$work"
top=$work/$name
grep -q "^NAME" "$top/varno-cli.txt" && grep -q "quillet-cli - checksum" "$top/quillet-cli.txt" ||
  fail "manual pages"
grep -q $'^## Command line: varno-cli and quillet-cli\r$' "$top/README.txt" || fail "README.txt"

# Runs a program of the download in its demo folder; output in $work/out, status in $status.
run() {
  local program=$1
  shift
  status=0
  (cd "$top/demo" && "$build/wine-run" "../$program.exe" "$@") >"$work/out" 2>"$work/err" || status=$?
}
expect() {
  [ "$status" = "$1" ] || fail "$2: exit $status, stderr: $(cat "$work/err")"
}

run varno-cli --version
expect 0 "--version"
version=${name#varno-cli-}
[ "$(cat "$work/out")" = "varno-cli ${version%-windows-x64}" ] || fail "--version says $(cat "$work/out")"
run varno-cli check --all FLAWS.SCN
expect 3 "check --all"
[ "$(cut -d' ' -f1 "$work/out" | tr '\n' ' ')" = "off-map release-unplaced bad-date " ] ||
  fail "check --all printed $(cat "$work/out")"
run varno-cli diff DEMO.SCN FLAWS.SCN
expect 3 "diff"
[ -s "$work/out" ] || fail "diff printed nothing"
run varno-cli schedule DEMO.SCN --csv
expect 0 "schedule"
grep -q '^1863-07-02 10:00,Union,' "$work/out" || fail "schedule printed $(head -3 "$work/out")"
cp "$top/demo/DEMO.SCN" "$top/demo/COPY.SCN"
run varno-cli save COPY.SCN --sort
expect 0 "save"
[ "$(tail -1 "$work/out")" = "Done" ] || fail "save printed $(cat "$work/out")"
cmp -s "$top/demo/OLDSCN1.TXT" "$src/demo/DEMO.SCN" || fail "the backup is not the old file"
run quillet-cli MAIN.MAP --convert OUT.MAP
expect 0 "quillet-cli --convert"
grep -q '^Checksum: [0-9]*$' "$work/out" && grep -q '^Conversion complete!$' "$work/out" ||
  fail "quillet-cli printed $(cat "$work/out")"
# The converted map's format line (compared as bytes: $(...) drops a last LF).
printf '2\r\n' | cmp -s -n 3 - "$top/demo/OUT.MAP" || fail "OUT.MAP is not converted"

# The same saves by both builds: the same bytes.
if [ -z "$linux_cli" ] || [ ! -x "$linux_cli" ]; then
  echo "the Linux varno-cli (${linux_cli:-none}) is not built: the byte comparison is skipped"
  exit 77
fi
for options in "" "--sort" "--chance" "--v103"; do
  for scn in DEMO.SCN FLAWS.SCN; do
    for side in windows linux; do
      d=$work/$side-game
      rm -rf "$d"
      mkdir "$d"
      cp "$src/demo/MAIN.OOB" "$src/demo/$scn" "$d/"
      # shellcheck disable=SC2086
      if [ $side = windows ]; then
        (cd "$d" && "$build/wine-run" "$top/varno-cli.exe" save "$scn" $options) >/dev/null
      else
        (cd "$d" && "$linux_cli" save "$scn" $options) >/dev/null
      fi
    done
    cmp "$work/windows-game/$scn" "$work/linux-game/$scn" || fail "save $scn $options differs"
  done
done
echo "ok"
