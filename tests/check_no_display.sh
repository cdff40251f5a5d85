#!/usr/bin/env bash
# A desktop program's --version and --help answer without any display (no X,
# no Wayland, no Qt platform chosen) and exit 0, before the window system
# starts.
# Usage: check_no_display.sh PROGRAM NAME
set -uo pipefail
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
program=$1 name=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
out=$("$program" --version 2>&1) || fail "$name --version exits $?: $out"
[[ $out =~ ^$name\ [0-9]+\.[0-9]+ ]] || fail "$name --version prints '$out'"
out=$("$program" --help 2>&1) || fail "$name --help exits $?: $out"
[[ $out == "Usage: $name"* ]] || fail "$name --help prints '$out'"
[ "$failures" -eq 0 ] || exit 1
echo "$name --version and --help answered without a display"
