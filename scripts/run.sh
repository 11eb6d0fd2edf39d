#!/usr/bin/env bash
# Sets up the machine, builds, and runs the service console on its built-in
# virtual acceptor. Extra arguments go to the console program.
#
#   scripts/run.sh window            Ducat Console.exe under Wine on its virtual acceptor
#   scripts/run.sh pollbench-window  Pollbench.exe under Wine on its virtual acceptor
# With a display the window stays for the operator (Ctrl+C ends it); without
# one it runs under Xvfb, and a screenshot taken after the first coins is
# saved under build/ and its path printed.
set -euo pipefail
cd "$(dirname "$0")/.."

# Builds a preset and shows how far it is: on a terminal ninja's own status
# line; otherwise (a log, a pipe) each tenth of the steps, and every other
# line (warnings, errors) as it comes.
build() {
  cmake --preset "$1" >/dev/null
  echo "building $1 (a first build takes several minutes)" >&2
  if [ -t 1 ]; then
    cmake --build --preset "$1"
  else
    cmake --build --preset "$1" | awk '
      /^\[[0-9]+\/[0-9]+\] / {
        split(substr($1, 2), step, "/")
        tenth = int(step[1] * 10 / step[2])
        if (tenth > shown) { print; shown = tenth; fflush() }
        next
      }
      { print; fflush() }'
  fi
}

scripts/setup.sh
build native

case "${1:-}" in
  window | pollbench-window) ;;
  *)
    ducat=build/native/ui/ducat
    if [ -x "$ducat" ]; then
      # A coin every two seconds or so, so a newcomer sees recognition at once.
      if [ "$#" -eq 0 ]; then set -- monitor --sim --coins-per-minute 30; fi
      exec "$ducat" "$@"
    fi
    echo "ducat was not built; see the build output above." >&2
    exit 1
    ;;
esac

which=$1
build mingw
root=$PWD
run_dir="$root/build/run/$which"
mkdir -p "$run_dir/Export" "$run_dir/Coins Stat"
export WINEPREFIX="$root/build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=ru_RU.CP1251
probe_exe="$root/build/mingw/tests/gui/window_probe.exe"
sim_pid=""
xvfb_pid=""
finish() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  return 0
}
trap finish EXIT
trap 'exit 130' INT TERM

headless=""
if [ -z "${DISPLAY:-}" ]; then
  headless=1
  Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$run_dir/display" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$run_dir/display" ] && break; sleep 0.05; done
  export DISPLAY=":$(head -n1 "$run_dir/display")"
  # No window manager: unmanaged windows close without Wine's 2 s wait.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
fi

link="$run_dir/acceptor"
rm -f "$link"
if [ "$which" = window ]; then
  build/native/sim/ducat-sim --link "$link" --coins-per-minute 30 >"$run_dir/sim.log" 2>&1 &
  program=ducat
  exe="$root/build/mingw/ui/Ducat Console.exe"
else
  build/native/sim/standard-sim --link "$link" --coin-rate 1 >"$run_dir/sim.log" 2>&1 &
  program=pollbench
  exe="$root/build/mingw/demo/window/Pollbench.exe"
fi
sim_pid=$!
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
# COM1 and COM2 both lead to the acceptor, so the first start's default
# port (the second one found) reaches it too.
for port in COM1 COM2; do
  wine reg add 'HKLM\Software\Wine\Ports' /v $port /t REG_SZ /d "$(readlink -f "$link")" /f >/dev/null 2>&1
done
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true

cd "$run_dir"
if [ -z "$headless" ]; then
  echo "$which: the window is on $DISPLAY; Ctrl+C ends it and the virtual acceptor."
  wine "$exe" >"$run_dir/exe.log" 2>&1
  exit 0
fi

probe() { wine "$probe_exe" "$program" "$@" 2>/dev/null | tr -d '\r'; }
wine "$exe" >"$run_dir/exe.log" 2>&1 &
if [ "$which" = window ]; then
  # A first start without configuration asks to be acknowledged.
  probe answer 'Reading from file "Ducat Console.cnf"' IDOK >/dev/null 2>&1 || true
  probe wait 30 || { echo "the window did not open" >&2; exit 1; }
  # The result buffer's event counter leaves 0 with the first coin.
  for _ in $(seq 120); do
    case "$(probe text IDC_RESULT_BUFFER)" in *"Cnt = "[1-9]*) break ;; esac
    sleep 0.5
  done
else
  probe wait 30 || { echo "the window did not open" >&2; exit 1; }
  for _ in $(seq 120); do
    credit=$(probe text IDC_CREDIT)
    [ -n "$credit" ] && [ "$credit" != 0.00 ] && break
    sleep 0.5
  done
fi
shot="$run_dir/$which.png"
import -window root -crop "$(probe rect)" +repage "$shot"
echo "screenshot after the first coins: $shot"
