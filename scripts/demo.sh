#!/usr/bin/env bash
# The main job: builds HexwardenDemo.exe and runs the console on the simulated
# machine under Wine. With no display it runs inside Xvfb, saves a screenshot
# of the console to build/windows/demo-console.png and ends.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target HexwardenDemo
scripts/wine-prefix.sh build/windows

demo=build/windows/src/app/HexwardenDemo.exe
if [ -n "${DISPLAY:-}" ]; then
  exec scripts/wine-run.sh "$demo"
fi
xvfb-run -a -s "-screen 0 1024x768x24" scripts/screenshot.sh "$demo" build/windows/demo-console.png HexwardenDemo
echo "Screenshot of the console: build/windows/demo-console.png"
