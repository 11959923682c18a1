#pragma once

#include <QString>
#include <cstdint>

// One subtitle cue: a stretch of time with its text. A "|" in text separates
// two subtitle lines.
struct Cue
{
    std::int32_t number = 0; // ordinal, 1 for the first; -1 for a fresh split part until renumbered
    std::int64_t start = 0;  // ms
    std::int64_t end = 0;    // ms
    QString text;
};
