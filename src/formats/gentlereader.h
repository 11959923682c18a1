#pragma once

struct WordSource;
class FoundWords;

// Gentle JSON: transcript and words[] (old builds: tokens[]) with case:
// success and not-found-in-transcript have times, not-found-in-audio none.
// The word's text is word (alignedWord may be <unk>); the transcript's
// lines are the transcript.
bool isGentle(const WordSource &source);
void readGentle(const WordSource &source, FoundWords &found);
