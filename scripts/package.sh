#!/usr/bin/env bash
# Builds the Debian package of Varno and Quillet (with the demo game, menu
# entries, icons, metainfo, manual pages, copyright and changelog) in a
# Release build of its own, build-pkg/, with Debian's build flags, leaves it
# in dist/ and checks it with lintian: any error or warning fails (it needs
# no overrides; should one ever be needed, its reason goes beside it).
# Install it with: sudo apt install ./dist/varno_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh --package
# CPack's working folder goes, whether the packaging succeeds or not.
trap 'rm -rf dist/_CPack_Packages' EXIT
# Hardening and optimisation as Debian builds its packages.
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
# Given on every run (CMake reads the environment's flags only into a new
# cache), the preprocessor's (_FORTIFY_SOURCE) with the compilers'.
# Only what is installed is built; the tests are scripts/test.sh's business.
cmake --preset package -DCMAKE_C_FLAGS="$CPPFLAGS $CFLAGS" -DCMAKE_CXX_FLAGS="$CPPFLAGS $CXXFLAGS" \
  -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" >/dev/null
cmake --build --preset package -j"$(nproc)"
rm -rf dist/_CPack_Packages
cpack -G DEB --config build-pkg/CPackConfig.cmake -B dist
deb=$(ls -t dist/*.deb | head -1)
echo "Wrote $deb"
dpkg-deb -f "$deb" Package Version Section Maintainer Depends
echo "lintian $deb:"
lintian --fail-on error,warning --info "$deb"
echo "lintian: no errors or warnings"
