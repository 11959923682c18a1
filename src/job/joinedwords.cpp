#include "job/joinedwords.h"

#include "job/wordrowfill.h"

#include <algorithm>
#include <utility>

namespace {

bool reachesAnEdge(std::int64_t time, std::int64_t shift)
{
    std::int64_t r;
    return __builtin_add_overflow(time, shift, &r);
}

} // namespace

void JoinedWords::join(std::vector<Part> &parts, std::span<const std::int64_t> startsMs)
{
    std::size_t total = 0;
    for (const Part &part : parts)
        total += part.rows.size();
    // The first part's rows stay where they are (part 1 starts at 0); each
    // later part's are freed once shifted in, so the peak holds one part twice
    // at most.
    edges.clear();
    const auto noteEdges = [this](std::span<const WordRow> rows, std::size_t first, std::int64_t shift) {
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (reachesAnEdge(rows[i].start, shift) || reachesAnEdge(rows[i].end, shift))
                edges.push_back({first + i, rows[i].start, rows[i].end, shiftedTime(rows[i].start, shift),
                                 shiftedTime(rows[i].end, shift)});
    };
    noteEdges(parts.front().rows, 0, startsMs.front());
    joined = std::move(parts.front().rows);
    parts.front().rows = {};
    if (startsMs.front() != 0)
        shiftWordRows(joined, joined, 0, startsMs.front());
    joined.reserve(total);
    firstRows = {0, joined.size()};
    shifts.assign(startsMs.begin(), startsMs.end());
    for (std::size_t k = 1; k < parts.size(); ++k) {
        std::vector<WordRow> &rows = parts[k].rows;
        const std::size_t first = joined.size();
        noteEdges(rows, first, startsMs[k]);
        joined.resize(first + rows.size());
        shiftWordRows(std::span(joined).subspan(first), rows, static_cast<std::int64_t>(first), startsMs[k]);
        std::vector<WordRow>().swap(rows);
        firstRows.push_back(joined.size());
    }
}

void JoinedWords::release(std::vector<Part> &parts)
{
    if (!isJoined())
        return;
    // A time the shift could not hold comes back as read, unless it was edited since.
    std::vector<std::pair<std::size_t, EdgeTimes>> restore;
    for (const EdgeTimes &edge : edges) {
        const WordRow &row = joined[edge.row];
        const std::size_t k = partOf(edge.row);
        restore.push_back({k, edge});
        restore.back().second.row = edge.row - firstRows[k];
        restore.back().second.start = row.start == edge.joinedStart ? edge.start : shiftedTime(row.start, -shifts[k]);
        restore.back().second.end = row.end == edge.joinedEnd ? edge.end : shiftedTime(row.end, -shifts[k]);
    }
    edges.clear();
    for (std::size_t k = parts.size(); k-- > 1;) {
        const std::span<const WordRow> rows = partRows(k);
        std::vector<WordRow> back(rows.size());
        shiftWordRows(back, rows, -static_cast<std::int64_t>(firstRows[k]), -shifts[k]);
        parts[k].rows = std::move(back);
        joined.resize(firstRows[k]);
    }
    if (shifts.front() != 0)
        shiftWordRows(joined, joined, 0, -shifts.front());
    joined.shrink_to_fit();
    parts.front().rows = std::move(joined);
    joined = {};
    firstRows.clear();
    shifts.clear();
    for (const auto &[k, edge] : restore) {
        WordRow &row = parts[k].rows[edge.row];
        row.start = edge.start;
        row.end = edge.end;
    }
}

std::span<const WordRow> JoinedWords::partRows(std::size_t part) const
{
    if (part + 1 >= firstRows.size())
        return {};
    return std::span(joined).subspan(firstRows[part], firstRows[part + 1] - firstRows[part]);
}

std::size_t JoinedWords::partOf(std::size_t row) const
{
    const auto next = std::upper_bound(firstRows.begin(), firstRows.end() - 1, row);
    return static_cast<std::size_t>(next - firstRows.begin()) - 1;
}

std::vector<std::size_t> JoinedWords::laterPartsFirstRows() const
{
    if (firstRows.size() < 3)
        return {};
    return {firstRows.begin() + 1, firstRows.end() - 1};
}

void JoinedWords::replace(std::vector<WordRow> rows)
{
    joined = std::move(rows);
    edges.clear(); // the rows are new: none was shifted here
    const std::size_t parts = firstRows.size() - 1;
    std::size_t first = 0;
    for (std::size_t k = 0; k < parts; ++k) {
        std::size_t count = firstRows[k + 1] - firstRows[k];
        if (k + 1 == parts || first + count > joined.size())
            count = joined.size() - std::min(first, joined.size());
        firstRows[k] = first;
        first += count;
    }
    firstRows[parts] = first;
}

WordRow JoinedWords::asReleased(std::size_t part, const WordRow &row) const
{
    return shiftedRow(row, -static_cast<std::int64_t>(firstRows[part]), -shifts[part]);
}

std::vector<WordRow> JoinedWords::partRowsAsReleased(std::size_t part, std::size_t first, std::size_t count) const
{
    std::vector<WordRow> rows(count);
    shiftWordRows(rows, std::span(joined).subspan(firstRows[part] + first, count),
                  -static_cast<std::int64_t>(firstRows[part]), -shifts[part]);
    return rows;
}

void JoinedWords::splicePart(std::size_t part, std::size_t first, std::size_t count, std::span<const WordRow> rows)
{
    const std::size_t at = firstRows[part] + first;
    const auto delta = static_cast<std::ptrdiff_t>(rows.size()) - static_cast<std::ptrdiff_t>(count);
    const auto begin = joined.begin() + static_cast<std::ptrdiff_t>(at);
    if (delta > 0)
        joined.insert(begin + static_cast<std::ptrdiff_t>(count), static_cast<std::size_t>(delta), WordRow{});
    else if (delta < 0)
        joined.erase(begin + static_cast<std::ptrdiff_t>(rows.size()), begin + static_cast<std::ptrdiff_t>(count));
    shiftWordRows(std::span(joined).subspan(at, rows.size()), rows, static_cast<std::int64_t>(firstRows[part]),
                  shifts[part]);
    if (delta == 0)
        return;
    for (auto it = joined.begin() + static_cast<std::ptrdiff_t>(at + rows.size()); it != joined.end(); ++it)
        it->number += delta;
    for (std::size_t k = part + 1; k < firstRows.size(); ++k)
        firstRows[k] = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(firstRows[k]) + delta);
    // The rows taken out lose their edge times; those after move with them.
    std::erase_if(edges, [&](const EdgeTimes &e) { return e.row >= at && e.row < at + count; });
    for (EdgeTimes &e : edges)
        if (e.row >= at + count)
            e.row = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(e.row) + delta);
}
