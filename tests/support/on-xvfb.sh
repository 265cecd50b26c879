#!/usr/bin/env bash
# Runs a test program on Qt's xcb platform, on an X server and a D-Bus
# session of its own: Xvfb picks a free display itself (-displayfd), so that
# tests run side by side never share one, and Qt's accessibility bridge finds
# a session bus without reaching the user's or trying to start one. All stop
# with the test however it ends.
#   on-xvfb.sh PROGRAM [ARGS...]
set -euo pipefail
coproc xvfb { exec Xvfb -displayfd 1 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp -noreset; }
server=$xvfb_PID program=
stop() {
    [ -z "$program" ] || kill -- "-$program" 2>/dev/null || true
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
}
trap stop EXIT
trap 'exit 143' TERM INT HUP

# The display's number, written once the server listens.
read -r display <&"${xvfb[0]}" || { echo "Xvfb did not start" >&2; exit 1; }
# In the background and a process group of its own, so that a signal stops
# the test, its bus and the server at once.
set -m
env -u WAYLAND_DISPLAY DISPLAY=":$display" QT_QPA_PLATFORM=xcb dbus-run-session -- "$@" &
program=$!
status=0
wait "$program" || status=$?
program=
exit "$status"
