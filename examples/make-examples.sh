#!/usr/bin/env bash
# Makes the example interview in this folder: a short talk between an
# interviewer and a respondent, split in two halves as a transcriber hands
# them to Naadwerk. For each half:
#   interview_N.wav  the recording (16 kHz, mono, 16-bit), spoken by espeak-ng
#   interview_N.spk  the aligner's words (tab-separated SPK: name, channel,
#                    start and end in seconds, word, confidence, speaker)
#   interview_N.txt  the transcript text with its marker lines
# The words are spoken one at a time and put one after the other, so every
# start and end time in the SPK files is where that word really is in the
# recording. Pauses between sentences are "SIL" lines, as an aligner writes
# them; a word the aligner did not know is written "<unk>".
#
# Needs espeak-ng and sox (Debian packages). The result is the same on every
# run, so the generated files are kept in the repository beside this script.
set -euo pipefail
set -f   # the sentences hold "?", which must not match file names
cd "$(dirname "$0")"

command -v espeak-ng >/dev/null || { echo "espeak-ng is missing" >&2; exit 1; }
command -v sox >/dev/null || { echo "sox is missing" >&2; exit 1; }

werk=$(mktemp -d)
trap 'rm -rf "$werk"' EXIT

RATE=16000
VOICE_Interviewer="en-gb+f3"   # the two speakers get different voices
VOICE_Respondent="en-us+m3"
NUMMER_Interviewer="01"
NUMMER_Respondent="02"

# Silence of a number of milliseconds.
stilte() { sox -n -r $RATE -c 1 -b 16 "$2" trim 0 "0.$(printf '%03d' "$1")"; }

frames() { soxi -s "$1"; }
ms() { echo $(( ($1 * 1000 + RATE / 2) / RATE )); }   # frames to whole ms
sec() { printf '%d.%03d' $(( $1 / 1000 )) $(( $1 % 1000 )); }

# One half. Arguments: half number, time of its start in the whole interview
# (ms; the transcriber's time marks count from the start of the interview),
# then the turns, each "Speaker|sentence|sentence...". A word written
# "spoken=written" is spoken as the first and aligned as the second.
maak_half() {
  local nr=$1 t0=$2; shift 2
  local naam="interview_$nr" stukken=() pos=0 teller=0 n=0
  local spk="$naam.spk" txt="$naam.txt"
  : >"$werk/spk"; : >"$werk/txt"

  regel() { # start-ms end-ms word conf speaker
    printf '%s\t1\t%s\t%s\t%s\t%s\t%s\n' "$naam" "$(sec "$1")" "$(sec "$2")" "$3" "$4" "$5" >>"$werk/spk"
  }
  pauze() { # ms speaker
    n=$((n + 1)); stilte "$1" "$werk/p$n.wav"; stukken+=("$werk/p$n.wav")
    local van; van=$(ms $pos); pos=$((pos + $1 * RATE / 1000))
    regel "$van" "$(ms $pos)" SIL 1.00 "$2"
  }

  local eerste_spreker=${1%%|*}
  pauze 400 "$eerste_spreker"
  for beurt in "$@"; do
    local spreker=${beurt%%|*} zinnen=${beurt#*|}
    local stem_var="VOICE_$spreker" nummer_var="NUMMER_$spreker"
    printf '[StartTime: %d ms]\n[Speaker: SP_%s %s]\n' $((t0 + $(ms $pos))) "${!nummer_var}" "$spreker" >>"$werk/txt"
    IFS='|' read -r -a zin_lijst <<<"$zinnen"
    local z=0
    for zin in "${zin_lijst[@]}"; do
      local getoond=()
      for token in $zin; do
        local gesproken=${token%%=*} geschreven=${token#*=}
        n=$((n + 1)); teller=$((teller + 1))
        espeak-ng -v "${!stem_var}" -s 150 -w "$werk/r$n.wav" "$gesproken"
        sox "$werk/r$n.wav" -r $RATE -c 1 -b 16 "$werk/w$n.wav" \
          silence 1 0.01 0.5% reverse silence 1 0.01 0.5% reverse
        local van; van=$(ms $pos); pos=$((pos + $(frames "$werk/w$n.wav")))
        local conf
        if [ "$geschreven" = "<unk>" ]; then conf=0.41
        else conf=$(printf '0.%02d' $(( 80 + (teller * 37) % 20 ))); fi
        regel "$van" "$(ms $pos)" "$geschreven" "$conf" "$spreker"
        stukken+=("$werk/w$n.wav")
        getoond+=("$gesproken")
        # a short breath between the words of a sentence
        n=$((n + 1)); stilte 60 "$werk/g$n.wav"; stukken+=("$werk/g$n.wav"); pos=$((pos + 60 * RATE / 1000))
      done
      echo "${getoond[*]}" >>"$werk/txt"
      z=$((z + 1))
      # a pause after every sentence, a longer one at the end of the turn
      if [ $z -lt ${#zin_lijst[@]} ]; then pauze 450 "$spreker"; fi
    done
    printf '[EndTime: %d ms]\n\n' $((t0 + $(ms $pos))) >>"$werk/txt"
    pauze 800 "$spreker"
  done

  sox "${stukken[@]}" -r $RATE -c 1 -b 16 "$naam.wav"
  # Line files as Naadwerk writes them: UTF-8 with a byte-order mark, CR LF.
  { printf '\xef\xbb\xbf'; sed 's/$/\r/' "$werk/spk"; } >"$spk"
  { printf '\xef\xbb\xbf'; sed 's/$/\r/' "$werk/txt"; } >"$txt"
  HALF_MS=$(ms $pos)
  echo "$naam: $(ms $pos) ms, $(grep -vc $'\tSIL\t' "$werk/spk") words"
}

maak_half 1 0 \
  "Interviewer|Good morning. Thank you for coming today.|Shall we begin?" \
  "Respondent|Yes, of course. I am ready." \
  "Interviewer|Where were you born?" \
  "Respondent|I was born in Zwolle=<unk> in nineteen fifty two."
maak_half 2 "$HALF_MS" \
  "Interviewer|What did your father do?" \
  "Respondent|He was a baker.|We lived above the shop." \
  "Interviewer|Did you help him?" \
  "Respondent|Every Saturday morning, before school." \
  "Interviewer|Thank you. That is all for today."
