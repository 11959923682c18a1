#pragma once

#include <QString>
#include <cstdint>

// One subtitle cue: a stretch of time with its text. A "|" in T separates
// two subtitle lines.
struct TCue
{
    std::int32_t id = 0; // ordinal, 1 for the first; -1 for a fresh split part until renumbered
    std::int64_t st = 0; // start, ms
    std::int64_t et = 0; // end, ms
    QString T;           // the text
};
