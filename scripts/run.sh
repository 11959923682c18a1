#!/usr/bin/env bash
# Installs what is missing, builds Naadwerk and starts the window.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build
exec ./build/src/app/naadwerk "$@"
