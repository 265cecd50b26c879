#!/usr/bin/env bash
# `make release`: every file a user downloads, built afresh from the commit
# checked out, into build/release/:
#
#   korvane_<v>_amd64.deb          the Debian package
#   korvane-<v>-setup.exe          the Windows installer
#   korvane-<v>-win64.zip          the Windows folder, zipped
#   SHA256SUMS                     the three files' SHA-256 sums
#   BUILDINFO.txt                  the commit, its time, the Debian packages
#                                  that built them and which Qt for Windows
#
# The same commit gives the same bytes wherever, whenever and by whomever it
# is built (`make check-reproducible` tries it). The last line printed names
# the folder and the commit.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}
out=$root/build/release
work=$root/build/release-build

# A release is of a commit: what is not committed would be in the files
# but in no commit that anyone could build them from again.
if [ -n "$(git status --porcelain)" ]; then
    echo "make release: this tree has changes that are not committed:" >&2
    git status --short >&2
    echo "make release: a release is built from a commit; commit or stash them, then try again." >&2
    exit 1
fi
commit=$(git rev-parse HEAD)

# Every time stamp is the commit's. The umask is fixed because CPack gives
# the package's own members (control.tar.gz, data.tar.gz) the rights of the
# files it wrote; the locale because the installer's file lists are sorted.
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct HEAD)
export SOURCE_DATE_EPOCH LC_ALL=C.UTF-8 TZ=UTC
umask 022

rm -rf "$out" "$work"
mkdir -p "$out" "$work"

echo "== The Debian package"
cmake -S "$root" -B "$work/linux" -DKORVANE_TESTS=OFF
cmake --build "$work/linux" --parallel "$jobs"
version=$(sed -n 's/^version //p' "$work/linux/build-info.txt")
(cd "$work/linux" && cpack -G DEB -B "$work/deb")
cp "$work/deb/korvane_${version}_"*.deb "$out/"

echo "== The Windows installer and zip"
JOBS=$jobs WINDOWS_DIR=$work/windows WINDOWS_CMAKE_ARGS=-DKORVANE_TESTS=OFF \
    "$root/tools/windows/build.sh"
cp "$work/windows/korvane-$version-setup.exe" "$work/windows/korvane-$version-win64.zip" "$out/"

# What the bytes came from: with the same Debian packages and a Qt for
# Windows whose DLLs have these sums, the commit builds to the same files.
qt=$("$root/tools/windows/qt-for-windows.sh" | tail -n 1)
qt_source_version=$(cat "$qt/share/korvane/debian-source-version")
{
    echo "Korvane $version"
    echo "commit: $commit"
    echo "SOURCE_DATE_EPOCH: $SOURCE_DATE_EPOCH ($(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S UTC'))"
    echo
    echo "Debian packages:"
    dpkg-query -W -f '  ${Package} ${Version}\n' cmake g++-12 binutils qt6-base-dev qt6-base-dev-tools \
        dpkg-dev gzip g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev \
        nsis python3 python3-markdown zlib1g qt6-translations-l10n
    echo
    echo "Qt for Windows: Qt ${qt_source_version%%+*}, built from Debian's qt6-base $qt_source_version"
    echo "  cache key (hash of its configure options, build settings and toolchain file):" \
        "${qt##*-mingw64-}"
    echo "  configure options' SHA-256:" \
        "$(sha256sum < "$qt/share/korvane/configure-options.txt" | cut -d' ' -f1)"
    echo "  its DLLs, as built into the cache (before strip):"
    (cd "$qt" && find . -name '*.dll' | LC_ALL=C sort | sed 's|^\./||' | xargs sha256sum | sed 's/^/    /')
} > "$out/BUILDINFO.txt"

(cd "$out" && sha256sum -- "korvane_${version}_"*.deb "korvane-$version-setup.exe" \
    "korvane-$version-win64.zip" > SHA256SUMS)
echo
cat "$out/SHA256SUMS"
echo "Release of commit $commit in $out/"
