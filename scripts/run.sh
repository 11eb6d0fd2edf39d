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
  if [ "$#" -eq 0 ]; then set -- monitor --sim; fi
  exec "$ducat" "$@"
fi
echo "Built the portable core. Not built yet: the ducat console, the virtual acceptor program, pollbench and the Windows programs."
