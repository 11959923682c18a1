#include "formats/cuecheck.h"

#include <QStringTokenizer>

#include <algorithm>
#include <cmath>

QString CueProblem::kindWord(Kind kind)
{
    switch (kind) {
    case LineLength:
        return QStringLiteral("line-length");
    case Lines:
        return QStringLiteral("lines");
    case CueLength:
        return QStringLiteral("cue-length");
    case ReadingSpeed:
        return QStringLiteral("reading-speed");
    case TooShort:
        return QStringLiteral("too-short");
    case TooLong:
        return QStringLiteral("too-long");
    case Gap:
        return QStringLiteral("gap");
    }
    return {};
}

std::array<std::size_t, CueProblem::kindCount> CueCheck::countPerKind() const
{
    std::array<std::size_t, CueProblem::kindCount> counts{};
    for (const CueProblem &problem : problems)
        ++counts[static_cast<std::size_t>(problem.kind)];
    return counts;
}

qsizetype readCharacters(QStringView text, CueMarkup markup, QChar lineBreak)
{
    qsizetype n = 0;
    for (const QStringView line : QStringTokenizer(text, lineBreak))
        n += shownLength(line, markup);
    return n;
}

CueCheck checkCues(std::span<const Cue> cues, const SubtitleProfile &profile, double framesPerSecond,
                   CueMarkup markup, QChar lineBreak)
{
    CueCheck check;
    check.cueCount = cues.size();
    const std::int64_t minGap = profile.minGapMs(framesPerSecond);
    for (std::size_t i = 0; i < cues.size(); ++i) {
        const Cue &cue = cues[i];
        const auto add = [&](CueProblem::Kind kind, double value, double limit) {
            check.problems.push_back({i + 1, cue.start, kind, value, limit});
        };
        qsizetype longestLine = 0;
        qsizetype lineCount = 0;
        qsizetype characters = 0;
        for (const QStringView line : QStringTokenizer(QStringView(cue.text), lineBreak)) {
            const qsizetype n = shownLength(line, markup);
            longestLine = std::max(longestLine, n);
            characters += n;
            ++lineCount;
        }
        if (profile.charsPerLine > 0 && longestLine > profile.charsPerLine)
            add(CueProblem::LineLength, double(longestLine), profile.charsPerLine);
        if (profile.lines > 0 && lineCount > profile.lines)
            add(CueProblem::Lines, double(lineCount), profile.lines);
        if (profile.charsPerCue > 0 && characters > profile.charsPerCue)
            add(CueProblem::CueLength, double(characters), profile.charsPerCue);
        const std::int64_t duration = cue.end - cue.start;
        // A cue shown for no time at all is read infinitely fast: its
        // characters in one ms say how bad it is.
        const double cps = double(characters) * 1000.0 / double(std::max<std::int64_t>(duration, 1));
        if (profile.charsPerSecond > 0 && cps > profile.charsPerSecond + 1e-9)
            add(CueProblem::ReadingSpeed, std::round(cps * 100) / 100, profile.charsPerSecond);
        if (profile.minDurationMs > 0 && duration < profile.minDurationMs)
            add(CueProblem::TooShort, double(duration), profile.minDurationMs);
        if (profile.maxDurationMs > 0 && duration > profile.maxDurationMs)
            add(CueProblem::TooLong, double(duration), profile.maxDurationMs);
        if (minGap > 0 && i + 1 < cues.size()) {
            const std::int64_t gap = cues[i + 1].start - cue.end;
            if (gap < minGap)
                add(CueProblem::Gap, double(gap), double(minGap));
        }
    }
    return check;
}
