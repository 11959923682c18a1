#!/usr/bin/env bash
# The benchmark of gluing, in one command:
#
#   bash bench/run.sh [BUILD_DIR] [WORDS] [RUNS]    (defaults: build 500000 5)
#
# 1. Builds naadwerk-cli and the benchmark programs in BUILD_DIR (configured
#    first when it is not yet).
# 2. Writes two halves of WORDS words each with bench/make-glue-input.sh: word
#    files (SPK) and transcripts, and recordings of one second, 16 kHz mono.
# 3. Times, in turn and RUNS times each after one warm-up, with /usr/bin/time:
#      glue  naadwerk-cli glue ... --joined out/joined.wav: opens the six
#            files, glues and saves every result (WAV, SPK, text, SRT,
#            transcript, karaoke page);
#      awk   Debian's default awk shifting the times of both word files by
#            3600.5 s, the least any tool does that reads and writes those
#            lines;
#    and prints the fastest wall time of each (noise only adds time), their
#    ratio, the largest peak memory and the glue's peak bytes per word. The
#    same again for transcripts in short turns ("short-turns": three or four
#    lines of two words each, about 15 bytes of text per word).
# 4. Runs bench_window (opening a word file of 1,000,000 words in the window
#    against the reader alone) when the build has it.
# 5. Runs bench_player (the words following the player, 100,000 rows; the
#    lag needs an audio device, see scripts/test.sh) when the build has it.
# 6. Runs bench_undo (an undo at 1,000,000 glued rows, from the Edit menu to
#    the table painted, and the derived views made again) when the build has it.
#
# Inputs and outputs stay in BUILD_DIR/bench-glue/ and BUILD_DIR/bench-glue-short-turns/.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
words=${2:-500000}
runs=${3:-5}

bash scripts/install-deps.sh bench
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja
fi
targets=(naadwerk-cli)
for bench in bench_window bench_player bench_undo; do
  if cmake --build "$build" --target help 2>/dev/null | grep -qw "$bench"; then
    targets+=("$bench")
  fi
done
cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]}"
cli=$(cd "$build" && pwd)/src/app/naadwerk-cli

awk_program='BEGIN{OFS="\t"} {$3=sprintf("%.3f",$3+3600.5); $4=sprintf("%.3f",$4+3600.5); print}'
# timed NAME: one run of that command, appending "wall-seconds peak-kB" to
# out/NAME.times.
timed() {
  local times=out/$1.times
  case $1 in
    glue) /usr/bin/time -f '%e %M' -a -o "$times" "$cli" glue \
            --ctm1 part1.spk --ctm2 part2.spk --text1 part1.txt --text2 part2.txt \
            --wav1 part1.wav --wav2 part2.wav --joined out/joined.wav >out/log.txt ;;
    awk)  /usr/bin/time -f '%e %M' -a -o "$times" \
            awk -F'\t' "$awk_program" part1.spk part2.spk >out/awk.spk ;;
  esac
}

awk_name=$(readlink -f "$(command -v awk)")
fastest() { sort -g | head -n 1; }

# bench_input SHAPE: the glue of the input of that shape (make-glue-input.sh)
# against awk, in BUILD_DIR/bench-glue[-SHAPE]/.
bench_input() {
  local work=$build/bench-glue${1:+-$1}
  if [ "$(cat "$work/words" 2>/dev/null)" != "$words" ]; then
    rm -rf "$work"
    bash bench/make-glue-input.sh "$work" "$words" "$1"
    echo "$words" >"$work/words"
  fi
  mkdir -p "$work/out"
  cd "$work"
  echo
  echo "glue and save 2 x $words words${1:+ ($1)} ($(du -ch part1.spk part2.spk part1.txt part2.txt | tail -n 1 | cut -f 1) of input) against $awk_name; $runs runs each, in turn, after one warm-up; load: $(cut -d' ' -f1-3 /proc/loadavg)"
  timed glue
  timed awk
  rm -f out/*.times
  for ((r = 0; r < runs; r++)); do
    timed glue
    timed awk
  done

  lines=$(wc -l <out/awk.spk)
  [ "$lines" -eq $((2 * words)) ] || { echo "awk wrote $lines lines, not $((2 * words))" >&2; exit 1; }
  if [ ! -s out/joined.spk ] || [ ! -s out/joined.html ]; then
    echo "the glue saved no results" >&2
    exit 1
  fi

  # Noise on a shared machine only adds time: the fastest run of each is
  # compared. The peak memory is the largest of the runs.
  local glue_s awk_s glue_kb awk_kb
  glue_s=$(cut -d' ' -f1 out/glue.times | fastest)
  awk_s=$(cut -d' ' -f1 out/awk.times | fastest)
  glue_kb=$(cut -d' ' -f2 out/glue.times | sort -g | tail -n 1)
  awk_kb=$(cut -d' ' -f2 out/awk.times | sort -g | tail -n 1)
  printf '%-28s %12s %12s\n' "fastest of $runs runs" "wall s" "peak kB"
  printf '%-28s %12.2f %12d\n' "naadwerk-cli glue + save" "$glue_s" "$glue_kb"
  printf '%-28s %12.2f %12d\n' "awk shifting the times" "$awk_s" "$awk_kb"
  printf 'glue / awk, wall time:       %.2f (fastest against fastest; aim <= 1.2)\n' \
    "$(echo "$glue_s $awk_s" | awk '{ print ($2 > 0) ? $1 / $2 : 0 }')"
  printf 'glue peak per word:          %.0f bytes (%d words; aim <= 300)\n' \
    "$(echo "$glue_kb $words" | awk '{ print $1 * 1024 / (2 * $2) }')" $((2 * words))
  cd - >/dev/null
}

bench_input ""
bench_input short-turns

if [ -x "$build/bench/bench_window" ]; then
  echo
  echo "opening a word file of 1,000,000 words in the window (offscreen):"
  QT_QPA_PLATFORM=offscreen "$build/bench/bench_window" 1000000 "$runs" 2>/dev/null
fi
if [ -x "$build/bench/bench_player" ]; then
  echo
  echo "the words following the player, 100,000 word rows (offscreen):"
  QT_QPA_PLATFORM=offscreen "$build/bench/bench_player" 100000 20 2>/dev/null
fi
if [ -x "$build/bench/bench_undo" ]; then
  echo
  echo "undo at 1,000,000 word rows, glued (offscreen; aim: 16 ms):"
  QT_QPA_PLATFORM=offscreen "$build/bench/bench_undo" 500000 "$runs" 2>/dev/null
fi
