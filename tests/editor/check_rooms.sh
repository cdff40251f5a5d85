#!/usr/bin/env bash
# The main window's rooms (editor/<room>/) are classes built from what they
# need: none includes the window's header, is a class nested in the window or
# its friend, and the window holds its widgets rather than inheriting them.
# Usage: check_rooms.sh SOURCE_DIR
set -uo pipefail
src=$1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
hits=$(grep -rlF '#include "editor/oobform.h"' "$src"/editor/*/) && fail "rooms include the window's header: $hits"
hits=$(grep -rlE '\bTfrmEdit::[A-Z][A-Za-z]*::|class TfrmEdit::' "$src"/editor) && fail "classes nested in the window: $hits"
grep -qw friend "$src/editor/oobform.h" && fail "the window has friends"
grep -qE '^class TfrmEdit\b.*\bTEditWidgets\b' "$src/editor/oobform.h" && fail "the window inherits its widgets"
[ "$failures" -eq 0 ] || exit 1
echo "the main window's rooms stand apart from it"
