#include "job/timeindex.h"

#include <algorithm>

TimeIndex::TimeIndex(std::span<const std::int64_t> starts) : rowStarts(starts.begin(), starts.end())
{
    byStart.reserve(rowStarts.size());
    for (size_t row = 0; row < rowStarts.size(); ++row)
        if (rowStarts[row] != noTime)
            byStart.emplace_back(rowStarts[row], static_cast<int>(row));
    // Word files come sorted; only hand edits put a start out of order.
    if (!std::is_sorted(byStart.begin(), byStart.end()))
        std::sort(byStart.begin(), byStart.end());
}

TimeIndex TimeIndex::ofWords(std::span<const WordRow> rows)
{
    std::vector<std::int64_t> starts(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        starts[i] = rows[i].isTyped(WordRow::Start) ? noTime : rows[i].start;
    return TimeIndex(starts);
}

TimeIndex TimeIndex::ofPhrases(std::span<const PhraseRow> rows)
{
    std::vector<std::int64_t> starts(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        starts[i] = rows[i].isTyped(PhraseRow::Start) ? noTime : rows[i].start;
    return TimeIndex(starts);
}

int TimeIndex::rowAt(std::int64_t ms) const
{
    // The first entry that starts after ms; the one before it has the latest
    // start not after ms.
    auto after = std::upper_bound(byStart.begin(), byStart.end(), ms,
                                  [](std::int64_t t, const auto &entry) { return t < entry.first; });
    if (after == byStart.begin())
        return -1;
    const std::int64_t latest = std::prev(after)->first;
    // Among equal starts the first row in the table: the entries are sorted
    // by row within one start.
    auto first = std::lower_bound(byStart.begin(), after, latest,
                                  [](const auto &entry, std::int64_t t) { return entry.first < t; });
    return first->second;
}

std::int64_t TimeIndex::startOf(int row) const
{
    if (row < 0 || static_cast<size_t>(row) >= rowStarts.size())
        return noTime;
    return rowStarts[static_cast<size_t>(row)];
}
