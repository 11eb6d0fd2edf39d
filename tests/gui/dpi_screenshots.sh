#!/usr/bin/env bash
# Both windows at 96 and at 144 dots per inch (Wine's LogPixels), each
# against its virtual acceptor, with a screenshot of each under
# gui-screenshots/dpi/: the window opens at that size, every control lies
# inside it, the texts shown fit their controls (the probe's text extents),
# Ducat Console's coin list fits its columns and Pollbench's outlet pictures
# stand in a row, each above its total.
#
#   tests/gui/dpi_screenshots.sh [MINGW_BUILD_DIR] [NATIVE_BUILD_DIR]
set -euo pipefail
PROGRAM=ducat
NAME=dpi
# A display of a 150 % desktop: the window at 144 dpi fits it whole.
SCREEN=1920x1200
source "$(dirname "$0")/gui_env.sh"

DUCAT_EXE="$MINGW_BUILD/ui/Ducat Console.exe"
POLLBENCH_EXE="$MINGW_BUILD/demo/window/Pollbench.exe"
DUCAT_SIM="$NATIVE_BUILD/sim/ducat-sim"
STANDARD_SIM="$NATIVE_BUILD/sim/standard-sim"
for needed in "$DUCAT_SIM" "$STANDARD_SIM"; do [[ -x "$needed" ]] || fail "no $needed (build the native preset)"; done
for needed in "$DUCAT_EXE" "$POLLBENCH_EXE"; do [[ -f "$needed" ]] || fail "no $needed (build the mingw preset)"; done
# The dialogs' fonts, which the probe cannot read from another process under Wine.
DUCAT_FONT=(Tahoma 9 400)
POLLBENCH_FONT=("MS Shell Dlg" 8 400)
BEST_COIN_FONT=("Microsoft Sans Serif" -30 900)

# Wine takes the system's dots per inch from here when a program starts.
set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}

# geometry ID: "W H X Y" of the main window (no ID) or of control ID.
geometry() { probe rect "$@" | tr 'x+' '  '; }

