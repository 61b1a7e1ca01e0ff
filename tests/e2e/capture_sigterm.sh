#!/usr/bin/env bash
# A recording with "--capture FILE" ended by SIGTERM: the program runs on a
# virtual display with simulated devices (scripts/headless.sh presses Start,
# lets it record, then sends SIGTERM); the capture file must be complete:
# well-formed to the last block, with received data and a CAPTURE_COMPLETE
# frame for every interface. Without Xvfb or xdotool the test is skipped
# (exit status 77); tshark checks the file when it is installed, else
# Python's struct module reads it.
#   capture_sigterm.sh <kestrum executable> <tests build dir>
set -u
exe=${1:?usage: capture_sigterm.sh <kestrum> <tests build dir>}
root=$(cd "$(dirname "$0")/../.." && pwd)
command -v Xvfb > /dev/null || { echo "SKIP: no Xvfb"; exit 77; }
command -v xdotool > /dev/null || { echo "SKIP: no xdotool (nothing presses Start)"; exit 77; }
work=$(mktemp -d /tmp/kestrum-e2e-XXXXXX)
trap 'rm -rf "$work"' EXIT
capture="$work/run.pcapng"
KESTRUM_SCREENSHOT="$work/shot.png" KESTRUM_HEADLESS_SECONDS=2 \
  timeout 120 "$root/scripts/headless.sh" "$exe" --capture "$capture" > "$work/out.txt" 2>&1
status=$?
cat "$work/out.txt"
[[ $status -eq 0 ]] || { echo "FAIL: headless run exit status $status"; exit 1; }
[[ -s "$capture" ]] || { echo "FAIL: no capture file"; exit 1; }

# Frames per event type and interface, whatever reads them.
python3 - "$capture" > "$work/frames.txt" <<'PY' || { echo "FAIL: the capture file is not whole"; exit 1; }
import struct, sys
data = open(sys.argv[1], "rb").read()
at, interfaces, frames = 0, 0, {}
while at < len(data):
    kind, total = struct.unpack_from("<II", data, at)
    if total < 12 or total % 4 or at + total > len(data) or struct.unpack_from("<I", data, at + total - 4)[0] != total:
        sys.exit(1)
    if kind == 1:
        interfaces += 1
    elif kind == 6:
        interface, _, _, captured = struct.unpack_from("<IIII", data, at + 8)
        event = data[at + 28 + 8]
        frames[(interface, event)] = frames.get((interface, event), 0) + 1
    at += total
print("interfaces", interfaces)
for (interface, event), count in sorted(frames.items()):
    print("frames", interface, event, count)
PY
cat "$work/frames.txt"
interfaces=$(awk '/^interfaces/ {print $2}' "$work/frames.txt")
[[ ${interfaces:-0} -ge 1 ]] || { echo "FAIL: no interface"; exit 1; }
grep -q "^frames [0-9]* 2 " "$work/frames.txt" || { echo "FAIL: no received data"; exit 1; }
complete=$(grep -c "^frames [0-9]* 6 1$" "$work/frames.txt")
[[ $complete -eq $interfaces ]] || { echo "FAIL: $complete of $interfaces interfaces completed"; exit 1; }
if command -v tshark > /dev/null; then
  tshark -r "$capture" > /dev/null 2> "$work/tshark.err" || { echo "FAIL: tshark"; cat "$work/tshark.err"; exit 1; }
fi
echo "PASS"
