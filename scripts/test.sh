#!/usr/bin/env bash
# Installs what building and testing need (what scripts/run.sh installs, plus
# the tools the tests call, Chromium and Node.js for the browser test, clang for
# the fuzzers), builds Naadwerk and runs every test: once as shipped, once under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the fuzzers.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh test
export QT_QPA_PLATFORM=offscreen

bash scripts/build.sh build
ctest --test-dir build --output-on-failure --parallel "$(nproc)"

# Any sanitizer report makes the test fail: ASan aborts, UBSan is made fatal.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp
bash scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DNAADWERK_SANITIZE=ON
ctest --test-dir build-asan --output-on-failure --parallel "$(nproc)"

# Every reader of outside input is fuzzed for a bounded time (FUZZ_SECONDS).
bash scripts/fuzz.sh
