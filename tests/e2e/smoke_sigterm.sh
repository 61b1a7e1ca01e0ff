#!/usr/bin/env bash
# Starts the program, ends it with SIGTERM/SIGINT and checks that the
# settings file was written on the way out. A second instance writes
# Synchronize and no window placement; the master writes the placement.
#   smoke_sigterm.sh <kestrum executable> <tests build dir>
set -u

exe=${1:?usage: smoke_sigterm.sh <kestrum> <tests build dir>}

# Run under a virtual X server when there is one, else Qt's offscreen platform.
if [[ -z "${KESTRUM_E2E_INNER:-}" ]] && command -v xvfb-run >/dev/null 2>&1; then
    KESTRUM_E2E_INNER=1 exec xvfb-run -a bash "$0" "$@"
fi
if [[ -z "${DISPLAY:-}" ]]; then export QT_QPA_PLATFORM=offscreen; fi

work=$(mktemp -d /tmp/kestrum-e2e-XXXXXX)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill -KILL "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT

export XDG_CONFIG_HOME="$work/config"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
name=$(basename "$exe")
name=${name%.*}
ini="$XDG_CONFIG_HOME/Tannbrook/$name/$name.ini"

fail() { echo "FAIL: $*"; [[ -f "$ini" ]] && { echo "--- $ini"; cat "$ini"; }; exit 1; }

# Waits until instance number $1 is held (its lock file is locked).
wait_for_instance() {
    local lock="$XDG_RUNTIME_DIR/$name$1.lock"
    for _ in $(seq 600); do
        if [[ -f "$lock" ]] && ! flock -n "$lock" true 2>/dev/null; then return 0; fi
        sleep 0.05
    done
    return 1
}

# Waits for process $1 to end; its exit status in $status.
wait_for_exit() {
    for _ in $(seq 600); do
        if ! kill -0 "$1" 2>/dev/null; then wait "$1"; status=$?; return 0; fi
        sleep 0.05
    done
    return 1
}

"$exe" 2>"$work/first.err" &
first=$!
pids+=("$first")
wait_for_instance 1 || fail "first instance did not start"

"$exe" 2>"$work/second.err" &
second=$!
pids+=("$second")
wait_for_instance 2 || fail "second instance did not take number 2"

kill -TERM "$second"
wait_for_exit "$second" || fail "second instance did not end on SIGTERM"
[[ $status -eq 0 ]] || fail "second instance exit status $status"
[[ -f "$ini" ]] || fail "no settings file after the second instance"
grep -qx '\[General\]' "$ini" || fail "no [General] section"
grep -qx 'SaveSettings=1' "$ini" || fail "no SaveSettings=1"
grep -qx 'Synchronize=0' "$ini" || fail "second instance did not write Synchronize"
grep -qx '\[FormMain\]' "$ini" && fail "second instance wrote [FormMain]"
# Its number is free again while the master runs on.
flock -n "$XDG_RUNTIME_DIR/${name}2.lock" true || fail "number 2 still held"
kill -0 "$first" 2>/dev/null || fail "master ended with the second instance"

kill -INT "$first"
wait_for_exit "$first" || fail "master did not end on SIGINT"
[[ $status -eq 0 ]] || fail "master exit status $status"
grep -qx '\[FormMain\]' "$ini" || fail "master did not write [FormMain]"
grep -qx 'Synchronize=0' "$ini" || fail "master dropped the Synchronize key"
flock -n "$XDG_RUNTIME_DIR/${name}1.lock" true || fail "number 1 still held"

echo "PASS"
