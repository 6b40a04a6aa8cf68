#!/bin/sh
# Creates the Wine prefix that the Windows test binaries of a build tree run
# in, once: scripts/wine-prefix.sh <build dir>. The prefix is <build dir>/wineprefix,
# or $HW_WINEPREFIX when that is set. Does nothing when the prefix exists and
# is set up.
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
# The tests and the demonstration run in Xvfb, where no window manager runs.
# A window left to a window manager then waits 2 s, for one that never
# answers, each time it is hidden (every dialog that ends); Wine frames the
# windows itself instead.
unmanaged='"Managed"="N"'
# The prefix plays Windows 10, so that the version a program reads depends on
# its manifest as it does there.
windows10='"Version"="win10"'
if [ -f "$prefix/system.reg" ] && grep -qF "$unmanaged" "$prefix/user.reg" &&
    grep -qF "$windows10" "$prefix/user.reg"; then
    exit 0
fi

export WINEPREFIX="$prefix"
. "$(dirname "$0")/wine-env.sh"
if [ ! -f "$prefix/system.reg" ]; then
    echo "Creating Wine prefix $prefix" >&2
    "$HW_WINE" wineboot -i
fi
"$HW_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
"$HW_WINE" reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d win10 /f >/dev/null
# wineboot and reg return before the prefix is written out; wineserver ends after.
wineserver -w
