#pragma once

struct WordSource;
class FoundWords;

// Vosk JSON: result[] of words with conf, start, end (s) and word; or a
// list of utterances each holding such words under result or words.
bool isVosk(const WordSource &source);
void readVosk(const WordSource &source, FoundWords &found);
