#include "formats/transcriptbuilder.h"

#include "base/numbers.h"
#include "base/text.h"
#include "base/timetext.h"

#include <QHash>

#include <algorithm>
#include <utility>

namespace {

// Drops the empty lines in one sweep (removing them one by one from the
// middle of the list would move the tail once per line).
void removeEmpty(QStringList &L)
{
    L.removeIf([](const QString &line) { return line.isEmpty(); });
}

// End markers go; of two speaker lines in a row only the lower one stays; a
// speaker line repeated before another speaker spoke goes, so the turns merge.
//
// Each walk stops at the first speaker line that differs from its own and
// empties the equal ones before it, so the next walk starts at or after that
// stop: together the walks pass every line at most twice.
void endTimesAndSpeakers(QStringList &L)
{
    const qsizetype n = L.size();
    for (qsizetype p = 0; p < n; ++p) {
        if (TranscriptBuilder::isEndTimeLine(L[p])) {
            L[p].clear();
        } else if (TranscriptBuilder::isSpeakerLine(L[p])) {
            if (p + 1 < n && TranscriptBuilder::isSpeakerLine(L[p + 1])) {
                L[p].clear();
                continue;
            }
            for (qsizetype i = p + 1; i < n; ++i) {
                if (!TranscriptBuilder::isSpeakerLine(L[i]))
                    continue;
                if (L[i] != L[p])
                    break;
                L[i].clear();
            }
        }
    }
}

// One start time per stretch: the start-time lines after one, up to the next
// other bracket line, go. A walk empties every start-time line it passes and
// stops at a bracket line that is not one, so no later walk begins before that
// stop: the walks are linear together.
void oneStartTime(QStringList &L)
{
    const qsizetype n = L.size();
    for (qsizetype p = 0; p < n; ++p) {
        if (!TranscriptBuilder::isStartTimeLine(L[p]))
            continue;
        for (qsizetype i = p + 1; i < n; ++i) {
            if (TranscriptBuilder::isStartTimeLine(L[i]))
                L[i].clear();
            if (TranscriptBuilder::isBracketLine(L[i]))
                break;
        }
    }
}

// A start-time line moves down until it stands above a speaker line or is last.
void startTimeAboveSpeaker(QStringList &L)
{
    for (qsizetype p = 0; p + 1 < L.size(); ++p)
        if (TranscriptBuilder::isStartTimeLine(L[p]) && !TranscriptBuilder::isSpeakerLine(L[p + 1]))
            L.swapItemsAt(p, p + 1);
}

// A returning speaker loses the start time above it, once in the whole text:
// the first p (a speaker line) in order for which some later i holds the same
// line with a start-time line above it, and for that p the first such i.
//
// Walking every speaker line to the end is quadratic when no speaker returns.
// Instead the lines are visited from the end, keeping per speaker line the
// smallest later position that qualifies as i; the last hit is the smallest p.
void returningSpeaker(QStringList &L)
{
    const qsizetype n = L.size();
    QHash<QString, qsizetype> firstReturn;
    qsizetype found = -1;
    for (qsizetype p = n - 1; p >= 0; --p) {
        if (!TranscriptBuilder::isSpeakerLine(L[p]))
            continue;
        const auto hit = firstReturn.constFind(L[p]);
        if (hit != firstReturn.cend())
            found = hit.value();
        if (p > 0 && TranscriptBuilder::isStartTimeLine(L[p - 1]))
            firstReturn.insert(L[p], p);
    }
    if (found > 0)
        L[found - 1].clear();
}

// Runs of plain lines (not beginning with "[") become one line joined with
// single blanks. Joining from the back, pair by pair, would copy the growing
// tail for every line of the run.
void paragraphs(QStringList &L)
{
    QStringList out;
    out.reserve(L.size());
    bool previousPlain = false;
    for (QString &line : L) {
        const bool plain = !TranscriptBuilder::isBracketLine(line);
        if (plain && previousPlain) {
            out.back() += u' ';
            out.back() += line;
        } else {
            out.append(std::move(line));
        }
        previousPlain = plain;
    }
    L = std::move(out);
}

// The text from 1-based position from to the end; empty when the text is shorter.
QStringView startingAt(const QString &s, qsizetype from)
{
    return s.size() >= from ? QStringView(s).sliced(from - 1) : QStringView();
}

// Trimmed, less its last n characters, trimmed again.
QStringView withoutLast(QStringView s, qsizetype n)
{
    s = trimmedView(s);
    s.chop(std::min(n, s.size()));
    return trimmedView(s);
}

} // namespace

QStringList TranscriptBuilder::cleanUp(QStringList lines)
{
    QStringList &L = lines;
    endTimesAndSpeakers(L);
    oneStartTime(L);
    removeEmpty(L);
    startTimeAboveSpeaker(L);
    returningSpeaker(L);
    removeEmpty(L);
    paragraphs(L);
    return lines;
}

// Ends a part mark: a noncharacter, which no transcript text holds, so a
// person's own "[Part 2, ...]" line stays an ordinary bracket line.
constexpr QChar partMarkEnd(0xFDD0);

QString TranscriptBuilder::partMark(int number, std::int64_t ms)
{
    const std::int64_t s = ms < 0 ? 0 : ms / 1000;
    return QStringLiteral("[Part %1, %2:%3:%4]")
               .arg(number)
               .arg(s / 3600, 2, 10, QChar(u'0'))
               .arg(s / 60 % 60, 2, 10, QChar(u'0'))
               .arg(s % 60, 2, 10, QChar(u'0'))
           + partMarkEnd;
}

void TranscriptBuilder::writeTranscript(const QStringList &clean, const QString &name, QStringList &out)
{
    out << QStringLiteral("Interview ") + name << QString() << QStringLiteral("Metadata")
        << QStringLiteral("[Please add here relevant Metadata]") << QString()
        << QStringLiteral("Transcript") << QString();

    // A speaker label names only the next text line; a time line drops it.
    QString label;
    for (const QString &line : clean) {
        if (isStartTimeLine(line)) {
            const std::int32_t ms = parseInt(withoutLast(startingAt(line, 12), 3));
            out.append(u'\t' + timeText(ms).left(8));
            label.clear();
        } else if (isSpeakerLine(line)) {
            label = withoutLast(startingAt(line, 17), 1).toString();
        } else if (line.endsWith(partMarkEnd)) {
            out.append(line.chopped(1)); // a speaker label waits for the part's first line
        } else {
            out.append(label + u'\t' + line);
            label.clear();
        }
    }
}
