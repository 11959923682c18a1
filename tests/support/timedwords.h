#pragma once

#include "formats/wordrow.h"

#include <QString>

#include <cstdint>
#include <vector>

// count word rows of stepMs each, one after the other from 0 on, numbered
// from 1, with the texts "w0", "w1", ...
std::vector<WordRow> wordsEvery(int count, std::int64_t stepMs);

// A stretch of speech as a test writes it: "start-end text".
struct TimedText
{
    std::int64_t start = 0;
    std::int64_t end = 0;
    QString text;
};
// The stretches of "start-end text; start-end text; ..." (times in ms).
std::vector<TimedText> timedTexts(const QString &written);
