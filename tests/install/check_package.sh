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

# dpkg-deb -c lines end in ./usr/...
listing=$(dpkg-deb -c "$deb") || fail "dpkg-deb -c $deb"
in_deb=$(echo "$listing" | grep -v '^d' | awk '{print $6}' | sed 's:^\./:/:' | sort)
# The same files as the install that the tree check looked at.
staged=$(cd "$STAGE" && find . -type f | sed 's:^\./:/:' | sort)
[ -n "$staged" ] || fail "no installed tree in $STAGE to compare with"
[ "$staged" = "$in_deb" ] ||
  fail "package and install differ: $(diff <(echo "$staged") <(echo "$in_deb") | grep '^[<>]' | tr '\n' ' ')"

depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libc6 libstdc++6; do
  [[ ", $depends," == *", $lib "* || ", $depends," == *", $lib,"* ]] || fail "Depends lacks $lib: $depends"
done
[ "$(dpkg-deb -f "$deb" Package)" = varno ] || fail "package name is $(dpkg-deb -f "$deb" Package)"
[ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ] || fail "wrong architecture"

if [ "$failures" -gt 0 ]; then echo "$failures failed"; exit 1; fi
echo "$(basename "$deb"): $(echo "$in_deb" | wc -l) files; Depends: $depends"
