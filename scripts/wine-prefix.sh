#!/bin/sh
# Creates the Wine prefix that the Windows test binaries of a build tree run
# in, once: scripts/wine-prefix.sh <build dir>. The prefix is <build dir>/wineprefix,
# or $HW_WINEPREFIX when that is set. Does nothing when the prefix exists.
set -eu

if [ $# -ne 1 ]; then
    echo "usage: $0 <build dir>" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
prefix=${HW_WINEPREFIX:-$build/wineprefix}

# Concurrent callers (parallel test runs) wait for the first to finish.
exec 9>"$build/.wineprefix.lock"
flock 9
if [ -f "$prefix/system.reg" ]; then
    exit 0
fi

export WINEPREFIX="$prefix"
. "$(dirname "$0")/wine-env.sh"
echo "Creating Wine prefix $prefix" >&2
"$HW_WINE" wineboot -i
# wineboot returns before the prefix is written out; wineserver ends after.
wineserver -w
