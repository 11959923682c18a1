#pragma once

#include "formats/wordrow.h"
#include "job/reviewlist.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// A stretch of a part's rows replaced by others: the rows it took out and
// the rows it put in at first. Rows are held as the part holds them when
// not glued (numbered from 1, times as read), so a splice made before Glue
// is taken back as exactly after it, and the other way round.
struct RowSplice
{
    std::size_t part = 0;
    std::size_t first = 0;
    std::vector<WordRow> before, after;
    // The word file's line of each row, when the part keeps one per row.
    std::vector<std::int32_t> linesBefore, linesAfter;
    // The part's filled rows before a splice that moved rows up or down or
    // filled rows, and after one that filled them (after a move they follow
    // the rows).
    std::optional<std::vector<FilledMark>> filledBefore, filledAfter;
};

// One correction a person made of an interview's words and texts, as the
// job made it: enough to take it back and to make it again bit for bit.
// Empty when the command changed nothing.
struct Correction
{
    std::vector<RowSplice> splices; // in the order they were made
    // Every part's text before and after, when a text changed.
    std::optional<std::vector<QStringList>> textsBefore, textsAfter;

    bool isEmpty() const { return splices.empty() && !textsBefore; }
};
