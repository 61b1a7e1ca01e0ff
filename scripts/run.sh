#!/usr/bin/env bash
# Starts Kestrum. Without a display it runs on a virtual one and saves a screenshot.
set -eu
exe=$1; shift || true
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$exe" "$@"
fi
echo "Kestrum is a desktop program and there is no display here;"
echo "starting it on a virtual display (Xvfb) and saving a screenshot."
exec "$(dirname "$0")/headless.sh" "$exe" "$@"
