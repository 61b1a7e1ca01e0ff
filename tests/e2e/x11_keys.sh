#!/usr/bin/env bash
# The keyboard on a real X server without a window manager:
# - the window takes the keyboard as it appears, and again when a dialog of
#   its own closes: Alt+F opens the File menu before anything was clicked,
#   Alt+E the Edit menu after Save as;
# - keys typed while the window is held up are handled in the order they
#   were typed: the protocol (200,000 lines) is selected and deleted, the
#   deletion undone, and Ctrl+A, Ctrl+C typed while the undo still runs; the
#   clipboard must then hold the whole protocol (handled the other way round,
#   Ctrl+C finds no selection and the clipboard stays empty).
# Needs Xvfb, xdotool and xclip (else skipped, 77).
#   x11_keys.sh <kestrum executable> <tests build dir>
set -u
exe=${1:?usage: x11_keys.sh <kestrum> <tests build dir>}
for tool in xvfb-run xdotool xclip; do
    command -v "$tool" > /dev/null || { echo "SKIP: no $tool"; exit 77; }
done
if [[ -z "${KESTRUM_E2E_INNER:-}" ]]; then
    KESTRUM_E2E_INNER=1 exec xvfb-run -a bash "$0" "$@"
fi
unset QT_QPA_PLATFORM

work=$(mktemp -d /tmp/kestrum-e2e-XXXXXX)
app=
cleanup() {
    [[ -n "$app" ]] && kill -CONT "$app" 2>/dev/null && kill -KILL "$app" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
lines=200000
seq -f 'line %.0f of the protocol' 1 "$lines" | sed 's/$/\r/' > "$work/protocol.txt"

"$exe" "$work/protocol.txt" > "$work/app.log" 2>&1 &
app=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app" | head -n 1)
[[ -n "$window" ]] || { echo "FAIL: no window"; cat "$work/app.log"; exit 1; }
for _ in $(seq 100); do
    [[ "$(xdotool getwindowname "$window")" == *protocol.txt* ]] && break
    sleep 0.1
done
sleep 0.5
xdotool key alt+f
sleep 0.5
shown=$(xdotool search --onlyvisible --pid "$app" | wc -l)
[[ "$shown" -ge 2 ]] || { echo "FAIL: Alt+F opened no menu"; exit 1; }
# Save as, the name typed into the dialog, Return; then the keyboard is the
# main window's again.
xdotool key s s Return
sleep 1
xdotool type --delay 20 "$work/saved.rtf"
xdotool key Return
for _ in $(seq 50); do [[ -s "$work/saved.rtf" ]] && break; sleep 0.1; done
[[ -s "$work/saved.rtf" ]] || { echo "FAIL: Save as wrote no file"; exit 1; }
sleep 0.5
xdotool key alt+e
sleep 0.5
shown=$(xdotool search --onlyvisible --pid "$app" | wc -l)
[[ "$shown" -ge 2 ]] || { echo "FAIL: Alt+E opened no menu after the Save as dialog"; exit 1; }
xdotool key Escape
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 100)) $((Y + 60)) click 1   # into the protocol
sleep 0.5

echo -n "" | xclip -selection clipboard
xdotool key ctrl+a Delete
sleep 0.5
xdotool key alt+BackSpace
sleep 0.2
xdotool key ctrl+a ctrl+c
got=0
for _ in $(seq 300); do
    got=$(timeout 20 xclip -o -selection clipboard 2> /dev/null | wc -l)
    [[ "$got" -ge "$lines" ]] && break
    sleep 0.1
done
[[ "$got" -eq "$lines" ]] || { echo "FAIL: the clipboard holds $got lines, not $lines"; exit 1; }
echo "PASS"
