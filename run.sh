#!/usr/bin/env bash
# Installs what is missing, builds, and starts the viewer.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh run
scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: Tessary is a desktop program and needs one." >&2
    echo "To run it without a desktop, use a virtual X server:  xvfb-run -a ./run.sh" >&2
    echo "(xvfb-run comes with the xvfb package: apt-get install xvfb)" >&2
    exit 1
fi
exec build/tessary
