#!/usr/bin/env bash
# scripts/test.sh [--quick|--windows]
# Sets everything up, then builds and runs every test three times: a normal
# build (preset debug, build/); the Windows build (preset windows,
# build-windows/: the core, both command lines and their tests, cross-compiled
# with mingw-w64 and run under Wine, and the Windows download checked); and a
# clang build under AddressSanitizer and UndefinedBehaviorSanitizer (preset
# asan, build-asan/) that also runs each fuzz target briefly: its seed corpus,
# then new inputs for a few seconds (campaigns: scripts/fuzz.sh). With --quick
# only the normal build and its tests, for daily work; with --windows only
# the Windows build and its tests. CI runs everything. Each first checks the
# format of the sources (scripts/check-format.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
what=all
case "${1:-}" in
  --quick) what=quick ;;
  --windows) what=windows ;;
  "") ;;
  *) echo "usage: scripts/test.sh [--quick|--windows]" >&2; exit 2 ;;
esac
scripts/setup.sh --windows
scripts/check-format.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

# CI's builds treat every warning as an error.
if [ $what != windows ]; then
  cmake --preset debug -DVARNO_WERROR=ON >/dev/null
  cmake --build --preset debug -j"$jobs"
  ctest --preset debug -j"$jobs"
fi
[ $what != quick ] || exit 0

cmake --preset windows -DVARNO_WERROR=ON >/dev/null
cmake --build --preset windows -j"$jobs"
ctest --preset windows -j"$jobs"
[ $what != windows ] || exit 0

cmake --preset asan -DVARNO_WERROR=ON >/dev/null
cmake --build --preset asan -j"$jobs"
ctest --preset asan -j"$jobs"