# inside WHAT ID...: the main window lies on the display and each control
# wholly inside the window.
inside() {
  local what=$1 ww wh wx wy w h x y id
  shift
  read -r ww wh wx wy <<<"$(geometry)"
  ((wx >= 0 && wy >= 0 && wx + ww <= ${SCREEN%x*} && wy + wh <= ${SCREEN#*x})) ||
    fail "$what: the window ${ww}x$wh+$wx+$wy lies off the ${SCREEN} display"
  for id in "$@"; do
    read -r w h x y <<<"$(geometry "$id")"
    ((x >= wx && y >= wy && x + w <= wx + ww && y + h <= wy + wh)) ||
      fail "$what: $id at ${w}x$h+$x+$y lies outside the window ${ww}x$wh+$wx+$wy"
  done
}

# fits WHAT ID FONT...: the control's text fits it in that font.
fits() {
  local what=$1 id=$2 answer
  shift 2
  answer=$(probe fits "$id" "$@") || fail "$what: the text of $id does not fit it (text, room: $answer)"
}

# --- Ducat Console: monitoring, so every result field holds a text.
ducat_at() {
  local dpi=$1 caption='Reading from file "Ducat Console.cnf"' id
  PROGRAM=ducat
  "$DUCAT_SIM" --link "$WORK/acceptor-$dpi" --coins-per-minute 600 >"$WORK/ducat-sim-$dpi.log" 2>&1 &
  SIM_PID=$!
  await_link "$WORK/acceptor-$dpi"
  map_com1 "$WORK/acceptor-$dpi"
  mkdir -p "$WORK/ducat-$dpi"
  (cd "$WORK/ducat-$dpi" && exec wine "$DUCAT_EXE" >>"$WORK/exe.log" 2>&1) &
  EXE_PID=$!
  probe in "$caption" wait 30 || fail "$dpi dpi: no box for the missing configuration"
  probe answer "$caption" IDOK
  probe wait 30 || fail "$dpi dpi: the main window did not open"
  expect "$dpi dpi: START after the automatic run" 1 enabled IDC_START
  probe command IDM_MAIN_SETTINGS
  probe in "Main Settings" wait 10 || fail "$dpi dpi: Main Settings did not open"
  probe in "Main Settings" select IDC_PORT_LIST 0
  shot "ducat-console-main-settings-$dpi" "Main Settings"
  probe dismiss "Main Settings" IDOK
  probe click IDC_START
  for _ in $(seq 60); do
    [[ -n "$(probe text IDC_BEST_ERRORS)" && -n "$(probe text IDC_NEXT_ERRORS)" ]] && break
    sleep 0.25
  done
  [[ -n "$(probe text IDC_BEST_ERRORS)" ]] || fail "$dpi dpi: no coin result shown"
  shot "ducat-console-$dpi"

  inside "$dpi dpi" IDC_IDENTITY_LINE IDC_DEVICE_COIN_LIST IDC_BEST_COIN IDC_BEST_ERRORS IDC_NEXT_COIN \
    IDC_NEXT_ERRORS IDC_RESULT_BUFFER IDC_EDIT_SELECTED_COIN IDC_STOP IDC_START IDC_STATUS_LINE
  for id in IDC_BEST_ERRORS IDC_NEXT_ERRORS IDC_RESULT_BUFFER IDC_NEXT_COIN IDC_EDIT_SELECTED_COIN; do
    fits "$dpi dpi" "$id" "${DUCAT_FONT[@]}"
  done
  # The largest font the best coin takes, with the widest identifier.
  fits "$dpi dpi" IDC_BEST_COIN "${BEST_COIN_FONT[@]}" " RU1K0B"
  probe listfits IDC_DEVICE_COIN_LIST >"$WORK/list-$dpi.txt" ||
    fail "$dpi dpi: the coin list does not fit its columns: $(tr '\n' ';' <"$WORK/list-$dpi.txt")"
  probe click IDC_STOP
  expect "$dpi dpi: START after STOP" 1 enabled IDC_START
  fits "$dpi dpi" IDC_STATUS_LINE "${DUCAT_FONT[@]}"
  kill "$EXE_PID" "$SIM_PID" 2>/dev/null || true
  EXE_PID="" SIM_PID=""
}

# --- Pollbench: identified, its pictures in place.
pollbench_at() {
  local dpi=$1 id previous=0 w h x y dw dh dx dy tw th tx ty p
  PROGRAM=pollbench
  "$STANDARD_SIM" --link "$WORK/standard-$dpi" >"$WORK/standard-sim-$dpi.log" 2>&1 &
  SIM_PID=$!
  await_link "$WORK/standard-$dpi"
  map_com1 "$(readlink "$WORK/standard-$dpi")"
  wine "$POLLBENCH_EXE" >>"$WORK/exe.log" 2>&1 &
  EXE_PID=$!
  probe wait 30 || fail "$dpi dpi: Pollbench's window did not open"
  for _ in $(seq 60); do [[ "$(probe text IDC_STATUS)" == *SN:* ]] && break; sleep 0.25; done
  [[ "$(probe text IDC_STATUS)" == *SN:* ]] || fail "$dpi dpi: Pollbench identified no device"
  shot "pollbench-$dpi"

  inside "$dpi dpi" IDC_STATUS IDC_REJECT_IDLE IDC_REJECT_TOTAL IDC_RESET_COUNTERS IDC_CREDIT
  for p in 1 2 3 4 5; do inside "$dpi dpi" "IDC_OUTLET${p}_IDLE" "IDC_OUTLET${p}_TOTAL"; done
  fits "$dpi dpi" IDC_STATUS "${POLLBENCH_FONT[@]}" "$(probe text IDC_STATUS | head -n1)"
  # The outlets stand left to right without overlapping, each above its total.
  for id in IDC_REJECT IDC_OUTLET1 IDC_OUTLET2 IDC_OUTLET3 IDC_OUTLET4 IDC_OUTLET5; do
    read -r w h x y <<<"$(geometry "${id}_IDLE")"
    read -r tw th tx ty <<<"$(geometry "${id}_TOTAL")"
    ((x >= previous)) || fail "$dpi dpi: the picture of $id overlaps the one left of it"
    ((y + h <= ty)) || fail "$dpi dpi: the picture of $id (${w}x$h+$x+$y) reaches into its total (+$tx+$ty)"
    previous=$((x + w))
  done
  kill "$EXE_PID" "$SIM_PID" 2>/dev/null || true
  EXE_PID="" SIM_PID=""
}

for dpi in 96 144; do
  set_dpi "$dpi"
  ducat_at "$dpi"
  pollbench_at "$dpi"
done
echo "screenshots in $SHOT_DIR"
