#!/usr/bin/env bash
# Installs what building and testing need (what scripts/run.sh installs, plus
# the tools the tests call, Chromium and Node.js for the browser test, clang for
# the fuzzers), builds Naadwerk and runs every test: once as shipped, once under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the batch on a Slurm
# array job (scripts/check-slurm.sh), then the fuzzers.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh test
export QT_QPA_PLATFORM=offscreen

# The player's tests play through a real audio device. Where no sound server
# answers (a CI machine, a container), a PulseAudio server of the tests' own
# runs with a null sink, which plays in real time into nothing.
if ! pactl info >/dev/null 2>&1; then
  pulse_dir=$(mktemp -d)
  HOME=$pulse_dir XDG_RUNTIME_DIR=$pulse_dir pulseaudio -n --daemonize=no --exit-idle-time=-1 \
    --load="module-null-sink sink_name=naadwerk_null" \
    --load="module-native-protocol-unix auth-anonymous=1 socket=$pulse_dir/native" \
    >"$pulse_dir/log" 2>&1 &
  pulse_pid=$!
  trap 'kill "$pulse_pid" 2>/dev/null || true; rm -rf "$pulse_dir"' EXIT
  export PULSE_SERVER=unix:$pulse_dir/native
  for _ in $(seq 50); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.2
  done
  pactl info >/dev/null 2>&1 || { cat "$pulse_dir/log" >&2; echo "PulseAudio did not start" >&2; exit 1; }
fi

bash scripts/build.sh build
ctest --test-dir build --output-on-failure --parallel "$(nproc)"

# Any sanitizer report makes the test fail: ASan aborts, UBSan is made fatal.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp
bash scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DNAADWERK_SANITIZE=ON
ctest --test-dir build-asan --output-on-failure --parallel "$(nproc)"

# naadwerk-cli batch --slurm as an array job on a one-node Slurm of its own
# (as root; without root it says so and skips).
bash scripts/check-slurm.sh build

# Every reader of outside input is fuzzed for a bounded time (FUZZ_SECONDS).
bash scripts/fuzz.sh
