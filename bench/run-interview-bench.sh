#!/usr/bin/env bash
# The interview file's aims, in one command:
#
#   bash bench/run-interview-bench.sh [BUILD_DIR] [WORDS] [RUNS]   (defaults: build 500000 3)
#
# Builds bench_interview in BUILD_DIR and runs it offscreen: opening an
# interview file of 2 x WORDS words with corrections against opening its two
# word files (aim: 1.5 times at most), and the longest wait of the window's
# event loop while it writes its recovery copy (aim: 100 ms at most).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
words=${2:-500000}
runs=${3:-3}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja
fi
cmake --build "$build" --parallel "$(nproc)" --target bench_interview
QT_QPA_PLATFORM=offscreen "$build/bench/bench_interview" "$words" "$runs"
