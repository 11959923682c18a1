#include "job/wordrowfill.h"

#include "base/twothreads.h"

#include <algorithm>
#include <limits>

std::int64_t shiftedTime(std::int64_t time, std::int64_t shift)
{
    std::int64_t r;
    if (__builtin_add_overflow(time, shift, &r))
        return shift > 0 ? std::numeric_limits<std::int64_t>::max()
                         : std::numeric_limits<std::int64_t>::min();
    return r;
}

namespace {

void fillRange(std::span<WordRow> rows, std::span<const Word> words, std::int64_t firstNumber,
               std::int64_t shift, std::size_t from, std::size_t to)
{
    static const Word empty{};
    for (std::size_t i = from; i < to; ++i) {
        const Word &w = i < words.size() ? words[i] : empty;
        WordRow &row = rows[i];
        row.number = firstNumber + static_cast<std::int64_t>(i);
        row.start = shiftedTime(w.start, shift);
        row.end = shiftedTime(w.end, shift);
        row.confidence = w.confidence;
        row.text = w.text;
        row.speaker = w.speaker;
        row.typed.reset();
    }
}

} // namespace

void fillWordRows(std::span<WordRow> rows, std::span<const Word> words, std::int64_t firstNumber,
                  std::int64_t shift)
{
    const std::size_t n = rows.size();
    if (n < 100000) {
        fillRange(rows, words, firstNumber, shift, 0, n);
        return;
    }
    runOnTwoThreads([&] { fillRange(rows, words, firstNumber, shift, 0, n / 2); },
                    [&] { fillRange(rows, words, firstNumber, shift, n / 2, n); });
}

WordRow shiftedRow(const WordRow &row, std::int64_t numberShift, std::int64_t timeShift)
{
    WordRow moved = row;
    moved.number = shiftedTime(row.number, numberShift);
    moved.start = shiftedTime(row.start, timeShift);
    moved.end = shiftedTime(row.end, timeShift);
    return moved;
}

void shiftWordRows(std::span<WordRow> rows, std::span<const WordRow> from, std::int64_t numberShift,
                   std::int64_t timeShift)
{
    const auto range = [&](std::size_t first, std::size_t last) {
        for (std::size_t i = first; i < last; ++i)
            rows[i] = shiftedRow(from[i], numberShift, timeShift);
    };
    const std::size_t n = std::min(rows.size(), from.size());
    if (n < 100000) {
        range(0, n);
        return;
    }
    runOnTwoThreads([&] { range(0, n / 2); }, [&] { range(n / 2, n); });
}
