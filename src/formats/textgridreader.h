#pragma once

struct WordSource;
class FoundWords;

// Praat TextGrid in its long and short text forms (the byte-order mark and
// line ends are the caller's): the intervals of the word tiers (see
// chooseWordTiers: "words", "NAME - words", the tier chosen, the first
// interval tier) are the words, empty intervals silence. Praat's own rule
// reads both forms: only numbers, texts in quotes ("" for a quote) and
// <flags> count, everything else (labels, "=", "[1]:", "!" comments) is
// passed by. Throws naming what was expected where the file stops making
// sense.
bool isTextGrid(const WordSource &source);
void readTextGrid(const WordSource &source, FoundWords &found);
