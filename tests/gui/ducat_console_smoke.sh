#!/usr/bin/env bash
# Smoke test of "Ducat Console.exe" under Wine against the virtual acceptor,
# seen from outside as the operator sees it: the first start without a
# configuration file and its box, the automatic START, the acceptor's port,
# speed and address chosen in "Main Settings" (and kept there), the identity
# line byte for byte, the 16 coin rows, monitored coins in the best and next
# fields (the large font for an accepted coin), STOP and START, the divider
# and maximum-errors dialogs clamping what the acceptor then reports, the
# coin description dialog writing a description into the acceptor, "Exit"
# writing a configuration file that reads back, and a second start that
# connects with those settings. START clears the last run's status line,
# a double click on it shows its history, and the result fields, the best
# coin in the large font, the button captions and the coin list's columns
# hold their widest texts whole. Needs wine, Xvfb, ImageMagick's import and
# both builds (the MinGW one for the programs and the probe).
#
#   tests/gui/ducat_console_smoke.sh [MINGW_BUILD_DIR] [NATIVE_BUILD_DIR]
set -euo pipefail
PROGRAM=ducat
NAME=ducat-console
source "$(dirname "$0")/gui_env.sh"

EXE="$MINGW_BUILD/ui/Ducat Console.exe"
SIM="$NATIVE_BUILD/sim/ducat-sim"
DUCAT="$NATIVE_BUILD/ui/ducat"
MAKE_DESCRIPTION="$NATIVE_BUILD/tests/gui/gui_coin_description"
SERIAL=20240117
SERIAL_TEXT=GUI-SMOKE-7
ADDRESS=3
SPEED_ENTRY=4 # 19200
IDENTITY="Addr= $ADDRESS,  Serial= $SERIAL \"$SERIAL_TEXT\",  Manufacture= \"VIRTUAL\",  Category= \"Coin Acceptor\",  Build= \"Virtual build 1\",  Revision= \"2.04\""
THREAD_STOPPED="COM_Thread: Thread Stopped"
LIST=IDC_DEVICE_COIN_LIST
COLUMN_COIN=1
COLUMN_DIVIDER=2
# Capitals of the 30-unit font stand about 21 pixels high, of the 15-unit one about 11.
LARGE_TEXT_PIXELS=17
# The fonts texts are measured in (Wine keeps fonts per process, so the probe
# makes them from these): the template's and the best coin's accepted one.
DIALOG_FONT=(Tahoma 9 400)
LARGE_FONT=("Microsoft Sans Serif" -30 900)
# The widest error counts: a byte each, and their sum.
WIDEST_ERRORS="Stat (255) + Neural (255) = 510"
WIDEST_BUFFER="Buffer (A.B): 255.255    255.255    255.255    255.255    255.255    Cnt = 255"
HISTORY="Status Line History"
TIMED_LINE='^[0-9]{2}:[0-9]{2}:[0-9]{2}\.[0-9]{3}  '

for needed in "$SIM" "$DUCAT" "$MAKE_DESCRIPTION"; do [[ -x "$needed" ]] || fail "no $needed (build the native preset)"; done
[[ -f "$EXE" ]] || fail "no $EXE (build the mingw preset)"

"$SIM" --link "$WORK/acceptor" --sim-serial $SERIAL --sim-serial-text "$SERIAL_TEXT" --sim-address $ADDRESS \
  --coins-per-minute 90 >"$WORK/sim.log" 2>&1 &
SIM_PID=$!
await_link "$WORK/acceptor"
map_com1 "$WORK/acceptor"

mkdir -p "$WORK/run/Export" "$WORK/run/Coins Stat"
"$MAKE_DESCRIPTION" "$WORK/run/Export/gui.tea"
cd "$WORK/run"

start_program() {
  wine "$EXE" "$@" >>"$WORK/exe.log" 2>&1 &
  EXE_PID=$!
}

# ends_program: Exit, confirmed; the program ends.
end_program() {
  probe command IDM_EXIT
  probe in "Exit Application" wait 10 || fail "no exit confirmation"
  # The box may be found before its text is in.
  expect "the exit box's text" "Do you really want to close all connections and terminate the application?" \
    in "Exit Application" boxtext
  [[ -n "${1:-}" ]] && shot "$1" "Exit Application"
  probe answer "Exit Application" IDOK
  for _ in $(seq 150); do kill -0 "$EXE_PID" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$EXE_PID" 2>/dev/null && fail "the program did not end after Exit"
  EXE_PID=""
}

