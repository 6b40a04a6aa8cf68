#!/usr/bin/env bash
# screenshot.sh PROGRAM.exe OUT.png TITLE: starts a Windows program under Wine
# on the current X display, waits for a window whose title starts with TITLE,
# saves the screen as PNG and ends the program.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$1
out=$2
title=$3

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
kill "$runner" 2>/dev/null || true
WINEPREFIX=$(cd "$(dirname "$program")" && while [ ! -f CMakeCache.txt ] && [ "$PWD" != / ]; do cd ..; done; pwd)/wineprefix \
  wineserver -k 2>/dev/null || true
wait "$runner" 2>/dev/null || true
