#!/usr/bin/env bash
# Qt for 64-bit Windows, built once from Debian's own qt6-base source package
# (the very Qt the Linux build uses) with mingw-w64, into a cache outside the
# repository. Later runs reuse it. Prints the Qt prefix as its last line.
#
#   tools/windows/qt-for-windows.sh        build if needed, print the prefix
#   KORVANE_CACHE=DIR ...                  keep the cache in DIR (default ~/.cache/korvane)
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
toolchain=$root/cmake/toolchains/mingw-w64-x86_64.cmake
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}
say() { echo "qt-for-windows: $*" >&2; }

# The Windows Qt must be the same release as the host Qt whose moc, rcc and
# uic build the program.
qt_source_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev 2>/dev/null || true)
if [ -z "$qt_source_version" ]; then
    say "qt6-base-dev is not installed; run 'make deps' first."
    exit 1
fi
qt_version=${qt_source_version%%+*}

# Only what the program and its tests use: Core, Gui, Widgets, Test, the
# windows platform plugin, the vista style and the ICO reader (the icon tests
# read .ico files), with Qt's bundled third-party libraries (mingw has none
# of its own). Debian's source leaves out the Wintab header, so tablet events
# go; Qt 6.4's windows plugin needs dynamic GL off along with OpenGL, and
# Direct2D on (without it Qt 6.4 leaves out the DirectWrite font database that
# the plugin links against), but not Direct2D 1.1, which only builds the
# direct2d platform plugin that nothing loads.
options=(
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=ON
    -DQT_QMAKE_TARGET_MKSPEC=win32-g++
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF
    -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF
    -DFEATURE_vulkan=OFF -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF
    -DFEATURE_tabletevent=OFF -DFEATURE_direct2d1_1=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_system_pcre2=OFF -DFEATURE_system_doubleconversion=OFF
    -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_icu=OFF -DFEATURE_glib=OFF
    -DFEATURE_zstd=OFF -DFEATURE_fontconfig=OFF
    # Windows draws text with its own font engines, so no FreeType (and with
    # it goes the offscreen platform plugin, which the Windows tests don't use).
    -DFEATURE_freetype=OFF
)
# What the windows never show: the widgets, dialogs and styles beyond the
# labels, boxes, buttons, menus, tooltips and message box they use (the
# vista style draws them; neither Fusion nor style sheets are used), and the
# document, image and data formats nothing reads or writes. Kept although
# unused: the main window and tool bar (Qt's compatibility code for removed
# functions needs them) and the tree and table views, tab bar, tab widget and
# input dialog (the vista style names them without asking whether they are
# there).
for feature in \
    graphicsview mdiarea calendarwidget datetimeedit filedialog colordialog \
    fontdialog fontcombobox wizard errormessage progressdialog undoview \
    columnview dial lcdnumber splashscreen toolbox keysequenceedit textbrowser \
    dockwidget statusbar tablewidget treewidget listwidget datawidgetmapper \
    splitter scroller commandlinkbutton formlayout sizegrip \
    whatsthis statustip syntaxhighlighter style_fusion style_stylesheet \
    pdf textodfwriter textmarkdownreader textmarkdownwriter movie sessionmanager \
    systemtrayicon undocommand undostack undogroup filesystemmodel picture \
    imageformat_ppm imageformat_xbm desktopservices \
    mimetype timezone sharedmemory systemsemaphore filesystemwatcher gestures \
    jalalicalendar hijricalendar islamiccivilcalendar xmlstream xmlstreamreader \
    xmlstreamwriter transposeproxymodel concatenatetablesproxymodel; do
    options+=("-DFEATURE_$feature=OFF")
done

# The same DLLs from every cache, wherever it lies: the folders of Qt's
# source and build named alike in every object (__FILE__, as Qt's warnings
# quote it), and every time stamp (Qt's resource compiler's, the compiler's
# __DATE__) the time of Debian's source package, from its changelog. The
# toolchain file leaves the link time out of every DLL. (Qt is relocatable:
# no install prefix is compiled in.)
reproducible=(-ffile-prefix-map=@SRC@=qt6-base-src -ffile-prefix-map=@BUILD@=qt6-base-build
    SOURCE_DATE_EPOCH=debian/changelog)

key=$({ echo "$qt_source_version"; printf '%s\n' "${options[@]}" "${reproducible[@]}"; cat "$toolchain"; } \
    | sha256sum | cut -c1-12)
cache=${KORVANE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/korvane}
prefix=$cache/qt-$qt_version-mingw64-$key

if [ -f "$prefix/.korvane-complete" ]; then
    echo "$prefix"
    exit 0
fi

say "no Qt for Windows in $prefix yet: building it from Debian's qt6-base $qt_source_version."
say "This happens once per cache and takes long (about 830 build steps: 13 to 26 minutes"
say "in the runs measured on two cores, longer on a busy machine; see docs/windows-build.md)."
say "Later runs reuse the cache."

