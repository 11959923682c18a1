#!/usr/bin/env bash
# Writes the inputs of the glue benchmark into DIR: two halves of WORDS words
# each, as an interview would come from the aligner and the transcriber.
#
#   bench/make-glue-input.sh DIR [WORDS] [SHAPE]   (WORDS per half, default 500000)
#
# For each half N (1 and 2):
#   partN.spk  the word file: one word every 300 ms, 240 ms long, tab-separated,
#              sentences of 6 to 17 words, a "SIL" every 53rd word, a speaker
#              turn (SP_01 Anna / SP_02 Bob) every three lines of text;
#   partN.txt  the transcript of the same words: a turn is framed by its start,
#              speaker and end lines and holds three lines of about ten words;
#              with SHAPE "short-turns" a turn holds three or four lines of two
#              words, about 18 bytes of transcript per word, as long
#              interviews have;
#   partN.wav  one second of silence, 16 kHz mono 16-bit.
# The files are the same bytes that bench_glue generates for its halves, so
# both measure the same work. Only awk, printf and head are needed.
set -euo pipefail
dir=${1:?usage: make-glue-input.sh DIR [WORDS]}
words=${2:-500000}
shape=${3:-}
case $shape in
  '') perLine=10 ;;
  short-turns) perLine=2 ;;
  *) echo "make-glue-input.sh: unknown shape $shape" >&2; exit 2 ;;
esac
mkdir -p "$dir"

for half in 1 2; do
  awk -v n="$words" -v half="$half" -v perLine="$perLine" -v spk="$dir/part$half.spk" -v txt="$dir/part$half.txt" '
  BEGIN {
    split("so we moved to the city in spring of that year because my father had found work at harbour uh* and all thought life would be easier there", vocab, " ")
    kinds = 28
    sentence = 0; inLine = 0; linesInTurn = 0; turn = 0; ms = 0; line = ""
    for (i = 0; i < n; ++i) {
      silence = (i % 53 == 52)
      last = 0
      if (!silence) { ++sentence; last = (sentence >= 6 + (i * 7) % 12) }
      word = silence ? "SIL" : vocab[(i * 13 + half) % kinds + 1]
      if (last) { word = word ((i % 5 == 0) ? "?" : "."); sentence = 0 }
      speaker = (turn % 2) ? "SP_02 Bob" : "SP_01 Anna"
      printf "interview_%d\t1\t%.3f\t%.3f\t%s\t0.%d\t%s\n", half, ms / 1000, (ms + 240) / 1000, word, 50 + i % 50, speaker > spk
      if (linesInTurn == 0 && inLine == 0)
        printf "[StartTime: %d ms]\n[Speaker: %s]\n", ms, speaker > txt
      if (!silence) { line = line (inLine ? " " : "") word; ++inLine }
      if (inLine >= perLine || i == n - 1) {
        print line > txt
        line = ""; inLine = 0
        if (++linesInTurn == (perLine == 10 ? 3 : 3 + turn % 2) || i == n - 1) {
          printf "[EndTime: %d ms]\n\n", ms + 240 > txt
          linesInTurn = 0; ++turn
        }
      }
      ms += 300
    }
  }'

  # 44-byte header (RIFF, fmt: PCM, 1 channel, 16000 Hz, 32000 bytes/s,
  # block 2, 16 bits; data: 32000 bytes), then one second of zero samples.
  { printf 'RIFF\044\175\000\000WAVEfmt \020\000\000\000\001\000\001\000\200\076\000\000\000\175\000\000\002\000\020\000data\000\175\000\000'
    head -c 32000 /dev/zero; } >"$dir/part$half.wav"
done
