#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, as ctest's emulator:
#   wine-run.sh QT_PREFIX PROGRAM.exe [ARGS...]
# Qt's and mingw's DLLs are found where the build took them from (Qt finds
# its plugins beside its DLLs); the Wine prefix and the display come from the
# caller (tests/windows/test.sh). Wine passes no QT_* variable of the Unix
# environment on to Windows programs: the prefix's registry sets those.
set -euo pipefail
qt=$1
shift
triple=x86_64-w64-mingw32
winpath() { local p=$1; echo "Z:${p//\//\\}"; }
gcc_dir=$(dirname "$($triple-g++-posix -print-file-name=libstdc++-6.dll)")
pthread_dir=$(dirname "$($triple-g++-posix -print-file-name=libwinpthread-1.dll)")
export WINEPATH="$(winpath "$qt/bin");$(winpath "$gcc_dir");$(winpath "$pthread_dir")"
export WINEDEBUG=${WINEDEBUG:--all}
exec "${KORVANE_WINE:-/usr/lib/wine/wine64}" "$@"
