#!/usr/bin/env bash
# Writes the inputs of the review benchmark into DIR: two halves of WORDS
# words each, as make-glue-input.sh writes them, but talk-like: words from a
# vocabulary of 5000 where the first are far more common, and in the word
# files the aligner's slips: 2 % of the words left out, 2 % heard otherwise,
# 2 % with a word added after them and 1 % written "<unk>".
#
#   bench/make-review-input.sh DIR [WORDS]     (WORDS per half, default 500000)
#
# partN.spk, partN.txt and partN.wav (one second of silence) for N = 1, 2.
set -euo pipefail
dir=${1:?usage: make-review-input.sh DIR [WORDS]}
words=${2:-500000}
mkdir -p "$dir"

for half in 1 2; do
  awk -v n="$words" -v half="$half" -v spk="$dir/part$half.spk" -v txt="$dir/part$half.txt" '
  function word(   r, k, s, w) {
    # Zipf-like: the k-th word with a chance about 1/k.
    r = rand(); k = int(exp(r * log(5000)))
    w = ""; s = k
    do { w = w syl[s % 12 + 1]; s = int(s / 12) } while (s > 0)
    return w
  }
  function row(text, conf) {
    printf "interview_%d\t1\t%.3f\t%.3f\t%s\t%s\t%s\n", half, ms / 1000, (ms + 240) / 1000, text, conf, speaker > spk
    ms += 300
  }
  BEGIN {
    srand(half * 7919)
    split("ka lo mi ne tu ra ve so di ba go pe", syl, " ")
    sentence = 0; inLine = 0; linesInTurn = 0; turn = 0; ms = 0; line = ""; length_ = 8
    for (i = 0; i < n; ++i) {
      speaker = (turn % 2) ? "SP_02 Bob" : "SP_01 Anna"
      w = word()
      shown = (sentence == 0) ? toupper(substr(w, 1, 1)) substr(w, 2) : w
      if (++sentence >= length_) { shown = shown "."; sentence = 0; length_ = 6 + int(rand() * 12) }
      if (linesInTurn == 0 && inLine == 0)
        printf "[StartTime: %d ms]\n[Speaker: %s]\n", ms, speaker > txt
      line = line (inLine ? " " : "") shown; ++inLine
      r = rand()
      if (r < 0.02) { }                                   # left out
      else if (r < 0.04) row(w "x", "0.40")               # heard otherwise
      else if (r < 0.05) row("<unk>", "0.30")             # unknown
      else { row(w, "0.9" int(rand() * 10)); if (r < 0.07) row(word(), "0.50") }
      if (i % 53 == 52) row("SIL", "1.00")
      if (inLine >= 10 || i == n - 1) {
        print line > txt
        line = ""; inLine = 0
        if (++linesInTurn == 3 || i == n - 1) {
          printf "[EndTime: %d ms]\n\n", ms > txt
          linesInTurn = 0; ++turn
        }
      }
    }
  }'
  { printf 'RIFF\044\175\000\000WAVEfmt \020\000\000\000\001\000\001\000\200\076\000\000\000\175\000\000\002\000\020\000data\000\175\000\000'
    head -c 32000 /dev/zero; } >"$dir/part$half.wav"
done
