#pragma once

#include "formats/word.h"

#include <span>

// Lets words with equal texts share one text. A long interview repeats a
// few thousand words a million times; each text read on its own costs a
// heap block, so sharing the repeats keeps a million rows small. What the
// words hold does not change. Long lists are done by two threads.
void shareRepeatedTexts(std::span<Word> words);
