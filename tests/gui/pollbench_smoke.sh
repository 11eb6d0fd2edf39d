#!/usr/bin/env bash
# Smoke test of Pollbench.exe under Wine against the virtual standard
# acceptor, seen from outside as the operator sees it: the device found on
# COM1 and identified, its coin table and escrow box, the counters reset,
# the operator's writes to the device (inhibits, sorter paths, default path,
# sorter-full boxes, master inhibit, escrow and motor buttons, accept limit),
# each seen in the device's answer read back into the window, the Coin
# Teaching dialog, the Options dialog confirmed (the four settings stored in
# the registry, also when a box holds no number) and its port search, the
# system menu's entries, and "Quit" (which first stops polling, then stays
# open while a box holds no number). A second run against a device with
# four sorter paths per coin checks the long sorter commands, a third one
# against a device that takes coins the escrow buttons.
# Needs wine, xvfb-run and the MinGW-w64 compiler.
#
#   tests/gui/pollbench_smoke.sh [MINGW_BUILD_DIR] [NATIVE_BUILD_DIR]
#
# The screenshots go to NATIVE_BUILD_DIR/gui-screenshots/pollbench (SHOTS=DIR elsewhere).
set -euo pipefail
PROGRAM=pollbench
NAME=pollbench
source "$(dirname "$0")/gui_env.sh"

EXE="$MINGW_BUILD/demo/window/Pollbench.exe"
SIM="$NATIVE_BUILD/sim/standard-sim"
[[ -x "$SIM" ]] || fail "no $SIM (build the native preset)"
[[ -f "$EXE" ]] || fail "no $EXE (build the mingw preset)"
OPTIONS_KEY='HKCU\Software\VXL\Pollbench\Options'

# Controls of coin row P: inhibit box, Sort box, count.
inhibit_box() { echo "IDC_ROW_INHIBIT@$1"; }
sort_box() { echo "IDC_ROW_SORT@$1"; }

# wait_identified WHAT: the status box shows the identification text of
# $expected within 15 seconds, or the test fails naming WHAT.
wait_identified() { await 15 "$1: status box" "$expected" text IDC_STATUS; }

# stored_options WANTED: the registry holds WANTED (a part of its listing) within a few seconds.
stored_options() {
  local stored=""
  for _ in $(seq 20); do
    stored=$(wine reg query "$OPTIONS_KEY" 2>/dev/null | tr -d '\r' || true)
    [[ "$stored" == *"$1"* ]] && break
    sleep 0.5
  done
  echo "$stored"
}

"$SIM" --link "$WORK/acceptor" --manufacturer ABC --product XYZ --serial 123 --revision 52.02 --flags 0x70 \
  >"$WORK/sim.log" 2>&1 &
SIM_PID=$!
await_link "$WORK/acceptor"
map_com1 "$(readlink "$WORK/acceptor")"
wine "$EXE" --trace "$WORK/wire.trace" >>"$WORK/exe.log" 2>&1 &

probe wait 30 || fail "the main window did not open"

expected=$'ABC - XYZ\nSN: 123\nSoftw.: 52.02\nEML'
wait_identified "first identification"
grep -q 'host .*| Simple poll to 2' "$WORK/wire.trace" || fail "the trace holds no simple poll"
grep -q ' echo   02 00 01 FE FF | echo of the request' "$WORK/wire.trace" || fail "the trace holds no echo"

[[ "$(probe text IDC_ROW_COIN_ID@1)" == "EU005A" ]] || fail "coin 1 is '$(probe text IDC_ROW_COIN_ID@1)'"
[[ "$(probe text IDC_ESCROW)" == "0.00" ]] || fail "escrow box shows '$(probe text IDC_ESCROW)'"
[[ "$(probe checked IDC_MASTER_INHIBIT)" == "0" ]] || fail "master inhibit ticked after set-up"
for id in IDC_MASTER_INHIBIT IDC_ESCROW_RETURN IDC_ESCROW_ACCEPT IDC_MOTOR_RETURN IDC_SET_LIMIT IDC_RESIDUAL; do
  [[ "$(probe visible $id)" == "1" ]] || fail "control $id hidden on a device that offers it"
