#!/usr/bin/env bash
# Sets everything up, then builds and runs every test twice: a normal build,
# and a clang build under AddressSanitizer and UndefinedBehaviorSanitizer that
# also runs each fuzz target briefly: its seed corpus, then new inputs for a
# few seconds (campaigns: scripts/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNO_WERROR=ON >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DVARNO_SANITIZE=ON -DVARNO_FUZZ=ON -DVARNO_BENCH=OFF -DVARNO_WERROR=ON >/dev/null
cmake --build build-asan -j"$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure -j"$jobs"
