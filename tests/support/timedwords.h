#pragma once

#include "formats/wordrow.h"

#include <cstdint>
#include <vector>

// count word rows of stepMs each, one after the other from 0 on, numbered
// from 1, with the texts "w0", "w1", ...
std::vector<WordRow> wordsEvery(int count, std::int64_t stepMs);
