#!/usr/bin/env bash
# Runs one end-to-end test in a private X server: Xvfb on a free display, 1024x768x24, with
# openbox as the window manager. Openbox keeps a 30-pixel strip free at the bottom of the
# screen, as a task bar would, so the work area is smaller than the screen. The command's exit
# status is this script's; Xvfb and openbox are always stopped afterwards.
#
# Usage: run_under_xvfb.sh COMMAND [ARGUMENT...]
#   e.g. run_under_xvfb.sh python3 tests/e2e/test_startup.py
# TESSARY_E2E_BOTTOM_MARGIN sets the strip's height in pixels (default 30; 0 for none).
set -u

if [ $# -lt 1 ]; then
    echo "usage: $0 COMMAND [ARGUMENT...]" >&2
    exit 2
fi
for tool in Xvfb openbox xprop; do
    if ! command -v "$tool" >/dev/null; then
        echo "$0: $tool is missing (scripts/install-deps.sh test installs it)" >&2
        exit 2
    fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/tessary-x.XXXXXX") || exit 2
xvfb_pid=""
wm_pid=""

# shellcheck disable=SC2317  # stop and cleanup run from the EXIT trap
stop() {
    local pid=$1
    [ -n "$pid" ] || return 0
    kill "$pid" 2>/dev/null || return 0
    for _ in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null; return 0; }
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
}

# shellcheck disable=SC2317
cleanup() {
    stop "$wm_pid"
    stop "$xvfb_pid"
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

show_log() {
    echo "---- $1 ----" >&2
    cat "$2" >&2 2>/dev/null
}

# Polls a check every 0.1 s for up to 30 s while the process PID lives; fails otherwise.
wait_for() {
    local pid=$1
    shift
    for _ in $(seq 1 300); do
        "$@" && return 0
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# Xvfb picks a free display number itself and writes it to fd 3 once it accepts connections.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" \
    >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
display=""
if wait_for "$xvfb_pid" grep -qx '[0-9][0-9]*' "$work/display"; then
    display=":$(cat "$work/display")"
fi
if [ -z "$display" ]; then
    echo "$0: Xvfb did not start" >&2
    show_log Xvfb "$work/xvfb.log"
    exit 2
fi
export DISPLAY="$display"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

# Openbox with the system's configuration, its margins set to the task-bar strip.
margin=${TESSARY_E2E_BOTTOM_MARGIN:-30}
mkdir -p "$work/wm-home"
if [ -r /etc/xdg/openbox/rc.xml ]; then
    sed -e "/<margins>/,/<\/margins>/s|<bottom>[0-9]*</bottom>|<bottom>$margin</bottom>|" \
        /etc/xdg/openbox/rc.xml >"$work/rc.xml"
else
    cat >"$work/rc.xml" <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <margins><top>0</top><bottom>$margin</bottom><left>0</left><right>0</right></margins>
</openbox_config>
EOF
fi
HOME="$work/wm-home" XDG_CONFIG_HOME="$work/wm-home" \
    openbox --config-file "$work/rc.xml" --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
wm_ready() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' &&
        xprop -root _NET_WORKAREA 2>/dev/null | grep -q '='
}
if ! wait_for "$wm_pid" wm_ready; then
    echo "$0: openbox did not start on $DISPLAY" >&2
    show_log openbox "$work/openbox.log"
    exit 2
fi

"$@"
status=$?
if [ "$status" -ne 0 ]; then
    echo "$0: '$*' ended with status $status on $DISPLAY" >&2
fi
exit "$status"
