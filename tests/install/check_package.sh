#!/usr/bin/env bash
# Builds the Debian package with CPack from this build and checks it: its
# files are the installed tree's, and it depends on Debian's Qt 6 runtime.
# Usage: check_package.sh CONFIG OUTDIR
set -uo pipefail
. "$1"
out=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -rf "$out"
if ! log=$(cpack -G DEB --config "$BUILD_DIR/CPackConfig.cmake" -B "$out" 2>&1); then
  echo "$log"
  echo "FAIL: cpack"
  exit 1
fi
deb=$(ls "$out"/*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { echo "$log"; echo "FAIL: cpack made no .deb"; exit 1; }

# dpkg-deb -c lines end in ./usr/...; compare with `cmake --install` to /usr.
listing=$(dpkg-deb -c "$deb") || fail "dpkg-deb -c $deb"
in_deb=$(echo "$listing" | grep -v '^d' | awk '{print $6}' | sed 's:^\./:/:' | sort)
expect() { echo "$in_deb" | grep -qx "$1" || fail "the package lacks $1"; }
for p in $GUI_PROGRAMS $CLI_PROGRAMS; do expect "/usr/$BINDIR/$p"; done
for id in $APP_IDS; do
  expect "/usr/$DATADIR/applications/$id.desktop"
  expect "/usr/$DATADIR/metainfo/$id.metainfo.xml"
  expect "/usr/$DATADIR/icons/hicolor/scalable/apps/$id.svg"
  for s in $ICON_SIZES; do expect "/usr/$DATADIR/icons/hicolor/${s}x$s/apps/$id.png"; done
done
for f in $DEMO_FILES; do expect "/usr/$DEMODIR/$(basename "$f")"; done
if [ -d "$STAGE" ]; then
  staged=$(cd "$STAGE" && find . -type f | sed 's:^\./:/:' | sort)
  [ "$staged" = "$in_deb" ] || fail "package and install differ: $(diff <(echo "$staged") <(echo "$in_deb") | grep '^[<>]' | tr '\n' ' ')"
fi

depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libc6 libstdc++6; do
  [[ ", $depends," == *", $lib "* || ", $depends," == *", $lib,"* ]] || fail "Depends lacks $lib: $depends"
done
[ "$(dpkg-deb -f "$deb" Package)" = varno ] || fail "package name is $(dpkg-deb -f "$deb" Package)"
[ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ] || fail "wrong architecture"

if [ "$failures" -gt 0 ]; then echo "$failures failed"; exit 1; fi
echo "$(basename "$deb"): $(echo "$in_deb" | wc -l) files; Depends: $depends"
