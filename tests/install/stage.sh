#!/usr/bin/env bash
# Installs the build into a fresh temporary DESTDIR, as a packager does.
# Usage: stage.sh CONFIG CMAKE
set -euo pipefail
. "$1"
rm -rf "$STAGE"
DESTDIR="$STAGE" "$2" --install "$BUILD_DIR" --prefix "$PREFIX" >/dev/null
echo "installed into $STAGE$PREFIX"
