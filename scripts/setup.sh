#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the run need, when missing
# (checked on a bare `debootstrap --variant=minbase bookworm` root).
# With --package also the package checker, lintian (scripts/package.sh).
set -euo pipefail
need=(cmake ninja-build g++ clang clang-format-14 libclang-rt-14-dev qt6-base-dev qt6-svg-dev libgtest-dev libgmock-dev
      libbenchmark-dev libcli11-dev nlohmann-json3-dev xvfb xauth fonts-dejavu-core openbox xdotool
      librsvg2-bin desktop-file-utils appstream dpkg-dev scrot file help2man man-db)
[ "${1:-}" != --package ] || need+=(lintian)
missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi
