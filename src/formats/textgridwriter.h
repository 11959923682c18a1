#pragma once

class AtomicFile;
struct AnnotatedInterview;

// Writes the interview as a Praat TextGrid in its long text form, UTF-8
// without a byte-order mark, LF line ends: an interval tier "phrases" with
// every phrase, a tier "words" with every word (a row that is empty or
// "SIL" is silence), and, when the words name two speakers or more, one
// tier "SPEAKER - words" per speaker. Every tier covers the recording from
// 0 to its end (or to the last word's end, when later), the gaps as empty
// intervals; items that overlap are laid out as TierLayout says. Times are
// seconds with three decimals. Does not commit out.
void writeTextGrid(AtomicFile &out, const AnnotatedInterview &interview);
