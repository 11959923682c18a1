#!/usr/bin/env bash
# Configures and builds Naadwerk into build/ (or the folder given as $1).
# Extra arguments go to cmake's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S . -B "$dir" -G Ninja "$@"
fi
cmake --build "$dir" --parallel "$(nproc)"
