#pragma once

struct WordSource;
class FoundWords;

// WebVTT as a word file: words timed inline (<00:00:01.000><c> word</c>,
// the first word of a line taking the cue's start, each word ending where
// the next starts, the last at the cue's end). Files with word times repeat
// text as video sites write them (a timed cue's first line repeats the
// previous cue's text, a short cue repeats it untimed): a line that repeats
// the text read last is passed by, so each word is read once. A cue without
// word times is a stretch timed as a whole. A <v Name> span, "Name: " or
// "[SPEAKER_01]: " at a line's start names the speaker, who speaks on until
// another is named.
bool isWordVtt(const WordSource &source);
void readWordVtt(const WordSource &source, FoundWords &found);
