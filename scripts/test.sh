#!/usr/bin/env bash
# Sets up the machine, builds the native tree and the Windows programs, and
# runs every test: the native ones and, under Wine and Xvfb, the windows
# (label `gui`; `ctest --preset native -LE gui` leaves them out).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset native >/dev/null
cmake --build --preset native
cmake --preset mingw >/dev/null
cmake --build --preset mingw
ctest --preset native -j2
