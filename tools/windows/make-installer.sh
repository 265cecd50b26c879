#!/usr/bin/env bash
# The installer of a deploy folder, from resources/windows/installer.nsi:
#   make-installer.sh DEPLOY_DIR VERSION OUTFILE.exe
# Its lists of files and folders come from the deploy folder, so that the
# uninstaller removes exactly what the installer wrote. build.sh makes the
# real one; tests/windows/test.sh makes others from altered copies.
set -euo pipefail
# The file lists in byte order, whatever the caller's language.
export LC_ALL=C

root=$(cd "$(dirname "$0")/../.." && pwd)
deploy=$(cd "$1" && pwd)
version=$2
outfile=$3

nsh=${outfile%.exe}-files.nsh
{
    echo "!macro KorvaneInstallFiles"
    (cd "$deploy" && find . -type d | sort) | while read -r dir; do
        win=${dir#.}; win=${win//\//\\}
        echo "  SetOutPath \"\$INSTDIR$win\""
        (cd "$deploy/$dir" && find . -maxdepth 1 -type f | sort) | while read -r f; do
            echo "  File \"$deploy/${dir#./}/${f#./}\""
        done
    done
    echo "!macroend"
    echo "!macro KorvaneUninstallFiles"
    (cd "$deploy" && find . -type f | sort) | while read -r f; do
        win=${f#.}; win=${win//\//\\}
        echo "  Delete \"\$INSTDIR$win\""
    done
    (cd "$deploy" && find . -mindepth 1 -type d | sort -r) | while read -r dir; do
        win=${dir#.}; win=${win//\//\\}
        echo "  RMDir \"\$INSTDIR$win\""
    done
    echo "!macroend"
} > "$nsh"

# Windows' four-part version: 1.00 is 1.0.0.0 and 1.01 is 1.1.0.0, as CMake
# reads the version for korvane.exe's own record.
major=${version%%.*}
minor=${version#*.}
# The files' own sizes, not du's blocks, which depend on the file system.
size_kb=$(find "$deploy" -type f -printf '%s\n' | awk '{ kb += int(($1 + 1023) / 1024) } END { print kb }')
makensis -V2 -INPUTCHARSET UTF8 \
    -DVERSION="$version" -DVERSION_QUAD="$((10#$major)).$((10#$minor)).0.0" \
    -DFILES_NSH="$nsh" -DSIZE_KB="$size_kb" \
    -DICON="$root/resources/icon/korvane.ico" \
    -DOUTFILE="$outfile" \
    "$root/resources/windows/installer.nsi"