# stop_run: STOP, and the window back at rest.
stop_run() {
  probe click IDC_STOP
  expect "START after STOP" 1 enabled IDC_START
  expect "STOP after STOP" 0 enabled IDC_STOP
  expect "status line after STOP" "$THREAD_STOPPED" text IDC_STATUS_LINE
}

# fits WHAT ID [FONT... [TEXT]]: the control's text (or TEXT) shows whole in it.
fits() {
  local what=$1 got
  shift
  got=$(probe fits "$@") || fail "$what is cut: text width, height and room width, height '$got'"
}

# coin_ids: the coins of the acceptor's table, one a line.
coin_ids() {
  local r id
  for r in $(seq 0 15); do
    id=$(probe cell $LIST "$r" $COLUMN_COIN)
    [[ "$id" != " " && -n "$id" ]] && echo "$id"
  done
  return 0
}

# await_identity WHAT: the identity line shows the acceptor.
await_identity() { await 20 "$1: identity line" "$IDENTITY" text IDC_IDENTITY_LINE; }

# await_cell WHAT ROW COLUMN WANTED: a cell of the coin list becomes WANTED.
await_cell() { await 15 "$1: row $2 column $3" "$4" cell $LIST "$2" "$3"; }

# --- First start: no configuration file, so its box comes first.
start_program
caption='Reading from file "Ducat Console.cnf"'
probe in "$caption" wait 30 || fail "no box for the missing configuration"
[[ "$(probe in "$caption" boxtext)" == 'Configuration file "Ducat Console.cnf" not found. Variables are set to default values.' ]] ||
  fail "first start box says '$(probe in "$caption" boxtext)'"
shot first-start-box "$caption"
probe answer "$caption" IDOK
probe wait 30 || fail "the main window did not open"

# START was pressed by the window itself: a run went to the default port
# and address, found no acceptor there and ended.
expect "status line after the automatic START" "$THREAD_STOPPED" text IDC_STATUS_LINE
expect "START after the automatic run" 1 enabled IDC_START
[[ "$(probe enabled IDC_STOP)" == 0 ]] || fail "STOP enabled after the automatic run ended"
shot main-window-first-start

# A double click on the status line shows its last lines with their times:
# the reason the run ended stays readable under "Thread Stopped".
probe doubleclick IDC_STATUS_LINE
probe in "$HISTORY" wait 10 || fail "no status line history after a double click"
[[ "$(probe in "$HISTORY" modal)" == 1 ]] || fail "the status line history is not modal"
history=$(probe in "$HISTORY" text IDC_STATUS_HISTORY_TEXT)
[[ "$(tail -n1 <<<"$history")" =~ ${TIMED_LINE}${THREAD_STOPPED}$ ]] || fail "history ends '$(tail -n1 <<<"$history")'"
[[ $(grep -cE "$TIMED_LINE" <<<"$history") -ge 2 ]] || fail "no reason before '$THREAD_STOPPED' in the history: '$history'"
[[ $(grep -cvE "$TIMED_LINE" <<<"$history") == 0 ]] || fail "history lines without a time: '$history'"
shot status-history "$HISTORY"
probe dismiss "$HISTORY" IDCANCEL

# --- Main Settings: port, speed and address; the dialog keeps the choice.
probe command IDM_MAIN_SETTINGS
probe in "Main Settings" wait 10 || fail "Main Settings did not open"
ports=$(probe in "Main Settings" combo IDC_PORT_LIST)
[[ "$ports" == COM* ]] || fail "no port preselected after a start without configuration"
probe in "Main Settings" select IDC_PORT_LIST 0
probe in "Main Settings" select IDC_SPEED_LIST $SPEED_ENTRY
probe in "Main Settings" settext IDC_NETWORK_ADDRESS $ADDRESS
shot main-settings "Main Settings"
probe dismiss "Main Settings" IDOK
for typed in 256 4294967296 99999999999999999999; do
  probe command IDM_MAIN_SETTINGS
  probe in "Main Settings" wait 10 || fail "Main Settings did not open again"
  [[ "$(probe in "Main Settings" combo IDC_PORT_LIST)" == COM1 ]] || fail "the saved COM1 is not preselected"
  [[ "$(probe in "Main Settings" combo IDC_SPEED_LIST)" == 19200 ]] || fail "the saved speed is not shown"
  [[ "$(probe in "Main Settings" text IDC_NETWORK_ADDRESS)" == $ADDRESS ]] || fail "address after '$typed' is not $ADDRESS"
  probe in "Main Settings" type IDC_NETWORK_ADDRESS $typed
  probe dismiss "Main Settings" IDOK
done

