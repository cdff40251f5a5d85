#!/usr/bin/env bash
# Builds the Debian package of Varno and Quillet (with the demo game, menu
# entries, icons and metainfo) in a Release build of its own, build-pkg/, and
# leaves it in dist/. Install it with: sudo apt install ./dist/varno_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
# Only what is installed is built; the tests are scripts/test.sh's business.
cmake --preset package >/dev/null
cmake --build --preset package -j"$(nproc)"
rm -rf dist/_CPack_Packages
cpack -G DEB --config build-pkg/CPackConfig.cmake -B dist
rm -rf dist/_CPack_Packages
deb=$(ls -t dist/*.deb | head -1)
echo "Wrote $deb"
dpkg-deb -f "$deb" Package Version Depends
