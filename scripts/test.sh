#!/usr/bin/env bash
# scripts/test.sh [--quick]
# Sets everything up, then builds and runs every test twice: a normal build
# (preset debug, build/), and a clang build under AddressSanitizer and
# UndefinedBehaviorSanitizer (preset asan, build-asan/) that also runs each
# fuzz target briefly: its seed corpus, then new inputs for a few seconds
# (campaigns: scripts/fuzz.sh). With --quick only the normal build and its
# tests, for daily work; CI runs everything. Both first check the format of
# the sources (scripts/check-format.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
quick=false
case "${1:-}" in
  --quick) quick=true ;;
  "") ;;
  *) echo "usage: scripts/test.sh [--quick]" >&2; exit 2 ;;
esac
scripts/setup.sh
scripts/check-format.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

# CI's builds treat every warning as an error.
cmake --preset debug -DVARNO_WERROR=ON >/dev/null
cmake --build --preset debug -j"$jobs"
ctest --preset debug -j"$jobs"
$quick && exit 0

cmake --preset asan -DVARNO_WERROR=ON >/dev/null
cmake --build --preset asan -j"$jobs"
ctest --preset asan -j"$jobs"