# --- START: identity, coin table, monitored coins; the last run's
# "Thread Stopped" is gone.
probe click IDC_START
await_identity "after START with the settings"
[[ "$(probe text IDC_STATUS_LINE)" != "$THREAD_STOPPED" ]] || fail "the status line still says '$THREAD_STOPPED' while monitoring"
[[ "$(probe rows $LIST)" == 16 ]] || fail "the coin list does not show 16 rows"
listed=$(probe listfits $LIST) || fail "the coin list's texts or columns are cut: $listed"
[[ "$(probe enabled IDC_START)" == 0 ]] || fail "START is enabled while monitoring"
[[ "$(probe enabled IDC_STOP)" == 1 ]] || fail "STOP is disabled while monitoring"
# An accepted coin shows in the large font, a coin not accepted in the
# small one: seen as the height of the text on screen.
height=0
for _ in $(seq 80); do
  height=$(ink_height IDC_BEST_COIN)
  [[ "$height" -ge $LARGE_TEXT_PIXELS ]] && break
  sleep 0.25
done
[[ "$height" -ge $LARGE_TEXT_PIXELS ]] || fail "no accepted coin in the large font: text $height pixels high"
shot main-window-accepted-coin
# Every coin of the acceptor's table shows whole as an accepted best coin.
while read -r id; do
  fits "best coin $id in the large font" IDC_BEST_COIN "${LARGE_FONT[@]}" " $id"
  fits "next coin $id" IDC_NEXT_COIN "${DIALOG_FONT[@]}" " $id"
done < <(coin_ids)
for _ in $(seq 80); do
  height=$(ink_height IDC_BEST_COIN)
  [[ "$height" -gt 0 && "$height" -lt $LARGE_TEXT_PIXELS ]] && break
  sleep 0.25
done
[[ "$height" -gt 0 && "$height" -lt $LARGE_TEXT_PIXELS ]] || fail "no coin in the small font after the accepted one: $height pixels"
[[ "$(probe text IDC_BEST_COIN)" =~ ^\ [A-Z0-9.]{6}$ ]] || fail "best coin '$(probe text IDC_BEST_COIN)'"
[[ "$(probe text IDC_BEST_ERRORS)" =~ ^Stat\ \([0-9]+\)\ \+\ Neural\ \([0-9]+\)\ =\ [0-9]+$ ]] || fail "best errors '$(probe text IDC_BEST_ERRORS)'"
[[ "$(probe text IDC_NEXT_ERRORS)" =~ ^Stat\ \([0-9]+\)\ \+\ Neural\ \([0-9]+\)\ =\ [0-9]+$ ]] || fail "next errors '$(probe text IDC_NEXT_ERRORS)'"
[[ "$(probe text IDC_RESULT_BUFFER)" == "Buffer (A.B): "*"Cnt = "* ]] || fail "result buffer '$(probe text IDC_RESULT_BUFFER)'"
shot main-window-monitoring
fits "the best coin's error counts" IDC_BEST_ERRORS "${DIALOG_FONT[@]}"
stop_run

# The widest texts the result fields can be given show whole.
for field in IDC_BEST_ERRORS IDC_NEXT_ERRORS; do
  probe settext $field "$WIDEST_ERRORS"
  fits "$field at its widest" $field "${DIALOG_FONT[@]}"
done
probe settext IDC_RESULT_BUFFER "$WIDEST_BUFFER"
fits "the result buffer at its widest" IDC_RESULT_BUFFER "${DIALOG_FONT[@]}"
fits "the Edit Selected Coin button" IDC_EDIT_SELECTED_COIN "${DIALOG_FONT[@]}"
shot main-window-widest-results

# --- Divider and inherit: 300 reaches the acceptor as 255, 0 as 1; the
# list shows what the acceptor reports after the write.
row=""
for r in $(seq 0 15); do
  [[ "$(probe cell $LIST "$r" $COLUMN_COIN)" != " " ]] && { row=$r; break; }
done
[[ -n "$row" ]] || fail "no coin in the acceptor's table"
for pair in 300:255 0:1; do
  probe selectrow $LIST "$row"
  expect "Edit Selected Coin after selecting row $row" 1 enabled IDC_EDIT_SELECTED_COIN
  probe click IDC_EDIT_SELECTED_COIN
  probe in @owned wait 10 || fail "the divider dialog did not open"
  [[ "$(probe in @owned title)" == "Editing Divider or Inherit parameters for \""*"\" coin" ]] || fail "divider dialog titled '$(probe in @owned title)'"
  probe in @owned settext IDC_ERROR_DIVIDER "${pair%%:*}"
  [[ "$pair" == 300:* ]] && shot divider-dialog @owned
  probe answer @owned IDOK
  await_cell "divider typed as ${pair%%:*}" "$row" $COLUMN_DIVIDER "${pair##*:}"
  stop_run
