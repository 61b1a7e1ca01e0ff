#!/usr/bin/env bash
# Runs Kestrum on a virtual display (Xvfb) with simulated serial devices,
# presses Start (with xdotool, when it is installed), saves a screenshot and
# ends the program cleanly with SIGTERM, so that it writes its settings.
#   headless.sh EXE [ARGS...]
# KESTRUM_SCREENSHOT: where the screenshot goes (default: a file in $TMPDIR).
# KESTRUM_HEADLESS_SECONDS: how long it records before the screenshot (3).
set -eu
exe=$1; shift
here=$(cd "$(dirname "$0")" && pwd)
shot=${KESTRUM_SCREENSHOT:-${TMPDIR:-/tmp}/kestrum-screenshot.png}
seconds=${KESTRUM_HEADLESS_SECONDS:-3}
work=$(mktemp -d "${TMPDIR:-/tmp}/kestrum-headless.XXXXXX")
xvfb_pid= devices_pid= app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$devices_pid" ] && kill "$devices_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

if [ -z "${KESTRUM_DEMO_DEVICES_RUNNING:-}" ]; then
  "$here/demo_devices.py" "$work/dev" text binary scale > "$work/devices.txt" &
  devices_pid=$!
  for _ in $(seq 50); do [ -e "$work/dev/scale" ] && break; sleep 0.1; done
  export XDG_CONFIG_HOME="$work/config"
  "$here/demo_settings.sh" "$XDG_CONFIG_HOME" "$(basename "$exe")" \
    "$work/dev/text" "$work/dev/binary" "$work/dev/scale"
fi

# A free display number.
n=99
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
export DISPLAY=":$n"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

"$exe" "$@" > "$work/kestrum.log" 2>&1 &
app_pid=$!
sleep 2
if ! kill -0 "$app_pid" 2>/dev/null; then
  echo "Kestrum ended early:" >&2; cat "$work/kestrum.log" >&2; exit 1
fi

window=root
if command -v xdotool > /dev/null; then
  # The Start button is the first of the row along the window's bottom edge.
  window=$(timeout 10 xdotool search --sync --onlyvisible --pid "$app_pid" | head -n 1 || true)
  if [ -n "$window" ]; then
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove $((X + 30)) $((Y + HEIGHT - 10)) click 1
    sleep "$seconds"
  else
    window=root
  fi
else
  echo "(xdotool is not installed: the screenshot shows the window before Start)"
fi

import -window "$window" "$shot"
echo "Screenshot: $shot"

kill -TERM "$app_pid"
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app_pid" 2>/dev/null; then
  echo "Kestrum did not end on SIGTERM" >&2; exit 1
fi
wait "$app_pid" && status=0 || status=$?
app_pid=
echo "Kestrum ended on SIGTERM (exit status $status)."
exit "$status"
