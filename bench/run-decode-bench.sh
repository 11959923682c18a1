#!/usr/bin/env bash
# The benchmark of joining compressed recordings, in one command:
#
#   bash bench/run-decode-bench.sh [BUILD_DIR] [RUNS]      (defaults: build 5)
#
# 1. Builds naadwerk-cli in BUILD_DIR (configured first when it is not yet).
# 2. Writes, with the ffmpeg program, two halves of an interview as a recorder
#    makes them: pink noise and a 440 Hz tone, 44.1 kHz stereo MP3 at
#    128 kbit/s (LAME), of one hour each, and two of two hours each.
# 3. Times, in turn and RUNS times each after one warm-up, with /usr/bin/time:
#      glue    naadwerk-cli glue --wav1 a.mp3 --wav2 b.mp3 --joined out/glue.wav
#              --no-save: opens both halves (their status lines), joins them
#              into 16 kHz mono 16-bit WAV;
#      ffmpeg  ffmpeg -i a.mp3 -i b.mp3 -filter_complex concat=n=2:v=0:a=1
#              -ac 1 -ar 16000 out/ffmpeg.wav
#    and prints the medians of the wall times and peak memory, and the median
#    of the glue/ffmpeg ratios run by run.
# 4. Measures naadwerk-cli's peak memory (/usr/bin/time -v) on the 1-hour
#    and on the 2-hour halves.
#
# Inputs and outputs stay in BUILD_DIR/bench-decode/.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-5}

bash scripts/install-deps.sh bench
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja
fi
cmake --build "$build" --parallel "$(nproc)" --target naadwerk-cli
cli=$(cd "$build" && pwd)/src/app/naadwerk-cli

work=$build/bench-decode
mkdir -p "$work/out"
cd "$work"
# half NAME SECONDS SEED: one half, written once.
half() {
  [ -f "$1" ] && return
  ffmpeg -nostdin -v error -y \
    -f lavfi -i "anoisesrc=d=$2:c=pink:r=44100:a=0.2:seed=$3" -f lavfi -i "sine=f=440:r=44100:d=$2" \
    -filter_complex "[0][1]amix=inputs=2,aformat=channel_layouts=stereo" \
    -c:a libmp3lame -b:a 128k "$1.part.mp3"
  mv "$1.part.mp3" "$1"
}
half a.mp3 3600 1
half b.mp3 3600 2
half a2.mp3 7200 3
half b2.mp3 7200 4

# timed NAME: one run of that command, appending "wall-seconds peak-kB" to
# out/NAME.times.
timed() {
  local times=out/$1.times
  case $1 in
    glue)   /usr/bin/time -f '%e %M' -a -o "$times" "$cli" glue --wav1 a.mp3 --wav2 b.mp3 \
              --joined out/glue.wav --no-save >out/log.txt ;;
    ffmpeg) /usr/bin/time -f '%e %M' -a -o "$times" ffmpeg -nostdin -v error -y -i a.mp3 -i b.mp3 \
              -filter_complex concat=n=2:v=0:a=1 -ac 1 -ar 16000 out/ffmpeg.wav ;;
  esac
}
rm -f out/*.times
timed glue; timed ffmpeg; rm -f out/*.times # warm-up
for _ in $(seq "$runs"); do
  timed glue
  timed ffmpeg
done

median() { sort -g | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
for name in glue ffmpeg; do
  printf '%-7s median wall %6.2f s   median peak %7d kB\n' "$name" \
    "$(cut -d' ' -f1 out/$name.times | median)" "$(cut -d' ' -f2 out/$name.times | median)"
done
paste -d' ' out/glue.times out/ffmpeg.times | awk '{print $1/$3}' | median |
  xargs printf 'glue/ffmpeg, median of the run-by-run ratios: %.2f\n'

# Peak memory at either length.
for pair in "a.mp3 b.mp3 1 h" "a2.mp3 b2.mp3 2 h"; do
  set -- $pair
  /usr/bin/time -v -o out/memory.txt "$cli" glue --wav1 "$1" --wav2 "$2" --joined out/glue.wav --no-save >/dev/null
  printf 'halves of %s %s: peak %s kB\n' "$3" "$4" "$(awk -F': ' '/Maximum resident/ {print $2}' out/memory.txt)"
done
