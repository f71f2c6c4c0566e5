#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: offscreen widget tests and
# end-to-end tests of the real program under Xvfb.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh test
scripts/build.sh
ctest --preset default -j "$(nproc)" "$@"
