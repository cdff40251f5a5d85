#!/usr/bin/env bash
# Checks the tree that `cmake --install` made: the programs (and nothing else)
# in bin/, the menu entries, icons and metainfo valid and pointing at what is
# installed, the demo game and the user manual identical to the repository's.
# Usage: check_tree.sh CONFIG
set -uo pipefail
. "$1"
root="$STAGE$PREFIX"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# PNG width and height from the IHDR chunk.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $3*256+$4 "x" $7*256+$8}'; }

# bin/: exactly the programs, each runnable here (every library found).
expected=$(printf '%s\n' $GUI_PROGRAMS $CLI_PROGRAMS | sort)
actual=$(ls "$root/$BINDIR" 2>/dev/null | sort)
[ "$expected" = "$actual" ] || fail "bin/ holds [$(echo $actual)], expected [$(echo $expected)]"
for p in $GUI_PROGRAMS $CLI_PROGRAMS; do
  exe="$root/$BINDIR/$p"
  [ -x "$exe" ] || { fail "$p is not installed as a program"; continue; }
  missing=$(ldd "$exe" 2>&1 | grep 'not found')
  [ -z "$missing" ] || fail "$p: libraries not found: $missing"
done
for p in $CLI_PROGRAMS; do
  case $p in
    varno-cli)
      out=$("$root/$BINDIR/$p" --version 2>&1) || fail "varno-cli --version exits $?"
      [[ $out =~ [0-9] ]] || fail "varno-cli --version prints no version: '$out'" ;;
    quillet-cli)
      out=$("$root/$BINDIR/$p" "$root/$DEMODIR/MAIN.MAP" 2>&1) || fail "quillet-cli on the demo map exits $?"
      [[ $out =~ ^Checksum:\ [0-9]+$ ]] || fail "quillet-cli on the demo map prints '$out'" ;;
  esac
done

# Menu entries, icons, metainfo: one of each per program.
for id in $APP_IDS; do
  desktop="$root/$DATADIR/applications/$id.desktop"
  meta="$root/$DATADIR/metainfo/$id.metainfo.xml"
  if [ -f "$desktop" ]; then
    out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate $id.desktop: $out"
    [ -z "$out" ] || fail "desktop-file-validate $id.desktop: $out"
    tryexec=$(sed -n 's/^TryExec=//p' "$desktop")
    [ -n "$tryexec" ] && [ -x "$root/$BINDIR/$tryexec" ] || fail "$id.desktop: TryExec '$tryexec' is not installed"
    grep -q "^Exec=.*\b$tryexec\b" "$desktop" || fail "$id.desktop: Exec does not start $tryexec"
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    [ "$icon" = "$id" ] || fail "$id.desktop: Icon is '$icon'"
  else
    fail "$id.desktop is not installed"
  fi
  if [ -f "$meta" ]; then
    out=$(appstreamcli validate --no-net "$meta" 2>&1) || fail "appstreamcli validate $id: $out"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$meta" ||
      fail "$id.metainfo.xml does not launch $id.desktop"
    grep -q "<id>$id</id>" "$meta" || fail "$id.metainfo.xml has another id"
    for b in $(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$meta"); do
      [ -x "$root/$BINDIR/$b" ] || fail "$id.metainfo.xml provides $b, which is not installed"
    done
  else
    fail "$id.metainfo.xml is not installed"
  fi
  svg="$root/$DATADIR/icons/hicolor/scalable/apps/$id.svg"
  head -c 300 "$svg" 2>/dev/null | grep -q '<svg' || fail "$id: no scalable icon"
  for s in $ICON_SIZES; do
    png="$root/$DATADIR/icons/hicolor/${s}x$s/apps/$id.png"
    if [ -f "$png" ]; then
      [ "$(png_size "$png")" = "${s}x$s" ] || fail "$png is $(png_size "$png")"
    else
      fail "$id: no ${s}x$s icon"
    fi
  done
done

# The demo game, as in the repository (or as the build wrote it).
for f in $DEMO_FILES; do
  cmp -s "$f" "$root/$DEMODIR/$(basename "$f")" || fail "demo file $(basename "$f") is not installed as it is"
done
[ -f "$root/$DEMODIR/DEMO.SCN" ] || fail "the demo has no DEMO.SCN"

# The user manual and its pictures, as in the repository's docs/.
for f in $MANUAL_FILES; do
  cmp -s "$f" "$root/$DOCSDIR/${f#"$SOURCE_DIR/docs/"}" || fail "manual file ${f#"$SOURCE_DIR/"} is not installed as it is"
done
[ -f "$root/$DOCSDIR/manual/index.md" ] || fail "the manual has no index.md"

n=$(find "$root" -type f | wc -l)
if [ "$failures" -gt 0 ]; then echo "$failures failed"; exit 1; fi
echo "$n installed files checked"
