#pragma once

struct WordSource;
class FoundWords;

// ELAN EAF (2.6 to 3.0): the annotations of the word tiers (see
// chooseWordTiers; the first time-aligned tier when none is named so), times
// from the time slots in ms as written (a media descriptor's TIME_ORIGIN
// concerns the media, not the annotations). A slot without a value (an
// unaligned subdivision) leaves its word to be timed by its neighbours; the
// REF_ANNOTATIONs of a symbolic subdivision share the time of the
// annotation they refer to. The speaker is the tier's PARTICIPANT, else
// NAME of "NAME - words", else the tier's id (none for a tier named words).
// The annotations of a word tier's parent are the transcript's lines.
bool isEaf(const WordSource &source);
void readEaf(const WordSource &source, FoundWords &found);
