#!/usr/bin/env bash
# Sets up the machine, builds, and runs the service console on its built-in
# virtual acceptor. Extra arguments go to the console program.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset native >/dev/null
cmake --build --preset native >/dev/null

ducat=build/native/ui/ducat
if [ -x "$ducat" ]; then
  # A coin every two seconds or so, so a newcomer sees recognition at once.
  if [ "$#" -eq 0 ]; then set -- monitor --sim --coins-per-minute 30; fi
  exec "$ducat" "$@"
fi
echo "ducat was not built; see the build output above." >&2
exit 1
