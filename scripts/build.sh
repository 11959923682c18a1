#!/usr/bin/env bash
# Configures and builds Naadwerk into build/ (or the folder given as $1).
# Extra arguments go to cmake's configure step. Warnings are errors here
# (NAADWERK_WERROR), as in every build of the project's own scripts.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
if [ ! -f "$dir/build.ninja" ]; then
  # ccache, where it is installed, lets a second build folder reuse what
  # the first compiled.
  launcher=()
  if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S . -B "$dir" -G Ninja -DNAADWERK_WERROR=ON "${launcher[@]}" "$@"
elif ! grep -qx 'NAADWERK_WERROR:BOOL=ON' "$dir/CMakeCache.txt"; then
  # A folder configured before warnings were errors only when asked for.
  cmake "$dir" -DNAADWERK_WERROR=ON
fi
cmake --build "$dir" --parallel "$(nproc)"
