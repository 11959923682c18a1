#!/usr/bin/env bash
# Installs what building and running need (only that: the tools of the tests
# come with scripts/test.sh), builds Naadwerk into build/ and starts the window.
# Arguments go to the window.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh build
bash scripts/build.sh build
exec ./build/src/app/naadwerk "$@"
