#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

// Builds the Word-like transcript from a transcript text: marker lines
// "[EndTime:", "[Speaker: SP_" and "[StartTime:" are cleaned up, text lines
// are joined into paragraphs, and the result is formatted with a header, time
// lines and speaker labels. Every pass is linear in the number of lines.
class TranscriptBuilder
{
public:
    // The cleaned lines: end markers dropped, repeated speakers merged, one
    // start time per stretch placed above its speaker line, paragraphs joined.
    static QStringList cleanUp(QStringList lines);

    // Appends to out the header (naming the file name) and one line per time
    // stamp and per paragraph of the cleaned lines. Throws "'%s' is not a valid
    // integer value" on a start time that is no whole number; out then holds
    // the lines written so far.
    static void writeTranscript(const QStringList &clean, const QString &name, QStringList &out);

    // A line that marks where part number starts in the joined recording,
    // at ms: put into the text before the part's lines, it passes the
    // clean-up as a bracket line of its own and is written as
    // "[Part k, hh:mm:ss]" (whole seconds, truncated), without a speaker label.
    static QString partMark(int number, std::int64_t ms);

    static bool isEndTimeLine(const QString &line) { return line.startsWith(u"[EndTime:"); }
    static bool isSpeakerLine(const QString &line) { return line.startsWith(u"[Speaker: SP_"); }
    static bool isStartTimeLine(const QString &line) { return line.startsWith(u"[StartTime:"); }
    static bool isBracketLine(const QString &line) { return line.startsWith(u'['); }
};
