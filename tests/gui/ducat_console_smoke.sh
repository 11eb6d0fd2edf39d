#!/usr/bin/env bash
# Smoke test of "Ducat Console.exe" under Wine against the virtual acceptor,
# seen from outside as the operator sees it: the first start without a
# configuration file, the acceptor's port chosen in "Main Settings", START,
# the identity line and the coin list, then "Exit" with the configuration
# written. Needs wine, xvfb-run and the MinGW-w64 compiler.
#
#   tests/gui/ducat_console_smoke.sh [MINGW_BUILD_DIR] [NATIVE_BUILD_DIR]
#
# SHOT=/path/shot.png also keeps a screenshot of the monitoring window.
set -euo pipefail

if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
MINGW_BUILD=$(realpath "${1:-$ROOT/build/mingw}")
NATIVE_BUILD=$(realpath "${2:-$ROOT/build/native}")
EXE="$MINGW_BUILD/ui/Ducat Console.exe"
SIM="$NATIVE_BUILD/sim/ducat-sim"
SERIAL_TEXT=GUI-SMOKE-7

# Control and command ids of the main window and its boxes.
IDOK=1
IDC_START=1002
IDC_STOP=1004
IDC_IDENTITY_LINE=1096
IDC_PORT_LIST=1020
IDM_EXIT=105
IDM_MAIN_SETTINGS=2800

WORK=$(mktemp -d)
export WINEPREFIX=${WINEPREFIX:-$WORK/prefix}
export WINEDEBUG=-all
SIM_PID=
EXE_PID=
cleanup() {
  [[ -n "$EXE_PID" ]] && kill "$EXE_PID" 2>/dev/null || true
  [[ -n "$SIM_PID" ]] && kill "$SIM_PID" 2>/dev/null || true
  wineserver -k >/dev/null 2>&1 || true
  [[ -n "${KEEP:-}" ]] && echo "kept $WORK" >&2 || rm -rf "$WORK"
}
trap cleanup EXIT

probe() { wine "$WORK/window_probe.exe" "$@" | tr -d '\r'; }

fail() {
  echo "FAIL: $*" >&2
  echo "windows open:" >&2
  probe windows >&2 || true
  exit 1
}

[[ -x "$SIM" ]] || fail "no $SIM (build the native preset's ducat-sim)"
[[ -f "$EXE" ]] || fail "no $EXE (build the mingw preset)"
x86_64-w64-mingw32-g++-posix -std=c++17 -O2 -static -o "$WORK/window_probe.exe" "$ROOT/tests/gui/window_probe.cpp"

"$SIM" --link "$WORK/acceptor" --sim-serial-text "$SERIAL_TEXT" --coins-per-minute 30 >"$WORK/sim.log" 2>&1 &
SIM_PID=$!
for _ in $(seq 50); do [[ -e "$WORK/acceptor" ]] && break; sleep 0.1; done
[[ -e "$WORK/acceptor" ]] || fail "the virtual acceptor did not start"

# COM1 is the acceptor; Wine reads its port map when the server starts.
wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /t REG_SZ /d "$WORK/acceptor" /f >/dev/null 2>&1
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
# A server of our own, so what it prints when it is ended stays out of the report.
wineserver -p >/dev/null 2>&1

mkdir "$WORK/run"
cd "$WORK/run"
wine "$EXE" >"$WORK/exe.log" 2>&1 &
EXE_PID=$!

# First start: no configuration file, so its box comes first.
probe answer 'Reading from file "Ducat Console.cnf"' $IDOK || fail "no box for the missing configuration"
probe wait 30 || fail "the main window did not open"

# The automatic START went to the default port; stop it and choose COM1,
# the first port the scan finds.
probe click $IDC_STOP
sleep 1
probe command $IDM_MAIN_SETTINGS
probe select "Main Settings" $IDC_PORT_LIST 0 || fail "COM1 is not in the port list"
probe answer "Main Settings" $IDOK
for _ in $(seq 50); do [[ "$(probe enabled $IDC_START)" == 1 ]] && break; sleep 0.2; done
probe click $IDC_START

identity=
for _ in $(seq 30); do
  identity=$(probe text $IDC_IDENTITY_LINE)
  [[ "$identity" == *"\"$SERIAL_TEXT\""* ]] && break
  sleep 0.5
done
expected="Addr= 1,  Serial= "
[[ "$identity" == "$expected"*"\"$SERIAL_TEXT\""* ]] || fail "identity line: '$identity'"
[[ "$(probe rows)" == 16 ]] || fail "the coin list does not show 16 rows"
[[ "$(probe enabled $IDC_START)" == 0 ]] || fail "START is enabled while monitoring"
[[ "$(probe enabled $IDC_STOP)" == 1 ]] || fail "STOP is disabled while monitoring"
if [[ -n "${SHOT:-}" ]]; then sleep 3; import -window root "$SHOT"; fi

probe command $IDM_EXIT
probe answer "Exit Application" $IDOK || fail "no exit confirmation"
for _ in $(seq 150); do kill -0 "$EXE_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$EXE_PID" 2>/dev/null && fail "the program did not end after Exit"
EXE_PID=
[[ -s "$WORK/run/Ducat Console.cnf" ]] || fail "no configuration written at exit"

echo "PASS: $identity"
