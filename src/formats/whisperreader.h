#pragma once

struct WordSource;
class FoundWords;

// openai-whisper and faster-whisper JSON: segments[].words[] with word (a
// leading blank starts a word; a piece without one continues the word before
// it), start/end (s) and probability; whisper-timestamped writes text and
// confidence instead, one word each. Words only of blanks are dropped; a
// segment whose words are absent or null is a stretch timed as a whole. The
// segments' texts are the transcript.
bool isWhisper(const WordSource &source);
void readWhisper(const WordSource &source, FoundWords &found);
