#include "job/wordwarnings.h"

void WordWarnings::startFile(const QString &filePath, int number, std::int64_t lengthMs)
{
    path = filePath;
    part = number;
    recordingMs = lengthMs;
    first = true;
    runLength = 0;
}

void WordWarnings::warn(Kind kind, std::int32_t line, const QString &what)
{
    found[kind] = QStringLiteral("Warning: \"%1\", line %2: %3").arg(path, QString::number(line), what);
}

void WordWarnings::word(std::int32_t line, std::int64_t start, std::int64_t end)
{
    // Only the first word of a kind is named: the message is made for it alone,
    // not for every doubtful word of a long file.
    if (end < start && found[EndBeforeStart].isEmpty())
        warn(EndBeforeStart, line,
             QStringLiteral("the word ends before it starts; field 4 may be a duration: choose the NIST layout "
                            "(\"Word file layout\" on the Settings tab, --layout nist)"));
    if (!first && start < previousStart && found[StartBeforePrevious].isEmpty())
        warn(StartBeforePrevious, line, QStringLiteral("the word starts before the word before it"));
    if (recordingMs >= 0 && end > recordingMs && found[AfterRecording].isEmpty())
        warn(AfterRecording, line,
             QStringLiteral("the word ends at %1 ms, after recording %2 ends (%3 ms); are the word file and "
                            "the recording of the same part?")
                 .arg(end)
                 .arg(part)
                 .arg(recordingMs));
    if (!first && start == previousStart) {
        if (++runLength == 5 && found[SameStart].isEmpty())
            warn(SameStart, runLine,
                 QStringLiteral("five or more words start at the same time (%1 ms); the aligner may have "
                                "failed there")
                     .arg(start));
    } else {
        runLength = 1;
        runLine = line;
    }
    first = false;
    previousStart = start;
}

void WordWarnings::alternations(int count, std::int32_t line)
{
    perFile << QStringLiteral("Warning: \"%1\", line %2: the file holds %3 (<ALT_BEGIN> ... <ALT_END>), the first "
                              "on this line; only the first alternative of each is read")
                   .arg(path, QString::number(line),
                        count == 1 ? QStringLiteral("1 alternation") : QStringLiteral("%1 alternations").arg(count));
}

void WordWarnings::untimed(int count, const QString &firstWord)
{
    perFile << QStringLiteral("Warning: \"%1\": %2 no times of their own (the first: \"%3\"); they are given "
                              "times between their timed neighbours, shared by characters, with confidence 0")
                   .arg(path, count == 1 ? QStringLiteral("1 word has") : QStringLiteral("%1 words have").arg(count),
                        firstWord);
}

QStringList WordWarnings::lines() const
{
    QStringList out = perFile;
    for (const QString &line : found)
        if (!line.isEmpty())
            out << line;
    return out;
}
