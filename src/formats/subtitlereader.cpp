#include "formats/subtitlereader.h"

#include "base/error.h"
#include "base/text.h"

#include <algorithm>
#include <limits>

namespace {

bool isDigits(QStringView s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// A whole number of digits; nullopt-like -1 when it does not fit 32 bits.
std::int64_t digitsValue(QStringView s)
{
    std::int64_t v = 0;
    for (QChar c : s) {
        v = v * 10 + (c.unicode() - u'0');
        if (v > std::numeric_limits<std::int32_t>::max())
            return -1;
    }
    return v;
}

// The digits after the decimal mark as a decimal fraction of a second, in
// ms rounded half to even: "5" is 500, "4565" 456, "4575" 458, "9995" 1000.
std::int64_t fractionMs(QStringView digits)
{
    std::int64_t ms = 0;
    for (qsizetype k = 0; k < 3; ++k)
        ms = ms * 10 + (k < digits.size() ? digits[k].unicode() - u'0' : 0);
    if (digits.size() <= 3)
        return ms;
    const QChar next = digits[3];
    const QStringView after = digits.sliced(4);
    const bool beyondHalf = std::any_of(after.begin(), after.end(), [](QChar c) { return c != u'0'; });
    if (next > u'5' || (next == u'5' && (beyondHalf || ms % 2 == 1)))
        ++ms;
    return ms;
}

bool isTimingLine(QStringView line)
{
    return line.contains(u"-->");
}

[[noreturn]] void refuse(const QString &fileName, qsizetype index, const QString &message)
{
    if (fileName.isNull())
        throw Error(QStringLiteral("Line %1: %2").arg(index + 1).arg(message));
    throw Error(QStringLiteral("\"%1\", line %2: %3").arg(fileName).arg(index + 1).arg(message));
}

// text := text + join + line, both already trimmed.
void appendLine(QString &text, const QString &line, QChar join)
{
    if (line.isEmpty())
        return;
    if (!text.isEmpty())
        text.append(join);
    text.append(line);
}

struct OpenCue
{
    Cue cue;
    qsizetype lastTextLine = -1;     // index of its last text line
    qsizetype lastTextLength = -1;   // the text's length before that line was added
    bool lastLineIsNumber = false;   // that line is all digits
};

} // namespace

QString cleanSubtitleLine(QString r)
{
    r.replace(QStringLiteral("<br>"), QStringLiteral(" "));
    r.replace(QStringLiteral(" ,"), QStringLiteral(", "));
    // " ." moves the blank behind the full stop, unless the stop is part of
    // a run of them: an ellipsis stays where the writer put it.
    if (r.contains(u" .")) {
        QString out;
        out.reserve(r.size() + 4);
        for (qsizetype i = 0; i < r.size(); ++i) {
            if (r[i] == u' ' && i + 1 < r.size() && r[i + 1] == u'.'
                && !(i + 2 < r.size() && r[i + 2] == u'.')) {
                out.append(QStringLiteral(". "));
                ++i;
            } else {
                out.append(r[i]);
            }
        }
        r = std::move(out);
    }
    r.replace(QStringLiteral(" ?"), QStringLiteral("? "));
    r.replace(QStringLiteral(" !"), QStringLiteral("! "));
    // Exactly two passes: five blanks become two, not one.
    r.replace(QStringLiteral("  "), QStringLiteral(" "));
    r.replace(QStringLiteral("  "), QStringLiteral(" "));
    return trimmed(r);
}

std::int64_t parseSubtitleTime(QStringView text)
{
    const QString shown = text.toString();
    if (text.startsWith(u'-'))
        throw Error(QStringLiteral("'%1' is a negative time; a subtitle time is 00:00:00,000 or later").arg(shown));
    const auto invalid = [&] {
        return Error(QStringLiteral("'%1' is not a valid time; write it as HH:MM:SS,mmm").arg(shown));
    };
    QStringView fraction;
    QStringView clock = text;
    const qsizetype mark = std::max(text.indexOf(u','), text.indexOf(u'.'));
    if (mark >= 0) {
        fraction = text.sliced(mark + 1);
        clock = text.first(mark);
        if (!isDigits(fraction))
            throw invalid();
    }
    const QList<QStringView> fields = clock.split(u':');
    if (fields.size() < 2 || fields.size() > 3)
        throw invalid();
    std::int64_t value[3] = {0, 0, 0};
    const qsizetype first = 3 - fields.size(); // "M:S" has no hours
    for (qsizetype k = 0; k < fields.size(); ++k) {
        if (!isDigits(fields[k]) || (value[first + k] = digitsValue(fields[k])) < 0)
            throw invalid();
    }
    return ((value[0] * 60 + value[1]) * 60 + value[2]) * 1000 + fractionMs(fraction);
}

CueMarkup subtitleMarkup(const QStringList &fileLines)
{
    if (fileLines.isEmpty() || !fileLines.front().startsWith(QStringLiteral("WEBVTT")))
        return CueMarkup::Srt;
    const QStringView rest = QStringView(fileLines.front()).sliced(6);
    return rest.isEmpty() || rest.front() == u' ' || rest.front() == u'\t' ? CueMarkup::WebVtt : CueMarkup::Srt;
}

std::vector<Cue> parseSubtitleLines(const QStringList &fileLines, const QString &fileName, QChar lineJoin)
{
    // A WebVTT cue's text ends at a blank line; the blocks without a timing
    // line (the header, NOTE, STYLE, REGION) and a cue's identifier are no text.
    const bool webVtt = subtitleMarkup(fileLines) == CueMarkup::WebVtt;
    std::vector<Cue> cues;
    OpenCue open;
    bool haveCue = false;
    bool afterBlank = true; // the start of the file counts as after a blank line
    auto close = [&] {
        if (haveCue)
            cues.push_back(std::move(open.cue));
        haveCue = false;
    };

    const qsizetype n = fileLines.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QStringView line = trimmedView(fileLines.at(i));
        if (line.isEmpty()) {
            afterBlank = true;
            if (webVtt)
                close();
            continue;
        }
        if (isTimingLine(line)) {
            // A number right above the timing line was this cue's number,
            // even where the blank line before it is missing.
            if (haveCue && open.lastLineIsNumber && open.lastTextLine == i - 1)
                open.cue.text.truncate(open.lastTextLength);
            close();
            const qsizetype arrow = line.indexOf(u"-->");
            const QStringView startText = trimmedView(line.first(arrow));
            QStringView rest = trimmedView(line.sliced(arrow + 3));
            // Position coordinates may follow the end time.
            qsizetype blank = 0;
            while (blank < rest.size() && !rest[blank].isSpace())
                ++blank;
            const QStringView endText = rest.first(blank);
            open = OpenCue();
            try {
                open.cue.start = parseSubtitleTime(startText);
                open.cue.end = parseSubtitleTime(endText);
            } catch (const Error &e) {
                refuse(fileName, i, e.message());
            }
            open.cue.number = static_cast<std::int32_t>(std::min<std::size_t>(cues.size() + 1, std::numeric_limits<std::int32_t>::max()));
            haveCue = true;
            afterBlank = false;
            continue;
        }
        if (!webVtt && afterBlank && isDigits(line)) {
            // A cue number: the next line must be the cue's timing line.
            const QStringView next = i + 1 < n ? trimmedView(fileLines.at(i + 1)) : QStringView();
            if (isTimingLine(next)) {
                afterBlank = false;
                continue;
            }
            if (!next.isEmpty())
                refuse(fileName, i + 1,
                       QStringLiteral("'%1' is not a timing line, yet it follows the cue number %2; "
                                      "write the cue's times there as 00:00:01,000 --> 00:00:02,000")
                           .arg(next.toString(), line.toString()));
        }
        afterBlank = false;
        if (!haveCue)
            continue; // before the first cue: no subtitle
        open.lastTextLength = open.cue.text.size();
        open.lastTextLine = i;
        open.lastLineIsNumber = isDigits(line);
        appendLine(open.cue.text, cleanSubtitleLine(line.toString()), lineJoin);
    }
    close();
    return cues;
}
