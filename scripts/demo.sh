#!/usr/bin/env bash
# Starts Kestrum with three simulated serial devices on pseudo-terminals,
# mapped to COM1..COM3 in a settings file of its own (a temporary
# XDG_CONFIG_HOME), so that it can be tried without hardware: press Start.
# Without a display it runs on a virtual one and saves a screenshot.
set -eu
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
exe=$(cd "$build" && pwd)/kestrum
work=$(mktemp -d "${TMPDIR:-/tmp}/kestrum-demo.XXXXXX")
devices_pid=
cleanup() {
  [ -n "$devices_pid" ] && kill "$devices_pid" 2>/dev/null && wait "$devices_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

"$here/demo_devices.py" "$work/dev" text binary scale > "$work/devices.txt" &
devices_pid=$!
for _ in $(seq 50); do
  [ -e "$work/dev/scale" ] && break
  sleep 0.1
done
[ -e "$work/dev/scale" ] || { echo "the simulated devices did not start" >&2; exit 1; }

export XDG_CONFIG_HOME="$work/config"
"$here/demo_settings.sh" "$XDG_CONFIG_HOME" "$(basename "$exe")" \
  "$work/dev/text" "$work/dev/binary" "$work/dev/scale"
echo "Simulated devices: COM1 text ($work/dev/text), COM2 binary frames, COM3 scale."
echo "Press Start to record; Asc/Hex switch the display."

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  "$exe"
else
  KESTRUM_DEMO_DEVICES_RUNNING=1 "$here/headless.sh" "$exe"
fi