done
[[ "$(probe checked "$(inhibit_box 1)")" == "0" ]] || fail "coin 1 inhibited after set-up"
shot main-window-connected

probe click IDC_RESET_COUNTERS
sleep 0.5
[[ "$(probe text IDC_CREDIT)" == "0.00" ]] || fail "credit after Reset Counters is '$(probe text IDC_CREDIT)'"

# Inhibits: the boxes show what the device reports back, so a mask sent
# wrongly shows as the wrong boxes ticked.
probe click "$(inhibit_box 1)"
expect "coin 1 after inhibiting it" 1 checked "$(inhibit_box 1)"
probe click "$(inhibit_box 10)"
expect "coin 10 after inhibiting it" 1 checked "$(inhibit_box 10)"
sleep 0.5
for p in 2 8 9 11 16; do
  [[ "$(probe checked "$(inhibit_box $p)")" == "0" ]] || fail "coin $p inhibited along with 1 and 10"
done
[[ "$(probe checked "$(inhibit_box 1)")" == "1" ]] || fail "coin 1 not inhibited on the device"
probe click "$(inhibit_box 1)"
expect "coin 1 after enabling it again" 0 checked "$(inhibit_box 1)"
[[ "$(probe checked "$(inhibit_box 10)")" == "1" ]] || fail "coin 10 lost its inhibit"

# Default sorter path: 6 is taken; 9 is not sent and the device's 6 comes back.
probe settext IDC_DEFAULT_PATH 6
expect "default path after typing 6" 6 text IDC_DEFAULT_PATH
probe settext IDC_DEFAULT_PATH 9
expect "default path after typing 9" 6 text IDC_DEFAULT_PATH

# Sort box of coin 5: written when it loses the focus; 9 means the default path.
probe focus "$(sort_box 5)"
probe settext "$(sort_box 5)" 3
probe focus IDC_CREDIT
expect "sort box 5 after typing 3" 3 text "$(sort_box 5)"
probe focus "$(sort_box 4)"
probe settext "$(sort_box 4)" 9
probe focus IDC_CREDIT
expect "sort box 4 after typing 9" 6 text "$(sort_box 4)"
[[ "$(probe text "$(sort_box 5)")" == "3" ]] || fail "sort box 5 lost its 3"

# Sorter full: outlet 2 marked full on the device, outlet 1 not.
probe click IDC_OUTLET2_FULL
expect "outlet 2 after marking it full" 1 checked IDC_OUTLET2_FULL
[[ "$(probe checked IDC_OUTLET1_FULL)" == "0" ]] || fail "outlet 1 full along with outlet 2"

# Master inhibit: the tick is the device's answer.
probe click IDC_MASTER_INHIBIT
expect "master inhibit after ticking it" 1 checked IDC_MASTER_INHIBIT
sleep 0.5
[[ "$(probe checked IDC_MASTER_INHIBIT)" == "1" ]] || fail "the device did not keep the master inhibit"
[[ "$(probe checked "$(inhibit_box 10)")" == "1" ]] || fail "inhibits read after the master inhibit lost coin 10"
probe click IDC_MASTER_INHIBIT
expect "master inhibit after clearing it" 0 checked IDC_MASTER_INHIBIT

# Accept limit: the residual read back is the device's, the limit less nothing accepted.
probe settext IDC_ACCEPT_LIMIT 70000
probe click IDC_SET_LIMIT
expect "residual after setting the limit" 70000 text IDC_RESIDUAL
[[ "$(probe checked "$(inhibit_box 10)")" == "1" ]] || fail "Set lost the inhibits"

