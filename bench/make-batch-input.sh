#!/usr/bin/env bash
# Writes a made-up archive of interviews for batch: COUNT interviews of two
# parts of SECONDS each, in DIR.
#
#   bench/make-batch-input.sh DIR COUNT SECONDS
#
# DIR/NAME/tape_1.{wav,spk,txt} and tape_2.*: each part a recording (pink
# noise, 44.1 kHz mono 16-bit: the same samples for every part, hard-linked),
# a word file of a word every 300 ms and its transcript; DIR/NAME/parts.tsv
# lists the two parts, and DIR/manifest.tsv lists every interview. So DIR is
# both a manifest's archive and a folder of interviews (batch DIR). Needs sox
# and awk.
set -euo pipefail
dir=${1:?usage: make-batch-input.sh DIR COUNT SECONDS}
count=${2:?usage: make-batch-input.sh DIR COUNT SECONDS}
seconds=${3:?usage: make-batch-input.sh DIR COUNT SECONDS}
mkdir -p "$dir"
cd "$dir"

sox -n -r 44100 -c 1 -b 16 .tape.wav synth "$seconds" pinknoise vol 0.2
for part in 1 2; do
  awk -v s="$seconds" -v spk=".tape_$part.spk" -v txt=".tape_$part.txt" -v part="$part" 'BEGIN {
    n = int(s * 1000 / 300)
    for (i = 0; i < n; ++i) {
      ms = i * 300
      w = (i % 12 == 11) ? "end." : (part == 1 ? "word" : "other")
      who = (int(i / 30) % 2) ? "SP_02 Bob" : "SP_01 Anna"
      printf "tape\t1\t%.3f\t%.3f\t%s\t0.9\t%s\n", ms / 1000, (ms + 240) / 1000, w, who > spk
      if (i % 30 == 0) printf "[StartTime: %d ms]\n[Speaker: %s]\n", ms, who > txt
      if (i % 10 == 9) print "a line of ten words of the transcript of this tape" > txt
    }
  }'
done

printf '# The made-up interviews of bench/make-batch-input.sh.\n' > manifest.tsv
for k in $(seq -w 1 "$count"); do
  name=interview_$k
  mkdir -p "$name"
  for part in 1 2; do
    ln -f .tape.wav "$name/tape_$part.wav"
    cp .tape_$part.spk "$name/tape_$part.spk"
    cp .tape_$part.txt "$name/tape_$part.txt"
  done
  printf 'tape_1.spk\ttape_1.txt\ttape_1.wav\ntape_2.spk\ttape_2.txt\ttape_2.wav\n' > "$name/parts.tsv"
  printf '%s\t%s/parts.tsv\n' "$name" "$name" >> manifest.tsv
done
