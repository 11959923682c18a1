#!/usr/bin/env bash
# Installs what is missing, builds Naadwerk and glues the example interview in
# examples/ with naadwerk-cli: the joined recording and everything Save writes
# end up in build/demo/ (or the folder given as $1).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh build
bash scripts/build.sh build

out=${1:-build/demo}
mkdir -p "$out"
./build/src/app/naadwerk-cli glue \
  --ctm1 examples/interview_1.spk --ctm2 examples/interview_2.spk \
  --text1 examples/interview_1.txt --text2 examples/interview_2.txt \
  --wav1 examples/interview_1.wav --wav2 examples/interview_2.wav \
  --joined "$out/interview.wav"

out=$(cd "$out" && pwd)
echo
echo "The glued interview is in $out:"
for f in interview.wav interview.srt interview.spk interview.ctm interview.txt \
         interview_word.txt interview.html; do
  if [ -f "$out/$f" ]; then echo "  $out/$f"; fi
done
echo "Open $out/interview.html in a browser to follow the words while it plays."