# Escrow and motor buttons: the escrow box stays at nothing held, the window answers.
for id in IDC_ESCROW_RETURN IDC_ESCROW_ACCEPT IDC_MOTOR_RETURN; do
  probe click $id
  expect "escrow box after button $id" "0.00" text IDC_ESCROW
done
expect "status box after the escrow and motor buttons" "$expected" text IDC_STATUS

# Credits: two coins at position 1 (0.05 each) counted in its row, in the
# credit sum and, with escrow, in the escrow box.
# pass_coin COUNT: the virtual acceptor passes a coin at position 1 and the
# window counts it. One at a time: two signals close together are one.
pass_coin() {
  kill -USR1 "$SIM_PID"
  expect "count of coin 1 after a coin" "$1" text "IDC_ROW_COUNT@1"
}
pass_coin 1
pass_coin 2
expect "credit after two coins" "0.10" text IDC_CREDIT
expect "escrow after two coins" "0.10" text IDC_ESCROW

# The device resets: the question is modal to the window. "No" keeps the
# connection and counts on from the new counter.
kill -USR2 "$SIM_PID"
question="The device was reset. Reinitialize it?"
probe in Pollbench wait 10 || fail "no question after the device reset"
[[ "$(probe in Pollbench boxtext)" == "$question" ]] || fail "reset question says '$(probe in Pollbench boxtext)'"
[[ "$(probe in Pollbench modal)" == 1 ]] || fail "the reset question is not modal to the main window"
shot reset-question Pollbench
probe dismiss Pollbench IDNO
pass_coin 3
expect "credit after No" "0.15" text IDC_CREDIT
[[ "$(probe text IDC_STATUS)" == "$expected" ]] || fail "connection lost after No"
# "Yes" identifies the device anew, which starts the counts again.
pass_coin 4
kill -USR2 "$SIM_PID"
probe in Pollbench wait 10 || fail "no question after the second device reset"
probe dismiss Pollbench IDYES
wait_identified "no new identification after Yes"
expect "count of coin 1 after Yes" 0 text "IDC_ROW_COUNT@1"
expect "credit after Yes" "0.00" text IDC_CREDIT

# Coin Teaching: start shows the device busy, abort shows it aborted.
probe command ID_SPECIAL_TEACH
probe in "Coin Teaching" wait 10 || fail "the Coin Teaching dialog did not open"
shot teach-dialog "Coin Teaching"
probe in "Coin Teaching" settext IDC_TEACH_CHANNEL 3
probe in "Coin Teaching" click IDC_TEACH_START
expect "teach button after Start" "Abort" in "Coin Teaching" text IDC_TEACH_START
expect "teach status after Start" "Busy: 0 Coins" in "Coin Teaching" text IDC_TEACH_STATUS
[[ -n "$(probe in "Coin Teaching" text IDC_TEACH_PROGRESS)" ]] || fail "no teach progress row"
probe in "Coin Teaching" click IDC_TEACH_START
expect "teach button after Abort" "Start" in "Coin Teaching" text IDC_TEACH_START
expect "teach status after Abort" "Teach aborted" in "Coin Teaching" text IDC_TEACH_STATUS
probe answer "Coin Teaching" IDOK || fail "Coin Teaching did not close"
probe in "Coin Teaching" gone 10 || fail "Coin Teaching stayed open"
# "Close" while teaching aborts the teach: opened again, the dialog shows the
# device's last result, which is no longer busy.
probe command ID_SPECIAL_TEACH
probe in "Coin Teaching" wait 10 || fail "the Coin Teaching dialog did not open again"
expect "teach status on opening" "Teach aborted" in "Coin Teaching" text IDC_TEACH_STATUS
probe in "Coin Teaching" settext IDC_TEACH_CHANNEL 4
probe in "Coin Teaching" click IDC_TEACH_START
expect "teach status after the second Start" "Busy: 0 Coins" in "Coin Teaching" text IDC_TEACH_STATUS
probe answer "Coin Teaching" IDOK || fail "Coin Teaching did not close while teaching"
probe in "Coin Teaching" gone 10 || fail "Coin Teaching stayed open while teaching"
probe command ID_SPECIAL_TEACH
probe in "Coin Teaching" wait 10 || fail "the Coin Teaching dialog did not open a third time"
expect "teach status after closing while teaching" "Teach aborted" in "Coin Teaching" text IDC_TEACH_STATUS
[[ "$(probe in "Coin Teaching" text IDC_TEACH_START)" == "Start Teaching" ]] || fail "teach button not at its first text"
probe answer "Coin Teaching" IDCANCEL || fail "Coin Teaching did not close with Escape"
probe in "Coin Teaching" gone 10 || fail "Coin Teaching stayed open after Escape"

