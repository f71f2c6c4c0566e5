#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: offscreen widget tests and
# end-to-end tests of the real program under Xvfb; then the same tests built with
# AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer; then each fuzz target for a
# bounded time (scripts/fuzz.sh); then the Windows build, cross-built against the Windows Qt
# (scripts/windows-qt.sh), with the same widget tests, the Windows program end to end and its
# installer, and the benchmark's short run, all under Wine. Arguments go to the first ctest run.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh test
scripts/build.sh
ctest --preset default -j "$(nproc)" "$@"
scripts/build.sh sanitize
ctest --preset sanitize -j "$(nproc)"
scripts/fuzz.sh 20
scripts/build.sh windows
ctest --preset windows -j "$(nproc)"
