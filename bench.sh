#!/usr/bin/env bash
# Installs what is missing, builds the picture benchmark and runs it offscreen. Arguments go to
# the benchmark: --small for a quick run, --repetitions N. The last line it prints is JSON.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh run
cmake --preset default -G Ninja >/dev/null
cmake --build --preset default --target bench_pictures -j "$(nproc)"
QT_QPA_PLATFORM=offscreen exec build/bench/bench_pictures "$@"
