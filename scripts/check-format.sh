#!/usr/bin/env bash
# scripts/check-format.sh
# Checks that every C++ source and header of the project is formatted as
# .clang-format says (clang-format 14); names each place that is not and
# fails. `clang-format -i FILE` mends a file.
set -euo pipefail
cd "$(dirname "$0")/.."
fmt=$(command -v clang-format-14 || command -v clang-format || true)
if [ -z "$fmt" ]; then
  echo "check-format: clang-format 14 is not installed (scripts/setup.sh installs it)" >&2
  exit 2
fi
# The tracked sources in a clone; every source outside the build folders in a
# copy without git (an unpacked archive, a machine without git).
sources() {
  if command -v git >/dev/null && git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z -- '*.cpp' '*.h'
  else
    find . \( -path './build*' -o -path './.git' -o -path './dist' \) -prune -o \
      -type f \( -name '*.cpp' -o -name '*.h' \) -print0
  fi
}
sources | xargs -0 -n 40 -P 2 "$fmt" --dry-run -Werror
