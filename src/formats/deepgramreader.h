#pragma once

struct WordSource;
class FoundWords;

// Deepgram JSON: results.channels[].alternatives[0].words[] with
// punctuated_word (else word), start/end (s), confidence and speaker (a
// number, named speaker_N); several channels are read each, their words
// in order of start, a channel without speakers named channel_N.
bool isDeepgram(const WordSource &source);
void readDeepgram(const WordSource &source, FoundWords &found);
