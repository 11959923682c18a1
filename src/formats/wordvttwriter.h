#pragma once

#include "formats/cue.h"
#include "formats/cuemarkup.h"
#include "formats/wordrow.h"

#include <span>

class AtomicFile;

// Writes cues as WebVTT with word times, UTF-8 without a byte-order mark,
// LF line ends: the cues' times and texts as the SRT has them (overlaps
// resolved), each word after a cue's first preceded by its start
// "<hh:nn:ss.zzz>", and a "<v Speaker>" span around the words of each
// named speaker. A cue's words are found in words, in order, by their
// text: the rows a cue leaves out ("SIL", "*"-words, remarks in brackets)
// are passed over; a word of a cue found in no row near the last one found
// gets no time of its own. A word's time is kept between the time before it
// and the cue's end, so the times in a cue never go back. markup says which
// parts of the cue texts are tags. Does not commit out.
void writeWordTimedVtt(AtomicFile &out, std::span<const Cue> cues, std::span<const WordRow> words,
                       CueMarkup markup);