probe command ID_OPTIONS
probe in Options wait 10 || fail "the Options dialog did not open"
shot options-dialog Options
probe answer Options IDOK
stored=$(stored_options Flags)
for value in "ComPort    REG_DWORD    0x1" "PollIntervall    REG_DWORD    0xc8" \
             "DeviceAddress    REG_DWORD    0x2" "Flags    REG_DWORD    0x0"; do
  [[ "$stored" == *"$value"* ]] || fail "registry lacks '$value': $stored"
done

# Polling starts again after the dialog: the device is identified anew.
wait_identified "no new identification after Options"
# What the device kept comes back with the identification.
expect "default path after the new identification" 6 text IDC_DEFAULT_PATH
expect "sort box 5 after the new identification" 3 text "$(sort_box 5)"
expect "sort box 4 after the new identification" 6 text "$(sort_box 4)"
expect "outlet 2 after the new identification" 1 checked IDC_OUTLET2_FULL
[[ "$(probe checked IDC_OUTLET1_FULL)" == "0" ]] || fail "outlet 1 full after the new identification"

# Options' port search finds the device on COM1 whatever the field held,
# also when Options took the focus from a Sort box: polling has stopped
# and the port stays closed for the search.
probe focus "$(sort_box 5)"
probe command ID_OPTIONS
probe in Options wait 10 || fail "the Options dialog did not open for the search"
probe in Options settext IDC_OPT_COM_PORT 7
probe in Options click IDC_OPT_SEARCH
expect "search status" "device found on COM1" in Options text IDC_OPT_SEARCH_STATUS
expect "COM-Port field after the search" 1 in Options text IDC_OPT_COM_PORT
probe answer Options IDCANCEL || fail "the Options dialog did not close after the search"
wait_identified "no new identification after the search"
# The Sort box has the focus again; leaving it writes its paths as always.
probe focus IDC_CREDIT
expect "sort box 5 after leaving it again" 3 text "$(sort_box 5)"

# "OK" with an address that is no number: reported twice, the dialog stays
# open, but the selected interval is stored all the same.
probe command ID_OPTIONS
probe in Options wait 10 || fail "the Options dialog did not open for a wrong address"
probe in Options select IDC_OPT_POLLING 6
probe in Options settext IDC_OPT_ADDRESS x
probe answer Options IDOK
probe in Pollbench wait 10 || fail "no message about the address"
[[ "$(probe in Pollbench boxtext)" == "Geben Sie bitte eine ganze Zahl zwischen 0 und 255 ein." ]] ||
  fail "the message about the address says '$(probe in Pollbench boxtext)'"
shot number-message Pollbench
probe dismiss Pollbench IDOK || fail "no message about the address"
probe dismiss Pollbench IDOK || fail "no second message about the address"
stored=$(stored_options "PollIntervall    REG_DWORD    0x320")
for value in "ComPort    REG_DWORD    0x1" "PollIntervall    REG_DWORD    0x320" \
             "DeviceAddress    REG_DWORD    0x2" "Flags    REG_DWORD    0x0"; do
  [[ "$stored" == *"$value"* ]] || fail "registry after a wrong address lacks '$value': $stored"
