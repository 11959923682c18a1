#pragma once

#include "formats/cuelist.h"
#include "formats/subtitleprofile.h"
#include "job/subtitlewords.h"

#include <cstdint>
#include <span>

// How cues are timed around their words beyond the profile: the Enlarge
// setting's lead and tail (0 and 0 when it is off), and the frame rate the
// profile's gap in frames is counted at.
struct CueTiming
{
    std::int64_t lead = 0;
    std::int64_t tail = 0;
    double framesPerSecond = 25;
};

// Cuts words into cues that keep the profile's rules where the speech lets
// them. Cues end after punctuation where they can, never hold two speakers
// where a cut works, and may hold two short phrases. Each cue starts at its
// first word's start, less the lead where the cue before leaves room, and
// ends at its last word's end plus the tail; one too short or too fast is
// lengthened into the silence after it, and the gap to the next cue wins
// over a word's end, never over its last word's start. What the speech
// makes impossible (words faster than the reading speed with no silence
// to lengthen into) stays, for the check to list. Never fails.
void fitCues(CueList &cues, std::span<const TimedWord> words, const SubtitleProfile &profile, const CueTiming &timing);
