#!/usr/bin/env bash
# screenshot.sh PROGRAM.exe OUT.png TITLE: starts a Windows program under Wine
# on the current X display, waits for a window whose title starts with TITLE,
# saves the screen as PNG and ends the program.
#
# screenshot.sh --manual BUILD_DIR: the pictures of the technician's manual.
# Runs the demonstration of the windows build in BUILD_DIR, walks it through
# its procedures with press_button.exe and saves each procedure's window,
# cropped to the window, in docs/images (inside Xvfb when there is no display).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

# The X window id of the first window on screen titled exactly $1, or
# nothing; Wine keeps the X windows of closed dialogs, unmapped, for a while.
window_id() {
  local id
  for id in $(xwininfo -root -tree 2>/dev/null | grep -F "\"$1\":" | awk '{print $1}'); do
    if xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
      echo "$id"
      return
    fi
  done
}

# Waits until a window titled exactly $1 is up and drawn; fails after $2
# seconds, 30 unless given.
wait_window() {
  for _ in $(seq 1 $((${2:-30} * 2))); do
    if [ -n "$(window_id "$1")" ]; then sleep 1; return 0; fi
    sleep 0.5
  done
  echo "$0: no window \"$1\" came up; the windows up:" >&2
  xwininfo -root -tree 2>/dev/null | grep -o '"[^"]*":' | sort -u >&2
  return 1
}

stop_wine() {
  kill "$runner" 2>/dev/null || true
  WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
  wait "$runner" 2>/dev/null || true
}

if [ "${1:-}" != --manual ]; then
  program=$1
  out=$2
  title=$3
  prefix=$(cd "$(dirname "$program")" && while [ ! -f CMakeCache.txt ] && [ "$PWD" != / ]; do cd ..; done; pwd)/wineprefix
  "$here/wine-run.sh" "$program" &
  runner=$!
  # The console needs a few seconds to come up under Wine.
  for _ in $(seq 1 60); do
    if xwininfo -root -tree 2>/dev/null | grep -qF "\"$title"; then break; fi
    sleep 0.5
  done
  sleep 2
  import -window root "$out"
  # The title, which Wine draws in the picture itself, is printed as well.
  xwininfo -root -tree | grep -o "\"$title[^\"]*\"" | head -1 | sed 's/^/Window title: /' || true
  stop_wine
  exit 0
fi

build=$(cd "$2" && pwd)
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --manual "$build"
fi
prefix=$build/wineprefix
images=$(cd "$here/.." && pwd)/docs/images
demo=$build/src/app/HexwardenDemo.exe
press=$build/tests/win32/press_button.exe
console="HexwardenDemo - QMV-240 on USB001"
# Every box of the demo is captioned with the program's name: a box captioned
# otherwise is not found, and the script stops there.
question=HexwardenDemo

# press TITLE ID [sys | text VALUE | wait START | rect]: see press_button.
press() { "$here/wine-run.sh" "$press" "$@"; }
# answer TITLE ID: presses a button of a box or dialog and lets it close, so
# that the next box of the same title is not taken for it.
answer() {
  press "$@"
  sleep 1
}
# shot TITLE NAME: the window titled TITLE as docs/images/NAME.png.
shot() {
  wait_window "$1"
  import -window "$(window_id "$1")" "$images/$2.png"
  echo "docs/images/$2.png: $1"
}
# shot_item TITLE ID NAME: the control ID (a group) of the window titled
# TITLE, cut out of the window's picture, as docs/images/NAME.png.
shot_item() {
  wait_window "$1"
  local place
  place=$(press "$1" "$2" rect | tr -d '\r')
  import -window "$(window_id "$1")" -crop "$place" +repage "$images/$3.png"
  echo "docs/images/$3.png: $1, control $2"
}
mkdir -p "$images"
# The demo runs in a folder of its own on drive C: the file dialogs start
# there, and what it saves lands there and is named by a short path.
service=$prefix/drive_c/Service
rm -rf "$service"
mkdir -p "$service"
cd "$service"
"$here/wine-run.sh" "$demo" &
runner=$!
trap stop_wine EXIT
wait_window "$console"
sleep 2
shot "$console" console
shot_item "$console" 1001 sensor
# Choose Machine, from the system menu.
press "$console" 48 sys
shot "Choose Machine" choose-machine
answer "Choose Machine" 2

press "$console" 1005
shot Report get-report
answer Report 2
press "$console" 1036
shot "$question" clear-pump-time
answer "$question" 2

# Get Parameters saves the block under the name it offers; WriteY0 then
# changes the machine's block, so that Put Parameters with that file asks.
press "$console" 1007
shot "Save As" get-parameters
answer "Save As" 1
answer "$question" 1
press "$console" 1038 text 25
press "$console" 1037
shot "$question" write-y0
answer "$question" 1
press "$console" 1009
wait_window Open
# 1148: the file name field of the common file dialogs.
press Open 1148 text "QMV-240 $(date +%F).par"
answer Open 1
shot "$question" put-parameters
answer "$question" 2

press "$console" 1010
shot "$question" check-serial-port
answer "$question" 1
press "$console" 1012 text AB12345
press "$console" 1011
shot "$question" write-serial
answer "$question" 2

# A scale out of the machine's range.
press "$console" 1021 text 101
press "$console" 1013
shot "$question" write-xy
answer "$question" 1
# Calc & Write Laser before Tool Pos.
press "$console" 1047
shot "$question" write-laser
answer "$question" 1

# The test cut runs to its end (about 40 s), so that the machine is back at
# its origin for the procedures after it.
press "$console" 1015
shot "$question" corr-cut
answer "$question" 1
shot "Test cut" test-cut
wait_window "$question" 120
answer "$question" 1

press "$console" 1020
sleep 1
shot_item "$console" 1003 spindle-read

press "$console" 1073
shot "Check Panel" check-panel
answer "Check Panel" 2
# The load check on the simulated machine ends by itself with "Completed".
press "$console" 1014
shot "Check Load X" check-load
answer "$question" 1
press "$console" 1019
shot "Run Aging" start-aging
answer "Run Aging" 2

press "$console" 1018
shot Open output-file
answer Open 2
# The service bundle, from the system menu, under the name it offers.
press "$console" 32 sys
wait_window "Save As"
answer "Save As" 1
shot "$question" service-bundle
answer "$question" 1

# The backlash check asks first whether the encoder set is mounted: Yes;
# the picture shows it once the first step is measured.
press "$console" 1051
wait_window "$question"
press "$question" 6
press "Check Backlash" 1055 wait "Checking... step"
shot "Check Backlash" backlash-check
