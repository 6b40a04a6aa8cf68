# Sourced by the Wine scripts: the loader to call and the settings every Wine
# run of the build shares. Expects WINEPREFIX to be exported by the caller.

# Debian's wine wrapper picks the 64-bit loader when no 32-bit one exists;
# without the wrapper, the 64-bit loader is called directly.
if command -v wine >/dev/null 2>&1; then
    HW_WINE=wine
elif command -v wine64 >/dev/null 2>&1; then
    HW_WINE=wine64
else
    HW_WINE=/usr/lib/wine/wine64
fi

# No Wine log lines in the test output; no offer to install .NET or HTML
# runtimes when the prefix is made.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
