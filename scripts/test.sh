#!/usr/bin/env bash
# Sets up the machine, builds the native tree and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native -j2