done
probe in Options wait 1 || fail "the Options dialog closed with a wrong address"
probe answer Options IDCANCEL
probe in Options gone 10 || fail "the Options dialog stayed open after Cancel"
wait_identified "no new identification after the wrong address"

# The system menu's own entries: the about box and the Options dialog.
probe syscommand IDM_ABOUTBOX
probe in Pollbench wait 10 || fail "the about box did not open from the system menu"
shot about-box Pollbench
probe answer Pollbench IDOK
probe syscommand ID_OPTIONS
probe answer Options IDCANCEL || fail "the Options dialog did not open from the system menu"

# "Quit" with a limit that is no number: reported, the window stays, and
# polling has ended: a device that goes away is not noticed any more.
# Closing Options started polling again: the identification refreshes every
# field, so the wrong limit goes in after it.
probe in Options gone 10 || fail "the Options dialog from the system menu stayed open"
wait_identified "no new identification after the system menu's Options"
probe settext IDC_ACCEPT_LIMIT x
[[ "$(probe text IDC_ACCEPT_LIMIT)" == x ]] || fail "the limit box did not take the wrong limit"
probe click IDC_QUIT
probe dismiss Pollbench IDOK || fail "no message about the limit"
probe gone 2 && fail "Quit closed the window with a wrong limit"
kill "$SIM_PID"
wait "$SIM_PID" 2>/dev/null || true
SIM_PID=""
sleep 4
[[ "$(probe text IDC_ROW_COIN_ID@1)" == "EU005A" ]] || fail "still polling after Quit: coin 1 is '$(probe text IDC_ROW_COIN_ID@1)'"
probe settext IDC_ACCEPT_LIMIT 0
probe click IDC_QUIT
probe gone 10 || fail "Quit did not close the window"

# A device with four sorter paths per coin: its replies switch the long
# sorter commands on, and a Sort box is written with all four paths, those
# not typed taken from the default path.
# run_again NAME SIM-OPTIONS...: a fresh virtual acceptor on COM1 and a
# fresh Pollbench that has identified it.
run_again() {
  local name=$1
  shift
  "$SIM" --link "$WORK/$name" --manufacturer ABC --product XYZ --serial 123 --revision 52.02 --flags 0x70 "$@" \
    >"$WORK/$name.log" 2>&1 &
  SIM_PID=$!
  await_link "$WORK/$name"
  map_com1 "$(readlink "$WORK/$name")"
  wine "$EXE" >>"$WORK/exe.log" 2>&1 &
  probe wait 30 || fail "the main window did not open for $name"
  wait_identified "$name was not identified"
}
run_again long-sorter --long-sorter
probe focus "$(sort_box 5)"
probe settext "$(sort_box 5)" 3
probe focus IDC_CREDIT
expect "long sort box 5 after typing 3" 3111 text "$(sort_box 5)"
probe settext IDC_DEFAULT_PATH 4
expect "default path of the second device" 4 text IDC_DEFAULT_PATH
probe focus "$(sort_box 6)"
probe settext "$(sort_box 6)" 27
probe focus IDC_CREDIT
expect "long sort box 6 after typing 27" 2744 text "$(sort_box 6)"
[[ "$(probe text "$(sort_box 5)")" == "3111" ]] || fail "long sort box 5 changed with the default path"
probe command ID_OPTIONS
probe in Options wait 10 || fail "the Options dialog did not open for the second device"
expect "long sorter box in Options" 1 in Options checked IDC_OPT_LONG_SORTER
# The interval stored by the first run is this start's.
expect "polling entry stored by the last run" "800 ms" in Options combo IDC_OPT_POLLING
# "Search" with an address that is no number: reported, then the search runs
# with the address as it was and the box shows it again.
probe in Options settext IDC_OPT_ADDRESS x
probe in Options click IDC_OPT_SEARCH
probe dismiss Pollbench IDOK || fail "no message about the address before the search"
expect "search status with a wrong address" "device found on COM1" in Options text IDC_OPT_SEARCH_STATUS
expect "address box after the search" 2 in Options text IDC_OPT_ADDRESS
probe answer Options IDCANCEL
probe in Options gone 10 || fail "the Options dialog stayed open for the second device"
probe click IDC_QUIT
probe gone 10 || fail "Quit did not close the window of the second device"
kill "$SIM_PID"
wait "$SIM_PID" 2>/dev/null || true

