#!/usr/bin/env bash
# Builds the fuzz targets (preset fuzz: clang with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer), replays the inputs of fuzz/regressions/ and fuzzes each target
# for SECONDS seconds from the seeds in fuzz/seeds/, the corpus of earlier runs and, for
# pictures, ../shared/corpora. Fails on any crash, hang (an input over 10 s), leak or broken check.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]      targets: picture settings
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift $(($# > 0 ? 1 : 0))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(picture settings)

scripts/build.sh fuzz

run=build-fuzz/run
mkdir -p "$run/artifacts"
corpora=../shared/corpora

# Leaks are reported; the suppressions name only libraries outside the program.
# A small quarantine keeps the leak check after each input quick.
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1:quarantine_size_mb=16
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

status=0
for target in "${targets[@]}"; do
    binary=build-fuzz/fuzz/fuzz_$target
    log=$run/$target.log
    shopt -s nullglob
    regressions=(fuzz/regressions/$target/*)
    shopt -u nullglob
    if [ ${#regressions[@]} -gt 0 ]; then
        if ! "$binary" "${regressions[@]}" >"$run/$target-regressions.log" 2>&1; then
            echo "fuzz $target: a regression input fails again:" >&2
            tail -40 "$run/$target-regressions.log" >&2
            status=1
            continue
        fi
    fi
    corpus=("$run/corpus/$target" "fuzz/seeds/$target")
    mkdir -p "${corpus[0]}"
    if [ "$target" = picture ]; then
        if [ -d "$corpora" ]; then corpus+=("$corpora"); else echo "fuzz: no $corpora, seeds only"; fi
    fi
    if "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=3072 -max_len=131072 \
        -print_final_stats=1 -artifact_prefix="$run/artifacts/$target-" "${corpus[@]}" \
        >"$log" 2>&1; then
        result=ok
    else
        result=FAILED
        status=1
    fi
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    edges=$(grep -o "cov: [0-9]*" "$log" | tail -1 | cut -d" " -f2 || true)
    echo "fuzz $target: $result, $seconds s, ${executions:-?} executions (${rate:-?}/s)," \
         "${#regressions[@]} regression inputs, coverage ${edges:-?} edges"
    if [ $result = FAILED ]; then
        grep -A30 -m1 -E 'ERROR|fuzz target:|runtime error|Timeout|out-of-memory' "$log" >&2 || tail -40 "$log" >&2
    fi
done
exit $status
