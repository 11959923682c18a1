#!/usr/bin/env bash
# Reading a WhisperX file against reading the same words as CTM lines:
#
#   bash bench/run-wordformat-bench.sh [BUILD_DIR] [WORDS] [RUNS]   (defaults: build 500000 5)
#
# Builds bench_wordformats in BUILD_DIR and runs it: it writes both files in
# memory, reads each RUNS times in turn as Open reads a part's word file,
# and prints the fastest read of each and their ratio (aim: at most 2).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
words=${2:-500000}
runs=${3:-5}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja
fi
cmake --build "$build" --target bench_wordformats
"$build/bench/bench_wordformats" "$words" "$runs"
