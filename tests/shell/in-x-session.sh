#!/usr/bin/env bash
# Runs a command on a fresh X server of its own with a window manager: xvfb-run gives the server
# (a free display number, so runs in parallel do not meet), openbox manages its windows, and the
# command starts once openbox has taken the screen.
set -u
if [ -z "${QUIRRA_X_SESSION:-}" ]; then
  export QUIRRA_X_SESSION=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$@"
fi
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
for _ in $(seq 600); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
QT_QPA_PLATFORM=xcb "$@"
status=$?
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
exit "$status"
