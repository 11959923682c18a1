#!/usr/bin/env bash
# Glues the example interview with naadwerk-cli, saves it into
# BUILD/browser-page/ and checks the karaoke page in Chromium. The screenshot
# goes to BUILD/artifacts/karaoke.png.
#   run-karaoke-test.sh NAADWERK-CLI EXAMPLES-DIR BUILD-DIR
#
# The browser is Debian's Chromium, /usr/bin/chromium (another one through
# CHROMIUM=PATH). playwright-core is pinned to a version that runs on Debian
# 12's Node.js 18 as well as on later ones.
set -euo pipefail
cli=$1 examples=$2 build=$3
here=$(cd "$(dirname "$0")" && pwd)

export CHROMIUM=${CHROMIUM:-/usr/bin/chromium}
if [ ! -x "$CHROMIUM" ]; then
  echo "$CHROMIUM is missing: install Debian's chromium (bash scripts/install-deps.sh test)" >&2
  exit 1
fi
# playwright-core and jQuery come from npm, as pinned by the lock file.
bash "$here/npm-ci.sh"

out="$build/browser-page"
rm -rf "$out"
mkdir -p "$out"
"$cli" glue \
  --ctm1 "$examples/interview_1.spk" --ctm2 "$examples/interview_2.spk" \
  --text1 "$examples/interview_1.txt" --text2 "$examples/interview_2.txt" \
  --wav1 "$examples/interview_1.wav" --wav2 "$examples/interview_2.wav" \
  --joined "$out/interview.wav" >"$out/log.txt"

node "$here/karaoke.test.mjs" "$out/interview.html" "$build/artifacts"
