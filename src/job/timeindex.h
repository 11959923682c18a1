#pragma once

#include "formats/wordrow.h"
#include "job/phraserow.h"

#include <cstdint>
#include <limits>
#include <span>
#include <utility>
#include <vector>

// Where a playing recording is in a table of timed rows, and where a row
// starts in it. The rows' starts are sorted once, when the index is made, so
// a position is found by a binary search however many rows there are; rows
// whose starts a person edited out of order are found by their own start all
// the same. A row whose start is typed text (no number) has no time: no
// position finds it and it gives no start.
class TimeIndex
{
public:
    // A row without a time.
    static constexpr std::int64_t noTime = std::numeric_limits<std::int64_t>::min();

    TimeIndex() = default;
    // starts[row] is the row's start in ms, or noTime.
    explicit TimeIndex(std::span<const std::int64_t> starts);
    static TimeIndex ofWords(std::span<const WordRow> rows);
    static TimeIndex ofPhrases(std::span<const PhraseRow> rows);

    // The row playing at ms: of the rows that have started by then, the one
    // with the latest start, the first in the table among equal starts; -1
    // before the first start.
    int rowAt(std::int64_t ms) const;
    // Where the row starts, in ms; noTime for a row without a time or outside
    // the table.
    std::int64_t startOf(int row) const;
    int rowCount() const { return static_cast<int>(rowStarts.size()); }

private:
    std::vector<std::int64_t> rowStarts;                  // by row
    std::vector<std::pair<std::int64_t, int>> byStart;    // (start, row), sorted
};
