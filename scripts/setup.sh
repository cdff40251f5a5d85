#!/usr/bin/env bash
# scripts/setup.sh [--package] [--windows]
# Installs the Debian packages the build, the tests and the run need, when missing
# (checked on a bare `debootstrap --variant=minbase bookworm` root).
# With --package also the package checker, lintian (scripts/package.sh).
# With --windows also the Windows cross build and Wine to run its tests
# (preset windows, scripts/package-windows.sh); scripts/test.sh asks for it.
set -euo pipefail
need=(cmake ninja-build g++ clang clang-format-14 libclang-rt-14-dev qt6-base-dev qt6-svg-dev libgtest-dev libgmock-dev
      libbenchmark-dev libcli11-dev nlohmann-json3-dev xvfb xauth fonts-dejavu-core openbox xdotool
      librsvg2-bin desktop-file-utils appstream dpkg-dev scrot file help2man man-db)
# Without their recommendations: Wine's alone would bring graphics drivers,
# sound and fonts that programs without windows never use.
lean=()
for arg in "$@"; do
  case "$arg" in
    --package) need+=(lintian) ;;
    # mingw-w64's 64-bit C++ compiler with POSIX threads (std::thread), Wine,
    # GoogleTest's sources to build for Windows, zip for the download.
    --windows) lean+=(g++-mingw-w64-x86-64-posix wine wine64 googletest zip unzip) ;;
    *) echo "usage: scripts/setup.sh [--package] [--windows]" >&2; exit 2 ;;
  esac
done
missing() {
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}
mapfile -t missing_need < <(missing "${need[@]}")
mapfile -t missing_lean < <(missing "${lean[@]}")
if [ $((${#missing_need[@]} + ${#missing_lean[@]})) -gt 0 ]; then
  echo "Installing: ${missing_need[*]} ${missing_lean[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  [ ${#missing_need[@]} -eq 0 ] ||
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing_need[@]}" >/dev/null
  [ ${#missing_lean[@]} -eq 0 ] ||
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing_lean[@]}" >/dev/null
fi
