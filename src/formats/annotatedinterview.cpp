#include "formats/annotatedinterview.h"

#include "formats/wordfilewriter.h"

#include <algorithm>

std::int64_t AnnotatedInterview::startMs(std::size_t row) const
{
    return wordRowMs(words[row], WordRow::Start);
}

std::int64_t AnnotatedInterview::endMs(std::size_t row) const
{
    return wordRowMs(words[row], WordRow::End);
}

std::size_t AnnotatedInterview::partOf(std::size_t row) const
{
    const auto after = std::upper_bound(partFirstWords.begin(), partFirstWords.end(), row);
    return after == partFirstWords.begin() ? 0 : static_cast<std::size_t>(after - partFirstWords.begin()) - 1;
}

std::vector<QString> AnnotatedInterview::speakers() const
{
    std::vector<QString> found;
    const QString *last = nullptr; // words of one speaker come in runs: most rows need no search
    for (const WordRow &row : words) {
        if (last && row.speaker == *last)
            continue;
        if (!holdsWord(row))
            continue;
        if (std::find(found.begin(), found.end(), row.speaker) == found.end())
            found.push_back(row.speaker);
        last = &row.speaker;
    }
    return found;
}

bool namesSpeaker(const QString &speaker)
{
    return !speaker.isEmpty() && speaker != u"X";
}

bool holdsWord(const WordRow &row)
{
    const QStringView text = QStringView(row.text).trimmed();
    return !text.isEmpty() && text != u"SIL";
}

std::pair<std::int64_t, std::int64_t> TierLayout::place(std::int64_t start, std::int64_t end)
{
    start = std::max(start, lastEnd);
    end = std::max(end, start + 1);
    lastEnd = end;
    return {start, end};
}
