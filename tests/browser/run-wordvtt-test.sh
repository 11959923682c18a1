#!/usr/bin/env bash
# Glues the example interview with naadwerk-cli, saving it with the WebVTT
# file with word times into BUILD/browser-wordvtt/, and reads that file
# through Chromium's WebVTT parser.
#   run-wordvtt-test.sh NAADWERK-CLI EXAMPLES-DIR BUILD-DIR
set -euo pipefail
cli=$1 examples=$2 build=$3
here=$(cd "$(dirname "$0")" && pwd)

export CHROMIUM=${CHROMIUM:-/usr/bin/chromium}
if [ ! -x "$CHROMIUM" ]; then
  echo "$CHROMIUM is missing: install Debian's chromium (bash scripts/install-deps.sh test)" >&2
  exit 1
fi
bash "$here/npm-ci.sh"

out="$build/browser-wordvtt"
rm -rf "$out"
mkdir -p "$out"
"$cli" glue \
  --ctm1 "$examples/interview_1.spk" --ctm2 "$examples/interview_2.spk" \
  --text1 "$examples/interview_1.txt" --text2 "$examples/interview_2.txt" \
  --wav1 "$examples/interview_1.wav" --wav2 "$examples/interview_2.wav" \
  --joined "$out/interview.wav" --srt "$out/interview.srt" --also vtt-words >"$out/log.txt"

node "$here/wordvtt.test.mjs" "$out/interview.vtt"
