#!/usr/bin/env bash
# The benchmark of gluing many parts, in one command:
#
#   bash bench/run-parts-bench.sh [BUILD_DIR] [RUNS]      (defaults: build 3)
#
# 1. Time: 20 parts of 6 minutes (44.1 kHz mono, 16-bit, each with a word file
#    of a word every 300 ms and its transcript) glued with --parts, against the
#    same two hours of audio, words and texts glued as two halves of 60 minutes
#    (--ctm1 ... --wav2). Each runs RUNS times after a warm-up, in turn, with
#    glue and save; the median wall time of each and the median ratio of
#    neighbouring runs (parts / halves) are printed.
# 2. Memory: 50 parts of 1 minute against 2 parts of 25 minutes, both with
#    --parts; the median peak memory (kB) of each and their ratio.
# Inputs and outputs stay in BUILD_DIR/bench-parts/ (about 1.5 GB); they are
# made once. Installs what it needs (sox, /usr/bin/time) with scripts/install-deps.sh bench.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-3}

bash scripts/install-deps.sh bench
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" --target naadwerk-cli
cli=$(realpath "$build/src/app/naadwerk-cli")
dir=$build/bench-parts
mkdir -p "$dir/out"
cd "$dir"

# words SECONDS OFFSET_MS NAME: a word every 300 ms from OFFSET_MS on, as the
# word file NAME.spk and its transcript NAME.txt (a turn every 30 words).
words() {
  awk -v s="$1" -v off="$2" -v spk="$3.spk" -v txt="$3.txt" 'BEGIN {
    n = int(s * 1000 / 300)
    for (i = 0; i < n; ++i) {
      ms = off + i * 300
      w = (i % 12 == 11) ? "end." : "word"
      who = (int(i / 30) % 2) ? "SP_02 Bob" : "SP_01 Anna"
      printf "b\t1\t%.3f\t%.3f\t%s\t0.9\t%s\n", ms / 1000, (ms + 240) / 1000, w, who > spk
      if (i % 30 == 0) printf "[StartTime: %d ms]\n[Speaker: %s]\n", ms, who > txt
      if (i % 10 == 9) print "a line of ten words of the transcript of this tape" > txt
    }
  }'
}

if [ ! -f ready-time ]; then
  sox -n -r 44100 -c 1 -b 16 part.wav synth 360 pinknoise vol 0.2
  : > parts20.tsv
  for k in $(seq -w 1 20); do
    cp part.wav "p$k.wav"
    words 360 0 "p$k"
    printf 'p%s.spk\tp%s.txt\tp%s.wav\n' "$k" "$k" "$k" >> parts20.tsv
  done
  # The same audio, words and texts as two halves of ten parts each; the
  # words of the halves keep the times the parts get in the joined recording.
  for h in 1 2; do
    first=$(( (h - 1) * 10 + 1 ))
    sox $(for k in $(seq -w "$first" $((first + 9))); do echo "p$k.wav"; done) "half$h.wav"
    : > "half$h.spk"; : > "half$h.txt"
    for j in $(seq 0 9); do
      words 360 $((j * 360000)) tmp
      cat tmp.spk >> "half$h.spk"; cat tmp.txt >> "half$h.txt"
    done
  done
  touch ready-time
fi
if [ ! -f ready-memory ]; then
  sox -n -r 44100 -c 1 -b 16 minute.wav synth 60 pinknoise vol 0.2
  sox -n -r 44100 -c 1 -b 16 long.wav synth 1500 pinknoise vol 0.2
  words 60 0 minute
  words 1500 0 long
  : > parts50.tsv
  for k in $(seq 1 50); do printf 'minute.spk\tminute.txt\tminute.wav\n' >> parts50.tsv; done
  printf 'long.spk\tlong.txt\tlong.wav\nlong.spk\tlong.txt\tlong.wav\n' > parts2.tsv
  touch ready-memory
fi

measure() { /usr/bin/time -f '%e %M' "$@" > /dev/null 2> time.txt; tail -1 time.txt; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

parts=(glue --parts parts20.tsv --joined out/parts.wav)
halves=(glue --ctm1 half1.spk --ctm2 half2.spk --text1 half1.txt --text2 half2.txt --wav1 half1.wav
        --wav2 half2.wav --joined out/halves.wav)
"$cli" "${parts[@]}" > /dev/null
"$cli" "${halves[@]}" > /dev/null
: > times.txt
for r in $(seq "$runs"); do
  p=$(measure "$cli" "${parts[@]}")
  h=$(measure "$cli" "${halves[@]}")
  echo "$p $h" >> times.txt
done
echo "20 parts x 6 min against 2 halves x 60 min (44.1 kHz), $runs runs:"
echo "  parts:  median $(cut -d' ' -f1 times.txt | median) s, peak $(cut -d' ' -f2 times.txt | median) kB"
echo "  halves: median $(cut -d' ' -f3 times.txt | median) s, peak $(cut -d' ' -f4 times.txt | median) kB"
echo "  ratio parts / halves: median $(awk '{ printf "%.3f\n", $1 / $3 }' times.txt | median)"

: > memory.txt
for r in $(seq "$runs"); do
  a=$(measure "$cli" glue --parts parts50.tsv --joined out/m50.wav)
  b=$(measure "$cli" glue --parts parts2.tsv --joined out/m2.wav)
  echo "$a $b" >> memory.txt
done
m50=$(cut -d' ' -f2 memory.txt | median)
m2=$(cut -d' ' -f4 memory.txt | median)
echo "50 parts x 1 min against 2 parts x 25 min, $runs runs:"
echo "  50 parts: peak $m50 kB; 2 parts: peak $m2 kB; ratio $(awk -v a="$m50" -v b="$m2" 'BEGIN { printf "%.3f", a / b }')"
