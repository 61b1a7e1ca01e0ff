#!/usr/bin/env bash
# The headless run of scripts/headless.sh: the program starts on a virtual
# display with simulated devices, a screenshot is saved, and SIGTERM ends it
# with exit status 0. Without Xvfb the test is skipped (exit status 77).
#   headless_screenshot.sh <kestrum executable> <tests build dir>
set -u
exe=${1:?usage: headless_screenshot.sh <kestrum> <tests build dir>}
root=$(cd "$(dirname "$0")/../.." && pwd)
command -v Xvfb > /dev/null || { echo "SKIP: no Xvfb"; exit 77; }
work=$(mktemp -d /tmp/kestrum-e2e-XXXXXX)
trap 'rm -rf "$work"' EXIT
KESTRUM_SCREENSHOT="$work/shot.png" KESTRUM_HEADLESS_SECONDS=1 \
  timeout 120 "$root/scripts/headless.sh" "$exe" > "$work/out.txt" 2>&1
status=$?
cat "$work/out.txt"
[[ $status -eq 0 ]] || { echo "FAIL: headless run exit status $status"; exit 1; }
[[ -s "$work/shot.png" ]] || { echo "FAIL: no screenshot"; exit 1; }
grep -q "Kestrum ended on SIGTERM (exit status 0)" "$work/out.txt" || { echo "FAIL: no clean end"; exit 1; }
echo "PASS"
