#!/usr/bin/env bash
# The benchmark of the karaoke pages in Chromium, in one command:
#
#   bash bench/run-page-bench.sh [BUILD_DIR]        (default: build)
#
# Builds naadwerk-makepages in BUILD_DIR, writes the classic and the
# standalone page of made-up interviews of 3,000, 30,000 and 300,000 words
# into BUILD_DIR/bench-pages/, and prints for each page the load time and the
# median main-thread cost of one update, from a Chromium trace
# (bench/page-bench.mjs tells what is measured). Needs Debian's chromium and
# Node.js 18 or later with npm (bash scripts/install-deps.sh test).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

bash scripts/install-deps.sh test
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" --target naadwerk-makepages
bash tests/browser/npm-ci.sh

out=$build/bench-pages
mkdir -p "$out"
pages=()
for words in 3000 30000 300000; do
  "$build/tests/browser/naadwerk-makepages" "$out" "$words" long.wav
  pages+=("$out/classic-$words.html" "$out/standalone-$words.html")
done
node bench/page-bench.mjs "${pages[@]}"
