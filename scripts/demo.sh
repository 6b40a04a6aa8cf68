#!/usr/bin/env bash
# The main job: builds the native and Windows binaries and runs the link end to
# end against the scripted machine. The console itself joins here when it exists.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native -j2
cmake --preset windows >/dev/null
cmake --build --preset windows -j2
ctest --preset native
