#pragma once

struct WordSource;
class FoundWords;

// AssemblyAI JSON: words[] with text, start/end in whole ms, confidence and
// speaker letters; utterances[], when there, are the transcript's lines.
bool isAssemblyAi(const WordSource &source);
void readAssemblyAi(const WordSource &source, FoundWords &found);
