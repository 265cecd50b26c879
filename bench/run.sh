#!/usr/bin/env bash
# Start-up, processor time to the first complete paint and peak memory of
# korvane against its two floors (a window with one label, and a window that
# draws all the calculator's text and nothing else), launched in turn on one
# private virtual X server.
# Usage: bench/run.sh BIN_DIR [RUNS]
# Exits non-zero only when a measurement could not be made; the figures
# themselves are reported, never judged by the exit status.
set -euo pipefail

bin=${1:?usage: bench/run.sh BIN_DIR [RUNS]}
runs=${2:-20}
for program in korvane korvane-floor korvane-textfloor korvane-mapwatch; do
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
# No reset when the last client leaves: between two launches there is none,
# and a launch that connects while the server resets finds no display.
mkfifo "$work/displayfd"
Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1280x1024x24 3>"$work/displayfd" 2>"$work/xvfb.log" &
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

# The programs measured, in the order launched in each round.
programs=(korvane-floor korvane-textfloor korvane)

# The machine's load beside the figures: other work moves them.
load_before=$(cut -d' ' -f1 /proc/loadavg 2>/dev/null || echo "?")

# One unrecorded launch each fills the font and shader caches.
for program in "${programs[@]}"; do measure "$program"; done
rm -f "$work"/*.txt
for ((i = 0; i < runs; i++)); do
    for program in "${programs[@]}"; do measure "$program"; done
done

# A column of a program's figures: median min max
stats() {
    cut -d' ' -f"$2" "$work/$1.txt" | sort -g | awk '
        { v[NR] = $1 }
        END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
              printf "%s %s %s\n", m, v[1], v[NR] }'
}

# One line per figure: its column, then median min max of each program in turn.
{
    for column in 1 2 3; do
        echo "$column $(stats korvane-floor $column) $(stats korvane-textfloor $column)" \
            "$(stats korvane $column)"
    done
} | awk -v runs="$runs" -v load="$load_before to $(cut -d' ' -f1 /proc/loadavg 2>/dev/null || echo "?")" '
function cell(m, lo, hi, f) { return sprintf(f " (" f "-" f ")", m, lo, hi) }
function verdict(ratio, limit) { return ratio <= limit ? "met" : "missed" }
{
    f = $1 == 3 ? "%d" : "%.1f"
    name[$1] = $1 == 1 ? "start-up to map (ms)" \
             : $1 == 2 ? "processor time to first paint (ms)" : "peak resident memory (KiB)"
    for (p = 0; p < 3; p++) {
        med[$1, p] = $(2 + 3 * p)
        text[$1, p] = cell($(2 + 3 * p), $(3 + 3 * p), $(4 + 3 * p), f)
    }
}
END {
    printf "%d launches of each, in turn, on one Xvfb; load average (1 min) %s\n\n", runs, load
    printf "%-36s %-26s %-26s %s\n", "", "one-label floor", "same-text floor", "korvane"
    printf "%-36s %-26s %-26s %s\n", "", "median (min-max)", "median (min-max)", "median (min-max)"
    for (c = 1; c <= 3; c++)
        printf "%-36s %-26s %-26s %s\n", name[c], text[c, 0], text[c, 1], text[c, 2]
    printf "\n%-36s %-16s %-16s %s\n", "korvane over", "one-label floor", "same-text floor",
        "target"
    printf "%-36s %-16.3f %-16.3f %s\n", name[1], med[1, 2] / med[1, 0], med[1, 2] / med[1, 1],
        "(none)"
    r = med[2, 2] / med[2, 1]
    printf "%-36s %-16.3f %-16.3f %s\n", name[2], med[2, 2] / med[2, 0], r,
        "at most 1.05 x same-text floor: " verdict(r, 1.05)
    r = med[3, 2] / med[3, 0]
    printf "%-36s %-16.3f %-16.3f %s\n", name[3], r, med[3, 2] / med[3, 1],
        "at most 1.10 x one-label floor: " verdict(r, 1.10)
    printf "(ratios of the medians; processor time: all threads, from the fork until the\n"
    printf "window is painted all over; memory: the finished process'"'"'s ru_maxrss)\n"
}'
