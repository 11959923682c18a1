#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for FUZZ_SECONDS
# (default 30: with a reader per word file format there are two dozen, and
# the whole test command must stay well within CI's time) on its seed corpus, under AddressSanitizer and
# UndefinedBehaviorSanitizer. Any finding fails the run; the crashing input is
# kept in build-fuzz/findings/ so it can be added to the regression corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh fuzz
seconds=${FUZZ_SECONDS:-30}
bash scripts/build.sh build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DNAADWERK_FUZZ=ON
mkdir -p build-fuzz/findings
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
status=0
for target in build-fuzz/fuzz/fuzz_*; do
  [ -f "$target" ] && [ -x "$target" ] || continue
  name=$(basename "$target")
  seeds=fuzz/corpus/${name#fuzz_}
  work=build-fuzz/corpus/${name#fuzz_}
  mkdir -p "$work"
  # A dictionary of the format's tokens lets the fuzzer build them in one step.
  dict=()
  [ -f "fuzz/dict/${name#fuzz_}.dict" ] && dict=(-dict="fuzz/dict/${name#fuzz_}.dict")
  echo "== $name: ${seconds}s"
  # The corpus in the repo is only read; new inputs go to the work corpus.
  if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -max_len=65536 -print_final_stats=0 "${dict[@]}" \
       -artifact_prefix="build-fuzz/findings/$name-" "$work" "$seeds" 2>"build-fuzz/$name.log"; then
    tail -n 60 "build-fuzz/$name.log"
    echo "FAIL: $name found a problem"
    status=1
  else
    grep -E '^(#[0-9]+ +DONE|Done )' "build-fuzz/$name.log" | tail -n 1 || true
  fi
done
exit $status
