#!/usr/bin/env bash
# The builds CI adds to the test command: sanitizers, the Windows cross build,
# the release build, the packages and the naming check.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

cmake --preset asan >/dev/null
cmake --build --preset asan
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset asan -j2

cmake --preset tsan >/dev/null
cmake --build --preset tsan
# ThreadSanitizer needs the classic address-space layout on newer kernels.
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" setarch "$(uname -m)" -R ctest --preset tsan -j2

cmake --preset mingw >/dev/null
cmake --build --preset mingw

scripts/package.sh

# Both trees are built by now, which the naming check reads.
scripts/check-names.sh
