#!/usr/bin/env bash
# Configures and builds a preset: default, or the one named (sanitize, fuzz, windows).
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-default}
if [ "$preset" = windows ] && [ -z "${TESSARY_WINDOWS_QT:-}" ]; then
    TESSARY_WINDOWS_QT=$(scripts/windows-qt.sh)
    export TESSARY_WINDOWS_QT
fi
cmake --preset "$preset" -G Ninja >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
