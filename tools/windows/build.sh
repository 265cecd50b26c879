#!/usr/bin/env bash
# `make windows`: korvane.exe for 64-bit Windows, cross-built with mingw-w64
# from the same sources and CMake files as the Linux build, then what a
# Windows user gets: a folder that runs as it is, its zip, and an installer.
#
#   build-windows/build/                    the CMake build (program and tests)
#   build-windows/korvane-<v>-win64/        korvane.exe with every DLL it needs, and
#                                           the guide and the changes as HTML pages
#   build-windows/korvane-<v>-win64.zip     that folder, zipped
#   build-windows/korvane-<v>-setup.exe     the installer
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
out=${WINDOWS_DIR:-$root/build-windows}
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}
triple=x86_64-w64-mingw32
# Every time stamp that the build and the zip write (Qt's resource compiler's,
# the zip's entries') is the commit's, so that the same commit gives the same
# bytes; the Makefile sets it, a run of this script alone reads it here.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)
fi
export SOURCE_DATE_EPOCH

qt=$("$root/tools/windows/qt-for-windows.sh" | tail -n 1)

build=$out/build
cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$root/tools/windows/wine-run.sh;$qt" \
    ${WINDOWS_CMAKE_ARGS:-}
cmake --build "$build" --parallel "$jobs"
version=$(sed -n 's/^version //p' "$build/build-info.txt")
# Qt's Chinese catalogue where the test programs look for it, beside them.
mkdir -p "$build/bin/translations"
cp /usr/share/qt6/translations/qtbase_zh_CN.qm "$build/bin/translations/"

# The deploy folder: the program, the plugins Qt loads at start-up, and every
# DLL they import that is not part of Windows itself.
name=korvane-$version-win64
deploy=$out/$name
rm -rf "$deploy"
mkdir -p "$deploy/platforms" "$deploy/styles" "$deploy/translations" "$deploy/licenses"
cp "$build/bin/korvane.exe" "$deploy/"
cp "$qt/plugins/platforms/qwindows.dll" "$deploy/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$deploy/styles/"
# Qt's own texts in Chinese: Debian's catalogue of the same Qt release.
cp /usr/share/qt6/translations/qtbase_zh_CN.qm "$deploy/translations/"

dll_dirs=(
    "$qt/bin"
    "$(dirname "$($triple-g++-posix -print-file-name=libstdc++-6.dll)")"
    "$(dirname "$($triple-g++-posix -print-file-name=libwinpthread-1.dll)")"
)
imports() { $triple-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'; }
pending=("$deploy/korvane.exe" "$deploy/platforms/qwindows.dll" "$deploy/styles/qwindowsvistastyle.dll")
while [ ${#pending[@]} -gt 0 ]; do
    file=${pending[0]}
    pending=("${pending[@]:1}")
    for dll in $(imports "$file"); do
        [ -e "$deploy/$dll" ] && continue
        for dir in "${dll_dirs[@]}"; do
            if [ -f "$dir/$dll" ]; then
                cp "$dir/$dll" "$deploy/"
                pending+=("$deploy/$dll")
                break
            fi
        done # not found: a DLL of Windows itself
    done
done
# strip writes the clock's time (or SOURCE_DATE_EPOCH) into the PE header of
# what it strips; each file keeps its own instead: none (0) for what this
# build and Qt's linked, Debian's build time for mingw's runtime DLLs.
pe_time() { # the PE header's TimeDateStamp, at offset 8 of the header that 0x3c points to
    local header
    header=$(od -An -tu4 -j60 -N4 "$1")
    od -An -tu4 -j$((header + 8)) -N4 "$1" | tr -d ' '
}
for file in "$deploy"/*.exe "$deploy"/*.dll "$deploy"/*/*.dll; do
    SOURCE_DATE_EPOCH=$(pe_time "$file") $triple-strip --strip-unneeded "$file"
done

# What the LGPL asks of whoever ships Qt: its licence, and which Qt this is.
qt_source_version=$(cat "$qt/share/korvane/debian-source-version")
cp "$qt/share/korvane/LGPL-3.0-only.txt" "$deploy/licenses/Qt-LGPL-3.0.txt"
cp "$qt/share/korvane/GPL-3.0-only.txt" "$deploy/licenses/GPL-3.0.txt"
cp "$qt/share/korvane/third-party-notices.txt" "$deploy/licenses/Qt-third-party-notices.txt"
cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$deploy/licenses/mingw-w64-runtime.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$deploy/licenses/gcc-runtime.txt"
qt_version=${qt_source_version%%+*}
cat > "$deploy/licenses/README.txt" <<EOT
Korvane $version for Windows (64-bit)

Qt6Core.dll, Qt6Gui.dll, Qt6Widgets.dll, platforms/qwindows.dll and
styles/qwindowsvistastyle.dll are Qt $qt_version, unmodified, used under the
GNU Lesser General Public License version 3 (Qt-LGPL-3.0.txt, which builds on
GPL-3.0.txt); you may replace them with your own build of Qt $qt_version.
They were compiled with mingw-w64 from Debian's source package qt6-base,
version $qt_source_version (apt-get source qt6-base=$qt_source_version),
configured with:

$(sed 's/^/    /' "$qt/share/korvane/configure-options.txt")

Qt-third-party-notices.txt holds the notices of the third-party code compiled
into these DLLs; translations/qtbase_zh_CN.qm is Qt's Chinese catalogue.
libstdc++-6.dll and libgcc_s_seh-1.dll are GCC's runtime (GPL-3.0 with the GCC
Runtime Library Exception, gcc-runtime.txt); libwinpthread-1.dll is
mingw-w64's (mingw-w64-runtime.txt).
EOT

# The user's guide and the changes as pages beside the program (Windows opens
# no .md file), their pictures inside them.
/usr/bin/python3 "$root/tools/windows/html-page.py" "$root/docs/guide.md" "$deploy/guide.html"
/usr/bin/python3 "$root/tools/windows/html-page.py" "$root/CHANGELOG.md" "$deploy/changelog.html"

rm -f "$out/$name.zip"
"$root/tools/windows/make-zip.py" "$deploy" "$out/$name.zip"

# The installer, from the deploy folder.
"$root/tools/windows/make-installer.sh" "$deploy" "$version" "$out/korvane-$version-setup.exe"

echo "Windows build: $deploy/, $out/$name.zip, $out/korvane-$version-setup.exe"
