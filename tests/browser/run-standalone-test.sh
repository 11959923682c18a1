#!/usr/bin/env bash
# Glues the example interview with naadwerk-cli into BUILD/browser-standalone/
# with the standalone page (words below 0.9 marked), writes a made-up page of
# 30,000 words beside it with naadwerk-makepages, and checks both pages in
# Chromium with no network route at all. The screenshot goes to
# BUILD/artifacts/standalone.png.
#   run-standalone-test.sh NAADWERK-CLI NAADWERK-MAKEPAGES EXAMPLES-DIR BUILD-DIR
set -euo pipefail
cli=$1 makepages=$2 examples=$3 build=$4
here=$(cd "$(dirname "$0")" && pwd)

export CHROMIUM=${CHROMIUM:-/usr/bin/chromium}
if [ ! -x "$CHROMIUM" ]; then
  echo "$CHROMIUM is missing: install Debian's chromium (bash scripts/install-deps.sh test)" >&2
  exit 1
fi
bash "$here/npm-ci.sh"

out="$build/browser-standalone"
rm -rf "$out"
mkdir -p "$out"
"$cli" glue \
  --ctm1 "$examples/interview_1.spk" --ctm2 "$examples/interview_2.spk" \
  --text1 "$examples/interview_1.txt" --text2 "$examples/interview_2.txt" \
  --wav1 "$examples/interview_1.wav" --wav2 "$examples/interview_2.wav" \
  --joined "$out/interview.wav" --page standalone --low-confidence 0.9 >"$out/log.txt"
"$makepages" "$out" 30000 long.wav

node "$here/standalone.test.mjs" "$out/interview.html" "$out/standalone-30000.html" "$build/artifacts"
