#!/usr/bin/env bash
# Runs the fuzz programs of a fuzz build, each for a bounded time.
#   fuzz/run.sh BUILD_DIR SECONDS [TARGET...]      (targets: ini tsv codecs)
# Each target grows its corpus in BUILD_DIR/fuzz-corpus/TARGET, starting from
# the seeds in fuzz/corpus/TARGET; an input that fails is written to
# BUILD_DIR/fuzz-crashes/TARGET/. The scratch files of the targets go to
# /dev/shm when it is there (no disk syncs), else to $TMPDIR.
set -uo pipefail
cd "$(dirname "$0")/.."
build=$1
seconds=$2
shift 2
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(ini tsv codecs)

if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}

failed=()
for target in "${targets[@]}"; do
    program=$build/fuzz/tavelin-fuzz-$target
    corpus=$build/fuzz-corpus/$target
    crashes=$build/fuzz-crashes/$target
    mkdir -p "$corpus" "$crashes"
    log=$build/fuzz-$target.log
    echo "fuzz: $target for ${seconds}s (log $log)"
    "$program" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -max_len=4096 \
        -print_final_stats=1 -artifact_prefix="$crashes/" "$corpus" "fuzz/corpus/$target" \
        >"$log" 2>&1
    status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    echo "fuzz: $target: ${runs:-?} runs, corpus $(ls "$corpus" | wc -l) inputs, status $status"
    if [ $status -ne 0 ]; then
        failed+=("$target")
        grep -m1 -A12 -E '^==[0-9]+==ERROR|check failed|runtime error|deadly signal' "$log" >&2
        echo "fuzz: $target failed; the input is in $crashes/ — keep it as a regression" \
             "in tests/fuzz-regressions/$target/" >&2
    fi
done
[ ${#failed[@]} -eq 0 ] || { echo "fuzz: failed: ${failed[*]}" >&2; exit 1; }
