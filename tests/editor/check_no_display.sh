#!/usr/bin/env bash
# varno --version and --help answer without any display (no X, no Wayland, no
# Qt platform chosen) and exit 0, before the window system starts.
# Usage: check_no_display.sh VARNO
set -uo pipefail
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
out=$("$1" --version 2>&1) || fail "varno --version exits $?: $out"
[[ $out =~ ^varno\ [0-9]+\.[0-9]+ ]] || fail "varno --version prints '$out'"
out=$("$1" --help 2>&1) || fail "varno --help exits $?: $out"
[[ $out == Usage:\ varno* ]] || fail "varno --help prints '$out'"
[ "$failures" -eq 0 ] || exit 1
echo "varno --version and --help answered without a display"
