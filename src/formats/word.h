#pragma once

#include <QString>
#include <cstdint>

// How the fields of a word file's lines are laid out.
enum class WordFileLayout {
    Aligner, // file channel start end word confidence [speaker], end in field 4
    Nist,    // NIST CTM: file channel start duration word [confidence ...]
};

// One aligned word of a CTM or SPK file.
struct Word
{
    std::int32_t line = 0;  // 1-based number of the line it was read from
    std::int64_t start = 0; // ms
    std::int64_t end = 0;   // ms
    QString text;           // the word
    QString speaker;        // "X" when the line has none
    float confidence = 0;   // the aligner's confidence
};
