#pragma once

#include "formats/wordrow.h"
#include "job/part.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The word list of a glued interview: every part's rows in the order of the
// parts, numbered on and shifted by where the part starts in the joined
// recording. Joining moves the parts' rows in and releasing moves them back
// to their parts, shifted back, so a row is never held twice: an edit of a
// joined row is an edit of its part's row.
class JoinedWords
{
public:
    // True between join and release.
    bool isJoined() const { return !firstRows.empty(); }
    // Moves every part's rows in; part k's times are shifted by startsMs[k].
    void join(std::vector<Part> &parts, std::span<const std::int64_t> startsMs);
    // Moves the rows back to their parts, as they were before join and with
    // every edit since.
    void release(std::vector<Part> &parts);

    const std::vector<WordRow> &rows() const { return joined; }
    WordRow &row(std::size_t index) { return joined[index]; }
    // Part k's rows in the joined list.
    std::span<const WordRow> partRows(std::size_t part) const;
    std::size_t firstRowOf(std::size_t part) const { return firstRows[part]; }
    // The part a joined row belongs to.
    std::size_t partOf(std::size_t row) const;
    // Each part's first row, for the parts after the first.
    std::vector<std::size_t> laterPartsFirstRows() const;
    // A new joined list (a paste, an import): each part keeps its count of
    // rows, the last takes the rest.
    void replace(std::vector<WordRow> rows);
    // Rows first .. first + count - 1 of part k as the part holds them when
    // released: numbered from the part's first row, times shifted back.
    WordRow asReleased(std::size_t part, const WordRow &row) const;
    std::vector<WordRow> partRowsAsReleased(std::size_t part, std::size_t first, std::size_t count) const;
    // Replaces count rows of part k from first on with rows given as the
    // part holds them when released; the rows after them move up or down
    // and are numbered on.
    void splicePart(std::size_t part, std::size_t first, std::size_t count, std::span<const WordRow> rows);

private:
    std::vector<WordRow> joined;
    // Each part's first row in the joined list, and one more entry for its end.
    std::vector<std::size_t> firstRows;
    std::vector<std::int64_t> shifts; // each part's time shift
    // A time that the shift pushed against an end of the 64-bit range cannot
    // be shifted back: such a row's times as read, while the joined row still
    // holds what the shift made of them.
    struct EdgeTimes
    {
        std::size_t row; // in the joined list
        std::int64_t start, end, joinedStart, joinedEnd;
    };
    std::vector<EdgeTimes> edges;
};
