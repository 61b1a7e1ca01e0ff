#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in their own build folder and runs
# each for a bounded time (ctest label "fuzz"). Without clang it says so and
# succeeds, so that a machine without it is not a failure.
#   scripts/fuzz.sh [SECONDS per target, default 60] [BUILD folder, default build-fuzz]
set -eu
seconds=${1:-60}
build=${2:-build-fuzz}
cd "$(dirname "$0")/.."
if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: clang++ not found; install the Debian package clang to fuzz"
  exit 0
fi
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DKESTRUM_GUI=OFF -DKESTRUM_BENCH=OFF -DKESTRUM_FUZZ=ON -DKESTRUM_FUZZ_SECONDS="$seconds" >/dev/null
cmake --build "$build" -j2 --target fuzz_rtf_reader
ctest --test-dir "$build" -L fuzz --output-on-failure
