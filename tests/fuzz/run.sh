#!/usr/bin/env bash
# Runs the fuzzer in JOBS processes at once, each until it has run its share of
# RUNS inputs or SECONDS have passed, then prints how many inputs ran in all.
# The processes share WORK_DIR/corpus, so that each picks up what the other
# finds. Fails on any finding: crash, hang, sanitizer report or broken promise.
# Usage: tests/fuzz/run.sh FUZZER WORK_DIR START_DIR JOBS RUNS SECONDS
set -euo pipefail

if [ $# -ne 6 ]; then
    echo "usage: $0 FUZZER WORK_DIR START_DIR JOBS RUNS SECONDS" >&2
    exit 2
fi
fuzzer=$(realpath "$1")
work=$(realpath "$2")
start_inputs=$(realpath "$3")
jobs=$4 runs=$5 seconds=$6

mkdir -p "$work/corpus"
cd "$work"
rm -f fuzz-*.log
echo "fuzz: $jobs processes, until $runs inputs or $seconds s; logs in $work/fuzz-*.log"
started=$(date +%s)
status=0
# libFuzzer writes each process's output to fuzz-<n>.log in this folder, and
# repeats it in its own output when the process ends.
"$fuzzer" -jobs="$jobs" -workers="$jobs" -runs=$(((runs + jobs - 1) / jobs)) \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/" corpus "$start_inputs" >fuzz-all.log 2>&1 || status=$?
elapsed=$(($(date +%s) - started))

total=0
shares=()
for log in fuzz-[0-9]*.log; do
    count=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    shares+=("${count:-?}")
    total=$((total + ${count:-0}))
    if grep -qE '^==[0-9]+==ERROR|^SUMMARY: |deadly signal|fuzz_calculate: ' "$log"; then
        status=1
        echo "fuzz: a finding in $work/$log:" >&2
        tail -n 40 "$log" >&2
    fi
done
(IFS=+; echo "fuzz: $total inputs run (${shares[*]}) by $jobs processes in $elapsed s")
if [ "$status" -ne 0 ]; then
    echo "fuzz: FAILED; the input that failed is saved as $work/crash-*, timeout-* or oom-*" >&2
    exit 1
fi
echo "fuzz: no finding"