# A device that takes coins on its own: the escrow fills; with the master
# inhibit ticked it stays as it is, and "Accept" and "Return" empty it
# while the credit stays.
# The variant with opto states: its marks stand on the device picture; a
# coin worth 10000.00 at position 1 fills the escrow box with large sums.
expected=$'ABC - QX1\nSN: 123\nSoftw.: 52.02\nEML'
run_again coins --coin-rate 5 --product QX1 --opto 3 --coin 1=EU1M0A:1000000
expect "Coin Present mark on the variant" 1 visible IDC_COIN_PRESENT
expect "Trash open mark on the variant" 1 visible IDC_TRASH_OPEN
[[ "$(probe visible IDC_TRASH_CYCLE)" == 1 ]] || fail "no Trash cycle on the variant"
held=""
for _ in $(seq 60); do
  held=$(probe text IDC_ESCROW)
  [[ ${#held} -ge 8 ]] && break
  sleep 0.25
done
[[ ${#held} -ge 8 ]] || fail "the escrow never reached 10000.00: '$held'"
shot main-window-escrow-and-marks
escrow_then_button() {
  local button=$1 held="" credit=""
  probe click IDC_MASTER_INHIBIT
  expect "master inhibit before button $button" 0 checked IDC_MASTER_INHIBIT
  for _ in $(seq 40); do
    held=$(probe text IDC_ESCROW)
    [[ -n "$held" && "$held" != "0.00" ]] && break
    sleep 0.25
  done
  [[ -n "$held" && "$held" != "0.00" ]] || fail "no coin came into the escrow"
  probe click IDC_MASTER_INHIBIT
  expect "master inhibit after coins" 1 checked IDC_MASTER_INHIBIT
  sleep 2.5
  credit=$(probe text IDC_CREDIT)
  [[ "$(probe text IDC_ESCROW)" != "0.00" ]] || fail "the escrow emptied before button $button"
  probe click "$button"
  expect "escrow after button $button" "0.00" text IDC_ESCROW
  [[ "$(probe text IDC_CREDIT)" == "$credit" ]] || fail "credit changed from '$credit' with button $button"
}
probe click IDC_MASTER_INHIBIT
expect "master inhibit at the start of the coins" 1 checked IDC_MASTER_INHIBIT
escrow_then_button IDC_ESCROW_ACCEPT
escrow_then_button IDC_ESCROW_RETURN
# Teaching with coins arriving: the device completes the teach by itself and
# the button turns back to "Start" without a further request.
probe command ID_SPECIAL_TEACH
probe in "Coin Teaching" wait 10 || fail "the Coin Teaching dialog did not open with coins"
probe in "Coin Teaching" settext IDC_TEACH_CHANNEL 2
probe in "Coin Teaching" click IDC_TEACH_START
expect "teach status with coins" "Teach complete" in "Coin Teaching" text IDC_TEACH_STATUS
expect "teach button after completion" "Start" in "Coin Teaching" text IDC_TEACH_START
probe answer "Coin Teaching" IDOK || fail "Coin Teaching did not close after completion"
probe in "Coin Teaching" gone 10 || fail "Coin Teaching stayed open after completion"
probe click IDC_QUIT
probe gone 10 || fail "Quit did not close the window of the third device"
echo "pollbench smoke test passed"
