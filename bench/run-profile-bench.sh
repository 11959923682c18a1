#!/usr/bin/env bash
# The benchmark of cutting subtitles to a profile, in one command:
#
#   bash bench/run-profile-bench.sh [BUILD_DIR] [WORDS] [RUNS]   (defaults: build 1000000 5)
#
# Builds bench_profilecut in BUILD_DIR and runs it: the SRT step of Glue on
# WORDS made-up words (120 to 220 a minute, with pauses), cut to the
# streaming profile against the classic cues, RUNS times each in turn; it
# prints the fastest and the median of each and their ratio (aim: at most 1.5).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
words=${2:-1000000}
runs=${3:-5}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja
fi
cmake --build "$build" --target bench_profilecut
"$build/bench/bench_profilecut" "$words" "$runs"
