# What both window smoke scripts share, sourced by them after PROGRAM
# ("ducat" or "pollbench") and NAME are set: an Xvfb display and a Wine
# prefix of their own, both fresh; Wine in a code page 1251 locale and
# without window manager stalls; the probe; screenshots; failure reports.
#
#   SCRIPT [MINGW_BUILD_DIR] [NATIVE_BUILD_DIR]
# SHOTS=DIR keeps the screenshots there (default NATIVE_BUILD_DIR/gui-screenshots).
# SCREEN=WxH sizes the display (default 1280x900).

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
MINGW_BUILD=$(realpath "${1:-$ROOT/build/mingw}")
NATIVE_BUILD=$(realpath "${2:-$ROOT/build/native}")
PROBE_EXE="$MINGW_BUILD/tests/gui/window_probe.exe"
SHOT_DIR="${SHOTS:-$NATIVE_BUILD/gui-screenshots}/$NAME"
WORK=$(mktemp -d "/tmp/gui-$NAME.XXXXXX")
XVFB_PID=""
SIM_PID=""
EXE_PID=""

gui_cleanup() {
  [[ -n "$EXE_PID" ]] && kill "$EXE_PID" 2>/dev/null
  [[ -n "$SIM_PID" ]] && kill "$SIM_PID" 2>/dev/null
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  [[ -n "$XVFB_PID" ]] && kill "$XVFB_PID" 2>/dev/null
  if [[ -n "${KEEP:-}" ]]; then echo "kept $WORK" >&2; else rm -rf "$WORK"; fi
  return 0
}
trap gui_cleanup EXIT

probe() { wine "$PROBE_EXE" "$PROGRAM" "$@" 2>>"$WORK/probe.log" | tr -d '\r'; }
# The probe's answer in UTF-8, for texts with Russian in them.
probe_utf8() { probe "$@" | iconv -f CP1251 -t UTF-8; }

fail() {
  echo "FAIL: $*" >&2
  echo "windows open:" >&2
  probe windows >&2 || true
  shot "failure" || true
  exit 1
}
# A step that fails without its own message still names itself.
set -E
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR

# await SECONDS WHAT WANTED PROBE-ARGS...: the probe's answer becomes WANTED
# within SECONDS, or the test fails naming WHAT.
await() {
  local tries=$(($1 * 4)) what=$2 wanted=$3 got=""
  shift 3
  for _ in $(seq "$tries"); do
    got=$(probe "$@") || true # a window not there yet is an answer too
    [[ "$got" == "$wanted" ]] && return 0
    sleep 0.25
  done
  fail "$what: '$got', not '$wanted'"
}
# expect WHAT WANTED PROBE-ARGS...: the same within ten seconds.
expect() { await 10 "$@"; }

# shot FILE [CAPTION]: a picture of the main window (or of the window
# titled CAPTION) in SHOT_DIR/FILE.png.
shot() {
  local geometry
  if [[ $# -ge 2 ]]; then geometry=$(probe in "$2" rect); else geometry=$(probe rect); fi
  mkdir -p "$SHOT_DIR"
  if [[ -n "$geometry" ]]; then
    import -window root -crop "$geometry" +repage "$SHOT_DIR/$1.png"
  else
    import -window root "$SHOT_DIR/$1.png"
  fi
}

# Only this run's pictures stay.
rm -rf "$SHOT_DIR"
[[ -f "$PROBE_EXE" ]] || fail "no $PROBE_EXE (build the mingw preset)"

# A display of our own: Xvfb picks a free number and tells it.
Xvfb -displayfd 3 -screen 0 "${SCREEN:-1280x900}x24" -nolisten tcp 3>"$WORK/display" >/dev/null 2>&1 &
XVFB_PID=$!
for _ in $(seq 100); do [[ -s "$WORK/display" ]] && break; sleep 0.05; done
[[ -s "$WORK/display" ]] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$WORK/display")"

# A fresh prefix in the operator's locale: messages in code page 1251.
export WINEPREFIX="$WORK/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=ru_RU.CP1251
unset LC_ALL
# Without a window manager Wine waits 2 s for each closed window's frame: unmanaged windows do not.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1

# map_com1 PATH: COM1 is PATH from the next Wine server on; a server of our
# own then stays up, so what it prints when it ends stays out of the report.
map_com1() {
  wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /t REG_SZ /d "$1" /f >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  wineserver -p >/dev/null 2>&1
}

# await_link PATH: the virtual acceptor has made its link.
await_link() {
  for _ in $(seq 50); do [[ -e "$1" ]] && return 0; sleep 0.1; done
  fail "the virtual acceptor did not make $1"
}

# ink_height ID: the height in pixels of what is drawn inside control ID of
# the main window (its frame left out): how large its text shows on screen.
ink_height() {
  local w h x y
  IFS='x+' read -r w h x y <<<"$(probe rect "$1")"
  import -window root -crop "$((w - 8))x$((h - 8))+$((x + 4))+$((y + 4))" +repage -trim -format '%h' info: 2>/dev/null
}
