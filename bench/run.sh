#!/usr/bin/env bash
# Builds nothing; runs every benchmark program of a build and prints its figures.
#   bench/run.sh [BUILD]
set -u
build=${1:-build}
dir="$build/bench"
[ -d "$dir" ] || { echo "no benchmarks in $dir (configure with -DKESTRUM_BENCH=ON)"; exit 1; }
status=0
for bench in "$dir"/bench_*; do
  [ -x "$bench" ] && [ -f "$bench" ] || continue
  echo "== $(basename "$bench")"
  QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$bench" || status=1
  echo
done
exit $status
