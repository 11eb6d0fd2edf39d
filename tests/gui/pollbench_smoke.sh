#!/usr/bin/env bash
# Smoke test of Pollbench.exe under Wine against the virtual standard
# acceptor, seen from outside as the operator sees it: the device found on
# COM1 and identified, its coin table and escrow box, the counters reset,
# the Options dialog confirmed (the four settings stored in the registry),
# the system menu's entries, and "Quit". Needs wine, xvfb-run and the MinGW-w64 compiler.
#
#   tests/gui/pollbench_smoke.sh [MINGW_BUILD_DIR] [NATIVE_BUILD_DIR]
#
# SHOT=/path/shot.png also keeps a screenshot of the connected window.
set -euo pipefail

if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
MINGW_BUILD=$(realpath "${1:-$ROOT/build/mingw}")
NATIVE_BUILD=$(realpath "${2:-$ROOT/build/native}")
EXE="$MINGW_BUILD/demo/window/Pollbench.exe"
SIM="$NATIVE_BUILD/sim/standard-sim"

# Control and command ids of the main window.
IDOK=1
IDC_STATUS=1000
IDC_RESET_COUNTERS=1012
IDC_QUIT=1013
IDC_COIN_ID_1=1030
IDC_ESCROW=1102
IDC_CREDIT=1106
IDC_MASTER_INHIBIT=1111
ID_OPTIONS=17
IDM_ABOUTBOX=16
IDCANCEL=2

WORK=$(mktemp -d /tmp/pollbench-smoke.XXXXXX)
export WINEPREFIX="$WORK/prefix" WINEDEBUG=-all
SIM_PID=""
cleanup() {
  [[ -n "$SIM_PID" ]] && kill "$SIM_PID" 2>/dev/null || true
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

x86_64-w64-mingw32-g++-posix -O1 -static -o "$WORK/probe.exe" "$ROOT/tests/gui/pollbench_probe.cpp"
probe() { wine "$WORK/probe.exe" "$@" 2>/dev/null | tr -d '\r'; }

"$SIM" --link "$WORK/acceptor" --manufacturer ABC --product XYZ --serial 123 --revision 52.01 --flags 0x40 \
  >"$WORK/sim.log" 2>&1 &
SIM_PID=$!
for _ in $(seq 50); do [[ -e "$WORK/acceptor" ]] && break; sleep 0.1; done
[[ -e "$WORK/acceptor" ]] || fail "the virtual acceptor did not start"

wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /t REG_SZ /d "$(readlink "$WORK/acceptor")" /f >/dev/null 2>&1
wineserver -k >/dev/null 2>&1
wine "$EXE" >/dev/null 2>&1 &

probe wait 30 || fail "the main window did not open"

expected=$'ABC - XYZ\nSN: 123\nSoftw.: 52.01\nE'
status=""
for _ in $(seq 30); do
  status=$(probe text $IDC_STATUS)
  [[ "$status" == "$expected" ]] && break
  sleep 0.5
done
[[ "$status" == "$expected" ]] || fail "status box shows '$status'"

[[ "$(probe text $IDC_COIN_ID_1)" == "EU005A" ]] || fail "coin 1 is '$(probe text $IDC_COIN_ID_1)'"
[[ "$(probe text $IDC_ESCROW)" == "0.00" ]] || fail "escrow box shows '$(probe text $IDC_ESCROW)'"
[[ "$(probe checked $IDC_MASTER_INHIBIT)" == "0" ]] || fail "master inhibit ticked after set-up"
[[ -n "${SHOT:-}" ]] && import -window root "$SHOT"

probe click $IDC_RESET_COUNTERS
sleep 0.5
[[ "$(probe text $IDC_CREDIT)" == "0.00" ]] || fail "credit after Reset Counters is '$(probe text $IDC_CREDIT)'"

probe command $ID_OPTIONS
probe answer Options $IDOK || fail "the Options dialog did not open"
stored=""
for _ in $(seq 20); do
  stored=$(wine reg query 'HKCU\Software\VXL\Pollbench\Options' 2>/dev/null | tr -d '\r' || true)
  [[ "$stored" == *Flags* ]] && break
  sleep 0.5
done
for value in "ComPort    REG_DWORD    0x1" "PollIntervall    REG_DWORD    0xc8" \
             "DeviceAddress    REG_DWORD    0x2" "Flags    REG_DWORD    0x0"; do
  [[ "$stored" == *"$value"* ]] || fail "registry lacks '$value': $stored"
done

# Polling starts again after the dialog: the device is identified anew.
for _ in $(seq 30); do
  [[ "$(probe text $IDC_STATUS)" == "$expected" ]] && break
  sleep 0.5
done
[[ "$(probe text $IDC_STATUS)" == "$expected" ]] || fail "no new identification after Options"

# The system menu's own entries: the about box and the Options dialog.
probe syscommand $IDM_ABOUTBOX
probe answer Pollbench $IDOK || fail "the about box did not open from the system menu"
probe syscommand $ID_OPTIONS
probe answer Options $IDCANCEL || fail "the Options dialog did not open from the system menu"

probe click $IDC_QUIT
probe gone 10 || fail "Quit did not close the window"
echo "pollbench smoke test passed"
