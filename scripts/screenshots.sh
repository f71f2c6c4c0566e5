#!/usr/bin/env bash
# Takes the README's screenshots of the real program in a private X session (Xvfb and openbox),
# on pictures it draws itself, into docs/screenshots/ (or the folder given). Builds first; needs
# the test packages (scripts/install-deps.sh test).
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs/screenshots}")
scripts/build.sh >/dev/null
TESSARY_BINARY="$PWD/build/tessary" python3 scripts/screenshots.py "$out"
