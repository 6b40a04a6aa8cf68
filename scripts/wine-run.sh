#!/bin/sh
# Runs a Windows program under Wine: the cross build's test emulator
# (CMAKE_CROSSCOMPILING_EMULATOR). The prefix lies in the build tree holding
# the program (the nearest directory above it with a CMakeCache.txt, plus
# /wineprefix) unless HW_WINEPREFIX names one; it is created first when
# missing. Exits with the program's exit code.
set -eu

if [ $# -lt 1 ]; then
    echo "usage: $0 <program.exe> [arguments...]" >&2
    exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)

build=$(cd "$(dirname "$1")" && pwd)
while [ "$build" != / ] && [ ! -f "$build/CMakeCache.txt" ]; do
    build=$(dirname "$build")
done
if [ -n "${HW_WINEPREFIX:-}" ]; then
    prefix=$HW_WINEPREFIX
elif [ -f "$build/CMakeCache.txt" ]; then
    prefix=$build/wineprefix
else
    echo "$0: no build tree above $1 and HW_WINEPREFIX is not set" >&2
    exit 2
fi

# Wine prints its first-run setup into the program's output and may fail it,
# so the prefix is made beforehand.
if [ ! -f "$prefix/system.reg" ]; then
    if [ -f "$build/CMakeCache.txt" ]; then
        HW_WINEPREFIX=$prefix "$here/wine-prefix.sh" "$build" >&2
    else
        echo "$0: no Wine prefix at $prefix; create it with wine-prefix.sh" >&2
        exit 2
    fi
fi

export WINEPREFIX="$prefix"
. "$here/wine-env.sh"
exec "$HW_WINE" "$@"