# apt-get source needs a deb-src entry for the suite the host Qt came from.
have_source() {
    apt-cache showsrc qt6-base 2>/dev/null | grep -qx "Version: $qt_source_version"
}
if ! have_source; then
    origin=$(apt-cache policy qt6-base-dev | awk -v v="$qt_source_version" '
        $1 == "***" && $2 == v { mine = 1; next }
        mine && $1 ~ /^[0-9]+$/ && $2 ~ /^[a-z]+:\/\// { print $2, $3; exit }
        mine && $1 !~ /^[0-9]+$/ { mine = 0 }')
    uri=${origin%% *}
    suite=${origin#* }; suite=${suite%%/*}
    component=${origin##*/}
    if [ -z "$uri" ] || [ -z "$suite" ]; then
        say "cannot tell which Debian mirror qt6-base-dev $qt_source_version came from."
        exit 1
    fi
    entry="Types: deb-src
URIs: $uri
Suites: $suite
Components: $component"
    if [ -f /usr/share/keyrings/debian-archive-keyring.gpg ]; then
        entry="$entry
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg"
    fi
    list=/etc/apt/sources.list.d/korvane-deb-src.sources
    if [ "$(id -u)" = 0 ]; then
        say "adding the source entry $list for $uri $suite"
        printf '%s\n' "$entry" > "$list"
        apt-get update -q >&2
    else
        say "apt has no source entry for qt6-base $qt_source_version. Run this, then try again:"
        printf '  printf %%s\\n %q | sudo tee %s && sudo apt-get update\n' "$entry" "$list" >&2
        exit 1
    fi
    have_source || { say "apt still finds no qt6-base $qt_source_version source."; exit 1; }
fi

src_parent=$cache/src
src=$src_parent/qt6-base-$qt_version+dfsg
if [ ! -f "$src/.korvane-unpacked" ]; then
    rm -rf "$src_parent"
    mkdir -p "$src_parent"
    say "fetching Debian's qt6-base $qt_source_version source"
    (cd "$src_parent" && apt-get source -q --only-source "qt6-base=$qt_source_version" >&2)
    touch "$src/.korvane-unpacked"
fi

# Kept while Qt is not yet installed, so that a build that stopped resumes
# where it stopped; removed once Qt is in the cache.
build=$cache/build-qt
rm -rf "$prefix"
mkdir -p "$prefix"
# Qt's generated toolchain file names the one it was built with: keep that
# one in the cache, so that the cache outlives the checkout it came from.
mkdir -p "$cache/toolchain"
cp "$toolchain" "$cache/toolchain/mingw-w64-x86_64.cmake"

log=$cache/build-qt.log
prefix_map=${reproducible[*]:0:2}
prefix_map=${prefix_map//@SRC@/$src}
prefix_map=${prefix_map//@BUILD@/$build}
SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$src/debian/changelog" -STimestamp)
export SOURCE_DATE_EPOCH
# A fresh configure, so that an option left out now is not kept from before.
rm -f "$build/CMakeCache.txt"
say "configuring (log: $log)"
start=$(date +%s)
if ! cmake -G Ninja -S "$src" -B "$build" \
        -DCMAKE_TOOLCHAIN_FILE="$cache/toolchain/mingw-w64-x86_64.cmake" \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake" \
        -DCMAKE_C_FLAGS="$prefix_map" -DCMAKE_CXX_FLAGS="$prefix_map" \
        "${options[@]}" > "$log" 2>&1; then
    tail -40 "$log" >&2
    say "configuring Qt failed; the whole log is $log"
    exit 1
fi
say "compiling with $jobs jobs; a line every 100 steps"
if ! cmake --build "$build" --parallel "$jobs" 2>&1 | tee -a "$log" \
        | awk '/^\[[0-9]+\/[0-9]+\]/ { split($1, s, "[/\\[\\]]"); if (s[2] % 100 == 0) print "qt-for-windows:", $1 > "/dev/stderr"; fflush("/dev/stderr") }'; then
    tail -40 "$log" >&2
    say "building Qt failed; the whole log is $log"
    exit 1
fi
cmake --install "$build" >> "$log" 2>&1

# What whoever ships the DLLs must pass on: Qt's licence, the notices of the
# third-party code compiled into it, and which Qt this is and how it was made.
notes=$prefix/share/korvane
mkdir -p "$notes"
cp "$src/LICENSES/LGPL-3.0-only.txt" "$src/LICENSES/GPL-3.0-only.txt" "$notes/"
echo "$qt_source_version" > "$notes/debian-source-version"
printf '%s\n' "${options[@]}" > "$notes/configure-options.txt"
python3 - "$src" > "$notes/third-party-notices.txt" <<'PY'
import json, pathlib, sys
src = pathlib.Path(sys.argv[1])
# Parts of Qt that this build leaves out or that are for other platforms.
unused = {"network", "dbus", "vulkan", "VulkanMemoryAllocator", "wasm", "android", "gradle",
          "xcb", "cocoa", "libjpeg", "libpsl", "opengl", "freetype", "md4c"}
for path in sorted((src / "src").rglob("qt_attribution.json")):
    if unused & set(path.relative_to(src).parts):
        continue
    entries = json.loads(path.read_text(), strict=False)
    for entry in entries if isinstance(entries, list) else [entries]:
        print("=" * 78)
        print(f"{entry['Name']} {entry.get('Version', '')}".strip())
        print(f"License: {entry.get('License', '')}")
        print(entry.get("Copyright", "").strip())
        for name in str(entry.get("LicenseFile", "")).split(","):
            name = name.strip()
            if name and (path.parent / name).is_file():
                print()
                print((path.parent / name).read_text(errors="replace").strip())
        print()
PY
touch "$prefix/.korvane-complete"
# The build tree (most of a gigabyte) and the source are not needed again.
rm -rf "$build" "$src_parent"
say "Qt for Windows built in $(( ($(date +%s) - start) / 60 )) min into $prefix"
echo "$prefix"
