#!/usr/bin/env bash
# The benchmark of the review list, in one command:
#
#   bash bench/run-review-bench.sh [BUILD_DIR] [WORDS] [RUNS]    (defaults: build 500000 5)
#
# 1. Builds naadwerk-cli in BUILD_DIR (configured first when it is not yet).
# 2. Writes two halves of WORDS words each with bench/make-review-input.sh:
#    talk-like words, and word files with the aligner's slips.
# 3. Times, in turn and RUNS times each after one warm-up, with /usr/bin/time:
#      glue    naadwerk-cli glue ... --no-save: opens the six files and glues;
#      review  naadwerk-cli review ...: the same, then the review list (TSV);
#    and prints the medians of the wall times and peak memory, and what the
#    review costs above the glue: seconds (aim <= 2) and peak bytes per word
#    (aim <= 200).
#
# Inputs and outputs stay in BUILD_DIR/bench-review/.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
words=${2:-500000}
runs=${3:-5}

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja
fi
cmake --build "$build" --target naadwerk-cli
cli=$(cd "$build" && pwd)/src/app/naadwerk-cli

work=$build/bench-review
if [ "$(cat "$work/words" 2>/dev/null)" != "$words" ]; then
  rm -rf "$work"
  bash bench/make-review-input.sh "$work" "$words"
  echo "$words" >"$work/words"
fi
mkdir -p "$work/out"
cd "$work"

inputs=(--ctm1 part1.spk --ctm2 part2.spk --text1 part1.txt --text2 part2.txt
        --wav1 part1.wav --wav2 part2.wav --joined out/joined.wav)
timed() {
  case $1 in
    glue)   /usr/bin/time -f '%e %M' -a -o out/glue.times "$cli" glue "${inputs[@]}" --no-save >out/log.txt ;;
    review) /usr/bin/time -f '%e %M' -a -o out/review.times "$cli" review "${inputs[@]}" -o out/review.tsv ;;
  esac
}

echo "review 2 x $words words against the glue alone; $runs runs each, in turn, after one warm-up"
timed glue
timed review
rm -f out/*.times
for ((r = 0; r < runs; r++)); do
  timed glue
  timed review
done

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
glue_s=$(cut -d' ' -f1 out/glue.times | median)
review_s=$(cut -d' ' -f1 out/review.times | median)
glue_kb=$(cut -d' ' -f2 out/glue.times | median)
review_kb=$(cut -d' ' -f2 out/review.times | median)
echo
printf '%-28s %12s %12s\n' "median of $runs runs" "wall s" "peak kB"
printf '%-28s %12.2f %12d\n' "naadwerk-cli glue --no-save" "$glue_s" "$glue_kb"
printf '%-28s %12.2f %12d\n' "naadwerk-cli review" "$review_s" "$review_kb"
printf 'review list rows:            %d\n' "$(($(wc -l <out/review.tsv) - 1))"
printf 'review above glue, wall:     %.2f s (aim <= 2)\n' "$(echo "$review_s $glue_s" | awk '{ print $1 - $2 }')"
printf 'review above glue, peak:     %.0f bytes per word (%d words; aim <= 200)\n' \
  "$(echo "$review_kb $glue_kb $words" | awk '{ print ($1 - $2) * 1024 / (2 * $3) }')" $((2 * words))
