#!/usr/bin/env bash
# kestrum --print-to-pdf OUT.pdf FILE from a script, without a display: the
# saved margins and orientation are used, every line is in the PDF, and a
# failure exits 1 with the reason on standard error. Also --help and
# --version, which print to standard output and exit 0.
#   print_to_pdf.sh <kestrum executable> <tests build dir>
set -u

exe=${1:?usage: print_to_pdf.sh <kestrum> <tests build dir>}
command -v pdftotext >/dev/null 2>&1 || { echo "SKIP: pdftotext (poppler-utils) is not installed"; exit 77; }
command -v pdfinfo >/dev/null 2>&1 || { echo "SKIP: pdfinfo (poppler-utils) is not installed"; exit 77; }

work=$(mktemp -d /tmp/kestrum-e2e-XXXXXX)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
name=$(basename "$exe")
name=${name%.*}

fail() { echo "FAIL: $*"; exit 1; }

"$exe" --version >"$work/out" 2>"$work/err" || fail "--version exited $?"
grep -Eq "^$name [0-9]+\.[0-9]+" "$work/out" || fail "--version printed: $(cat "$work/out")"
"$exe" --help >"$work/out" 2>"$work/err" || fail "--help exited $?"
grep -q -- "--print-to-pdf OUT.pdf FILE" "$work/out" || fail "--help lacks --print-to-pdf"
[[ -s "$work/err" ]] && fail "--help wrote to standard error: $(cat "$work/err")"

# 120 lines, landscape, wide top margin: saved by an earlier run.
mkdir -p "$XDG_CONFIG_HOME/Tannbrook/$name"
printf '[Printer]\nPrinterOrientation=1\nMarginTop=40\nMarginBottom=10\nMarginLeft=30\nMarginRight=10\n' \
    >"$XDG_CONFIG_HOME/Tannbrook/$name/$name.ini"
for i in $(seq 1 120); do printf 'Protocol line %03d\r\n' "$i"; done >"$work/log.txt"

"$exe" --print-to-pdf "$work/log.pdf" "$work/log.txt" 2>"$work/err" || fail "printing exited $?: $(cat "$work/err")"
[[ -s "$work/log.pdf" ]] || fail "no PDF written"
pdftotext -layout "$work/log.pdf" "$work/log.out" || fail "pdftotext cannot read the PDF"
lines=$(grep -o "Protocol line [0-9]*" "$work/log.out" | wc -l)
distinct=$(grep -o "Protocol line [0-9]*" "$work/log.out" | sort -u | wc -l)
[[ "$lines" -eq 120 && "$distinct" -eq 120 ]] || fail "$lines lines ($distinct different) of 120 in the PDF"
for i in 001 060 120; do grep -q "Protocol line $i" "$work/log.out" || fail "line $i is missing"; done
info=$(pdfinfo "$work/log.pdf")
grep -q "Title: *log.txt" <<<"$info" || fail "the job is not named after the file: $info"
read -r width height < <(sed -n 's/^Page size: *\([0-9.]*\) x \([0-9.]*\).*/\1 \2/p' <<<"$info")
awk -v w="$width" -v h="$height" 'BEGIN { exit !(w > h) }' || fail "not landscape: $width x $height"
# The top margin of 40 mm (113 pt): no text above it.
top=$(pdftotext -bbox "$work/log.pdf" - | sed -n 's/.*yMin="\([0-9.]*\)".*/\1/p' | sort -n | head -1)
awk -v t="$top" 'BEGIN { exit !(t >= 112.9) }' || fail "text at $top pt, above the 40 mm top margin"

# Failures: exit 1 and the reason on standard error, no PDF.
check_failure() {  # <what> <expected text> <arguments...>
    local what=$1 says=$2
    shift 2
    "$exe" "$@" >"$work/out" 2>"$work/err"
    local status=$?
    [[ $status -eq 1 ]] || fail "$what: exit status $status"
    grep -q -- "$says" "$work/err" || fail "$what: standard error says: $(cat "$work/err")"
}
check_failure "missing file" "no such file" --print-to-pdf "$work/x.pdf" "$work/missing.txt"
printf 'not rich text' >"$work/bad.rtf"
check_failure "not Rich Text" "bad.rtf" --print-to-pdf "$work/x.pdf" "$work/bad.rtf"
check_failure "unwritable PDF" "could not be started" --print-to-pdf "$work/no/such/dir/x.pdf" "$work/log.txt"
check_failure "missing arguments" "--print-to-pdf needs" --print-to-pdf "$work/x.pdf"
[[ -e "$work/x.pdf" ]] && fail "a PDF was written on a failure"
echo "print_to_pdf: ok"
exit 0
