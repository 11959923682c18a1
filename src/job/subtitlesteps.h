#pragma once

#include "formats/cuelist.h"
#include "formats/wordrow.h"
#include "job/gluesettings.h"
#include "job/phraserow.h"

#include <span>
#include <vector>

// The steps from the joined words to the subtitles, as Glue runs them: pure
// functions of the rows and the settings.

// The phrases of rows, cut as the settings say (words holding "*" left out,
// "SIL" blanked, phrases ended at pauses). Never fails.
std::vector<PhraseRow> buildPhrases(std::span<const WordRow> rows, const GlueSettings &settings);

// Fills cues from phrases: a cue per phrase, its times read as the phrase's
// cells show them (a typed cell as a decimal number, rounded half to even),
// then shaped and, when the settings say so, widened. Throws Error for a
// time cell that is no number; the cues before it are set by then, and cues
// of an earlier building beyond the new count are cut away first.
void fillCues(CueList &cues, const std::vector<PhraseRow> &phrases, const GlueSettings &settings);

// The cues of the phrases under the settings' subtitle profile: classic fills
// them as fillCues does, byte for byte as always; any other cuts the words
// of the phrases to fit the profile (fitCues), Enlarge within its limits.
// Throws Error as fillCues does, or for a word's time cell that is no number.
void makeCues(CueList &cues, std::span<const WordRow> rows, const std::vector<PhraseRow> &phrases,
              const GlueSettings &settings);
