#!/usr/bin/env bash
# `make check-reproducible`: builds the release of HEAD twice and compares.
# Each build is `make release` in a fresh clone; the second clone lies at
# another path, deeper and of another length, starts a minute after the
# first ends, with umask 077 instead of 022 and another HOME, user name and
# time zone. Every file of both build/release/ folders is compared; where two
# differ, it names the file and diffoscope shows where (its report is kept).
# Exit status 0 when every file is identical.
#
#   REPRODUCIBLE_DIR   where the clones go (default build-reproducible/)
#   KORVANE_CACHE      the Qt for Windows cache both builds use
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
work=${REPRODUCIBLE_DIR:-$root/build-reproducible}
commit=$(git -C "$root" rev-parse HEAD)
# Both builds use the same Qt for Windows, whatever HOME says.
export KORVANE_CACHE=${KORVANE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/korvane}
if [ -n "$(git -C "$root" status --porcelain)" ]; then
    echo "check-reproducible: note: this tree has changes not committed; HEAD ($commit) is what is built."
fi

rm -rf "$work"
mkdir -p "$work"
first=$work/1/korvane
second=$work/second-build/somewhere/else/korvane

build() { # DIR UMASK LOG [VAR=VALUE...]: a clone of HEAD in DIR, and make release in it
    local dir=$1 mask=$2 log=$3
    shift 3
    (
        umask "$mask"
        git clone -q --no-checkout "$root" "$dir"
        git -C "$dir" checkout -q --detach "$commit"
        cd "$dir"
        env "$@" make release
    ) > "$log" 2>&1 || { echo "check-reproducible: make release failed in $dir; the end of $log:"; tail -20 "$log"; exit 1; }
    echo "check-reproducible: $(grep '^Release of commit' "$log")"
}

echo "check-reproducible: building commit $commit in $first"
build "$first" 022 "$work/first.log"
echo "check-reproducible: a minute's pause"
sleep 60
echo "check-reproducible: building it again in $second (umask 077, another HOME, user and time zone)"
mkdir -p "$work/home"
build "$second" 077 "$work/second.log" HOME="$work/home" USER=builder2 LOGNAME=builder2 TZ=Asia/Shanghai

a=$first/build/release
b=$second/build/release
status=0
identical=0
while read -r name; do
    if [ ! -f "$a/$name" ] || [ ! -f "$b/$name" ]; then
        echo "MISSING   $name: only in $([ -f "$a/$name" ] && echo "$a" || echo "$b")"
        status=1
    elif cmp -s "$a/$name" "$b/$name"; then
        echo "identical $name  $(sha256sum < "$a/$name" | cut -d' ' -f1)"
        identical=$((identical + 1))
    else
        echo "DIFFERENT $name: $(cmp "$a/$name" "$b/$name" | head -n 1)"
        status=1
        report=$work/diffoscope-$name.txt
        if command -v diffoscope >/dev/null; then
            diffoscope --text "$report" "$a/$name" "$b/$name" > /dev/null 2>&1 || true
            echo "  diffoscope's report: $report; its first lines:"
            head -n 40 "$report" | sed 's/^/  | /'
        fi
    fi
done < <( (ls -A "$a"; ls -A "$b") | LC_ALL=C sort -u)

if [ "$status" = 0 ]; then
    echo "check-reproducible: all $identical files of build/release/ identical, commit $commit"
else
    echo "check-reproducible: the two builds of commit $commit differ (logs and reports in $work)"
fi
exit "$status"
