#!/usr/bin/env bash
# Start-up, processor time to the first complete paint and peak memory of
# korvane against the floor program, launched alternately on one private
# virtual X server.
# Usage: bench/run.sh BIN_DIR [RUNS]
# Exits non-zero only when a measurement could not be made; the figures
# themselves are reported, never judged by the exit status.
set -euo pipefail

bin=${1:?usage: bench/run.sh BIN_DIR [RUNS]}
runs=${2:-20}
for program in korvane korvane-floor korvane-mapwatch; do
    [ -x "$bin/$program" ] || { echo "bench: $bin/$program is missing" >&2; exit 2; }
done
command -v Xvfb >/dev/null || { echo "bench: Xvfb is missing (package xvfb)" >&2; exit 2; }

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb writes its display number to the pipe once it accepts connections.
mkfifo "$work/displayfd"
Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$work/displayfd" 2>"$work/xvfb.log" &
xvfb_pid=$!
if ! read -r -t 30 display_number <"$work/displayfd"; then
    echo "bench: Xvfb did not start" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi

mkdir -m 700 "$work/runtime"
export DISPLAY=":$display_number" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime"
export LC_ALL=C.UTF-8 LANG=C.UTF-8
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_STYLE_OVERRIDE

# One launch: appends "startup_ms paint_cpu_ms maxrss_kb" to the program's file.
measure() {
    local name=$1 line
    if ! line=$("$bin/korvane-mapwatch" -- "$bin/$name" 2>"$work/$name.err"); then
        echo "bench: no measurement of $name:" >&2
        cat "$work/$name.err" >&2
        exit 1
    fi
    line=${line#startup_ms=}
    line=${line/ paint_cpu_ms=/ }
    echo "${line/ maxrss_kb=/ }" >>"$work/$name.txt"
}

# One unrecorded launch each fills the font and shader caches.
measure korvane-floor
measure korvane
rm -f "$work"/*.txt
for ((i = 0; i < runs; i++)); do
    measure korvane-floor
    measure korvane
done

# A column of a file: median min max
stats() {
    cut -d' ' -f"$2" "$1" | sort -g | awk '
        { v[NR] = $1 }
        END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
              printf "%s %s %s\n", m, v[1], v[NR] }'
}
read -r floor_t floor_tmin floor_tmax < <(stats "$work/korvane-floor.txt" 1)
read -r prog_t prog_tmin prog_tmax < <(stats "$work/korvane.txt" 1)
read -r floor_c floor_cmin floor_cmax < <(stats "$work/korvane-floor.txt" 2)
read -r prog_c prog_cmin prog_cmax < <(stats "$work/korvane.txt" 2)
read -r floor_m floor_mmin floor_mmax < <(stats "$work/korvane-floor.txt" 3)
read -r prog_m prog_mmin prog_mmax < <(stats "$work/korvane.txt" 3)

awk -v runs="$runs" \
    -v ft="$floor_t" -v ftmin="$floor_tmin" -v ftmax="$floor_tmax" \
    -v pt="$prog_t" -v ptmin="$prog_tmin" -v ptmax="$prog_tmax" \
    -v fc="$floor_c" -v fcmin="$floor_cmin" -v fcmax="$floor_cmax" \
    -v pc="$prog_c" -v pcmin="$prog_cmin" -v pcmax="$prog_cmax" \
    -v fm="$floor_m" -v fmmin="$floor_mmin" -v fmmax="$floor_mmax" \
    -v pm="$prog_m" -v pmmin="$prog_mmin" -v pmmax="$prog_mmax" 'BEGIN {
    printf "%d launches each, alternating, on one Xvfb\n\n", runs
    printf "%-34s %-24s %-24s %s\n", "", "floor", "korvane", "korvane/floor"
    printf "%-34s %-24s %-24s\n", "", "median (min-max)", "median (min-max)"
    printf "%-34s %-24s %-24s %.3f\n", "start-up to map (ms)",
        sprintf("%.1f (%.1f-%.1f)", ft, ftmin, ftmax),
        sprintf("%.1f (%.1f-%.1f)", pt, ptmin, ptmax), pt / ft
    printf "%-34s %-24s %-24s %.3f\n", "processor time to first paint (ms)",
        sprintf("%.1f (%.1f-%.1f)", fc, fcmin, fcmax),
        sprintf("%.1f (%.1f-%.1f)", pc, pcmin, pcmax), pc / fc
    printf "%-34s %-24s %-24s %.3f\n", "peak resident memory (KiB)",
        sprintf("%d (%d-%d)", fm, fmmin, fmmax),
        sprintf("%d (%d-%d)", pm, pmmin, pmmax), pm / fm
    printf "\ntargets: processor time to first paint and peak memory each at or under 1.10\n"
    printf "(processor time: all threads, from the fork until the window is painted all over)\n"
}'
