#pragma once

struct WordSource;
class FoundWords;

// whisper.cpp JSON (-oj, -ojf): transcription[] with offsets (ms) or
// timestamps ("HH:MM:SS,mmm") and text; with -ojf its tokens[], special
// tokens ([_BEG_], [_TT_...] and any [_..._]) dropped and sub-word tokens
// joined into words at a leading blank, confidence p. A segment without
// tokens is a stretch timed as a whole.
bool isWhisperCpp(const WordSource &source);
void readWhisperCpp(const WordSource &source, FoundWords &found);
