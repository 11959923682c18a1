#pragma once

struct WordSource;
class FoundWords;

// WhisperX JSON: segments[].words[] with word, start/end (s), score and speaker
// (a word without one takes its segment's); word_segments repeats the words
// and is read only when there are no segments. A word of digits or symbols
// may lack its times: it gets them from its neighbours. A segment without
// words is a stretch timed as a whole; the segments' texts are the
// transcript.
bool isWhisperX(const WordSource &source);
void readWhisperX(const WordSource &source, FoundWords &found);
