#!/usr/bin/env bash
# Glues the example interview with naadwerk-cli, saves it into
# BUILD/browser-page/ and checks the karaoke page in Chromium. The screenshot
# goes to BUILD/artifacts/karaoke.png.
#   run-karaoke-test.sh NAADWERK-CLI EXAMPLES-DIR BUILD-DIR
set -euo pipefail
cli=$1 voorbeeld=$2 bouw=$3
hier=$(cd "$(dirname "$0")" && pwd)

# playwright-core and jQuery come from npm, as pinned by the lock file.
if [ ! -f "$hier/node_modules/.package-lock.json" ] ||
   [ "$hier/package-lock.json" -nt "$hier/node_modules/.package-lock.json" ]; then
  (cd "$hier" && npm ci --no-audit --no-fund --loglevel=error)
fi

uit="$bouw/browser-page"
rm -rf "$uit"
mkdir -p "$uit"
"$cli" glue \
  --ctm1 "$voorbeeld/interview_1.spk" --ctm2 "$voorbeeld/interview_2.spk" \
  --text1 "$voorbeeld/interview_1.txt" --text2 "$voorbeeld/interview_2.txt" \
  --wav1 "$voorbeeld/interview_1.wav" --wav2 "$voorbeeld/interview_2.wav" \
  --joined "$uit/interview.wav" >"$uit/log.txt"

node "$hier/karaoke.test.mjs" "$uit/interview.html" "$bouw/artifacts"
