#!/usr/bin/env bash
# Installs what is missing, builds the picture benchmark and runs it offscreen. Arguments go to
# the benchmark: --small for a quick run, --repetitions N. The last line it prints is JSON.
# ./bench.sh --screen instead runs the program itself on Xvfb and samples the screen while pages
# of big photographs fill (bench/screen_fill.py).
set -euo pipefail
cd "$(dirname "$0")"
if [ "${1:-}" = --screen ]; then
    scripts/install-deps.sh test
    cmake --preset default -G Ninja >/dev/null
    cmake --build --preset default --target tessary -j "$(nproc)"
    exec python3 bench/screen_fill.py build/tessary
fi
scripts/install-deps.sh run
cmake --preset default -G Ninja >/dev/null
cmake --build --preset default --target bench_pictures -j "$(nproc)"
QT_QPA_PLATFORM=offscreen exec build/bench/bench_pictures "$@"
