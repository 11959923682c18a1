#pragma once

#include <QString>
#include <cstdint>

// One aligned word of a CTM or SPK file.
struct TWoord
{
    std::int32_t id = 0; // 1-based number of the line it was read from
    std::int64_t st = 0; // start, ms
    std::int64_t et = 0; // end, ms
    QString T;           // the word
    QString spk;         // speaker; "X" when the line has none
    float co = 0;        // the aligner's confidence
};
