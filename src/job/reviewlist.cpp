#include "job/reviewlist.h"

#include "job/textreview.h"
#include "job/timingreview.h"

#include "base/timetext.h"

#include <algorithm>

QString reviewKindWord(ReviewKind kind)
{
    static const char *const words[reviewKindCount] = {
        "unknown", "filled", "skipped", "extra", "stacked", "zero-length",
        "long-word", "long-gap", "low-confidence", "backwards", "beyond-recording",
    };
    return QString::fromLatin1(words[static_cast<int>(kind)]);
}

QString ReviewRow::columnName(Column column)
{
    static const char *const names[columnCount] = {"part", "time", "row", "kind", "words", "transcript"};
    return QString::fromLatin1(names[column]);
}

QString ReviewRow::cell(Column column) const
{
    switch (column) {
    case Part:
        return QString::number(part);
    case Time:
        return timeText(timeMs);
    case Row:
        return QString::number(row + 1);
    case Kind:
        return reviewKindWord(kind);
    case Words:
        return words;
    case Transcript:
        return transcript;
    }
    return {};
}

void RunWords::add(QStringView word)
{
    constexpr int shown = 12;
    if (words < shown) {
        if (words > 0)
            joined += u' ';
        joined += word;
    } else if (words == shown) {
        joined += u" \u2026";
    }
    ++words;
}

ReviewList reviewParts(std::span<const PartUnderReview> parts, const GlueSettings &settings)
{
    ReviewList list;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        const int number = static_cast<int>(k + 1);
        reviewAgainstText(parts[k], number, settings, list);
        reviewTimes(parts[k], number, settings, list.rows);
    }
    std::stable_sort(list.rows.begin(), list.rows.end(), [](const ReviewRow &a, const ReviewRow &b) {
        return a.timeMs != b.timeMs ? a.timeMs < b.timeMs : a.row < b.row;
    });
    return list;
}