done

# --- Maximum errors and dividers: 250, 300 and 4294967306 (too long for
# 32 bits, its low 8 bits are 10) reach the acceptor as 20, 44 and 10.
caption="Editing Maximum Errors and Dividers"
probe command IDM_OPTIONS
probe in "$caption" wait 10 || fail "the maximum errors dialog did not open"
# Typed: the first two fields take three characters, so "2500" is "250".
probe in "$caption" type IDC_MAX_ERROR 2500
probe in "$caption" type IDC_NNET_DIVIDER 300
probe in "$caption" type IDC_NUMB_STAND_DEV 4294967306
[[ "$(probe in "$caption" text IDC_MAX_ERROR)" == 250 ]] || fail "the maximum error field took '$(probe in "$caption" text IDC_MAX_ERROR)'"
probe answer "$caption" IDOK
probe in "$caption" gone 10 || fail "the maximum errors dialog stayed open"
expect "STOP during the parameter write" 1 enabled IDC_STOP
sleep 2
stop_run
probe command IDM_OPTIONS
probe in "$caption" wait 10 || fail "the maximum errors dialog did not open again"
for field in IDC_MAX_ERROR:20 IDC_NNET_DIVIDER:44 IDC_NUMB_STAND_DEV:10; do
  [[ "$(probe in "$caption" text "${field%%:*}")" == "${field##*:}" ]] ||
    fail "${field%%:*} read back as '$(probe in "$caption" text "${field%%:*}")', not ${field##*:}"
done
shot max-errors-dialog "$caption"
probe dismiss "$caption" IDCANCEL

# --- Coin description: the file box, the dialog, the 16 fragments written;
# the acceptor's row 5 (index 4) then holds the new coin.
probe command IDM_UPDATE_COIN_DESCRIPTION
probe in @owned wait 10 || fail "no file box"
shot file-box @owned
file_name_box=1148 # the file box's own name field
probe in @owned settext $file_name_box "$(winepath -w "$WORK/run/Export/gui.tea" 2>/dev/null | tr -d '\r')"
probe answer @owned IDOK
caption='"XX999Z" Coin Description'
probe in "$caption" wait 10 || fail "the coin description dialog did not open"
written=$(TZ="${TZ:-UTC}" date -d @1700000000 '+%d-%m-%Y %H:%M:%S')
for field in "IDC_DESC_DENOMINATION:999 units" "IDC_DESC_YEAR:2023" "IDC_DESC_COUNTRY:Testland" \
             "IDC_DESC_FIRM:7" "IDC_DESC_COIN_INDEX:4" "IDC_DESC_WRITTEN:$written"; do
  [[ "$(probe in "$caption" text "${field%%:*}")" == "${field#*:}" ]] ||
    fail "${field%%:*} shows '$(probe in "$caption" text "${field%%:*}")', not '${field#*:}'"
done
shot coin-description-dialog "$caption"
probe answer "$caption" IDOK
await_cell "the written coin description" 4 $COLUMN_COIN XX999Z
stop_run

end_program exit-box
[[ -s "$WORK/run/Ducat Console.cnf" ]] || fail "no configuration written at exit"
shown=$("$DUCAT" show "$WORK/run/Ducat Console.cnf")
for line in "checksum: holds" "speed index: $SPEED_ENTRY" "port index: 0" "acceptor address: $ADDRESS"; do
  [[ "$shown" == *"$line"* ]] || fail "the configuration written at exit reads back without '$line'"
done
# The two words after the current coin are 0 and 1 once the window has started.
words=$(od -An -t d4 -j 160 -N 8 "$WORK/run/Ducat Console.cnf" | tr -s ' ')
[[ "$words" == " 0 1" ]] || fail "start words in the configuration: '$words'"

# --- Second start: the configuration is read, no box, and the automatic
# START reaches the acceptor with the saved port, speed and address; the
# link's frames go into the trace file the command line names.
start_program --trace wire.trace
probe wait 30 || fail "the main window did not open the second time"
await_identity "second start"
probe in "$caption" gone 0 || true
[[ "$(probe windows)" != *'Reading from file'* ]] || fail "a configuration box at the second start"
end_program

grep -q 'host .*255\.identification' "$WORK/run/wire.trace" ||
  fail "the trace of the second start holds no identification request"
grep -q ' device [0-9A-F]' "$WORK/run/wire.trace" || fail "the trace of the second start holds no reply"

echo "PASS: $IDENTITY"
echo "screenshots: $SHOT_DIR"
