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

# Waits until a window titled exactly $1 is up and drawn; fails after 30 s.
wait_window() {
  for _ in $(seq 1 60); do
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
console="HexwardenDemo - QMV-240"
question=HexwardenDemo

# press TITLE ID [sys]: the command to the window titled TITLE.
press() { "$here/wine-run.sh" "$press" "$@"; }
# shot TITLE NAME: the window titled TITLE as docs/images/NAME.png.
shot() {
  wait_window "$1"
  import -window "$(window_id "$1")" "$images/$2.png"
  echo "docs/images/$2.png: $1"
}
mkdir -p "$images"
"$here/wine-run.sh" "$demo" &
runner=$!
trap stop_wine EXIT
wait_window "$console"
sleep 2
shot "$console" console

press "$console" 1005
shot Report get-report
press Report 2
press "$console" 1036
shot "$question" clear-pump-time
press "$question" 2
press "$console" 1015
shot "$question" corr-cut
press "$question" 2
press "$console" 1073
shot "Check Panel" check-panel
press "Check Panel" 2
# The load check on the simulated machine ends by itself with "Completed".
press "$console" 1014
shot "Check Load X" check-load
press HexwardenDemo 1
press "$console" 1019
shot "Run Aging" start-aging
press "Run Aging" 2
# The backlash check asks first whether the encoder set is mounted: Yes.
press "$console" 1051
wait_window HexwardenDemo
press HexwardenDemo 6
shot "Check Backlash" backlash-check
