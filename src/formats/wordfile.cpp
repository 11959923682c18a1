#include "formats/wordfile.h"

#include "base/error.h"
#include "base/linedecoder.h"
#include "base/numbers.h"
#include "base/text.h"
#include "base/twothreads.h"

#include <limits>

namespace {

// From this many lines on a file is parsed in two halves at once.
constexpr qsizetype twoThreadLines = 200000;

// The rest after a separator at index i (0-based), trimmed; the whole text
// when there is no separator.
QStringView restAfter(QStringView l, qsizetype i)
{
    return i < 0 ? l : trimmedView(l.sliced(i + 1));
}

QStringView textBefore(QStringView l, qsizetype i)
{
    return i < 0 ? QStringView() : l.first(i);
}

// Parses trimmed lines into words, remembering the speaker of the last line
// so that repeated speakers share one text.
class LineParser
{
public:
    LineParser(QChar separator, WordFileLayout layout)
        : separator(separator), layout(layout), previousSpeaker(noSpeaker())
    {
    }

    // A skipped line gives a word with line 0.
    void parse(QStringView l, std::int32_t lineNumber, Word &w)
    {
        if (layout == WordFileLayout::Nist) {
            parseNist(l, lineNumber, w);
            return;
        }
        const QChar s = separator;
        // The file name and channel fields are skipped. A line with fewer than
        // two separators is kept whole.
        const qsizetype p1 = l.indexOf(s);
        const qsizetype p2 = p1 < 0 ? -1 : l.indexOf(s, p1 + 1);
        if (p2 >= 0)
            l = trimmedView(l.sliced(p2));

        w.line = lineNumber;
        qsizetype p = l.indexOf(s);
        w.start = secondsToMs(textBefore(l, p));
        l = restAfter(l, p);

        p = l.indexOf(s);
        w.end = secondsToMs(textBefore(l, p));
        l = restAfter(l, p);

        p = l.indexOf(s);
        w.text = textBefore(l, p).toString();
        l = restAfter(l, p);

        p = l.indexOf(s);
        if (p >= 0) {
            w.confidence = static_cast<float>(parseFloat(l.first(p)));
            // Speakers repeat from line to line: share the text of the last one.
            const QStringView speaker = restAfter(l, p);
            if (speaker == previousSpeaker)
                w.speaker = previousSpeaker;
            else
                w.speaker = previousSpeaker = speaker.toString();
        } else {
            w.confidence = static_cast<float>(parseFloat(l));
            w.speaker = noSpeaker();
        }
    }

    // The NIST CTM line: file channel start duration word [confidence ...],
    // fields apart by any run of blanks or tabs.
    void parseNist(QStringView l, std::int32_t lineNumber, Word &w)
    {
        if (l.isEmpty() || l.startsWith(u";;")) {
            w = Word();
            return;
        }
        QStringView fields[6];
        int n = 0;
        for (qsizetype i = 0; i < l.size() && n < 6;) {
            while (i < l.size() && (l[i] == u' ' || l[i] == u'\t'))
                ++i;
            const qsizetype from = i;
            while (i < l.size() && l[i] != u' ' && l[i] != u'\t')
                ++i;
            if (i > from)
                fields[n++] = l.sliced(from, i - from);
        }
        if (n < 5)
            throw Error(QStringLiteral("a NIST CTM line needs at least 5 fields (file channel start duration word), "
                                       "this one has %1; choose the aligner layout on the Settings tab if the "
                                       "file is not NIST CTM").arg(n));
        w.line = lineNumber;
        w.start = secondsToMs(fields[2]);
        const std::int64_t duration = secondsToMs(fields[3]);
        // Times that far out only come from nonsense: the end stops at the
        // ends of the 64-bit range instead of wrapping around.
        if (__builtin_add_overflow(w.start, duration, &w.end))
            w.end = duration > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
        w.text = fields[4].toString();
        w.confidence = n > 5 ? static_cast<float>(parseFloat(fields[5])) : 1.0f;
        w.speaker = noSpeaker();
    }

private:
    static const QString &noSpeaker()
    {
        static const QString x = QStringLiteral("X"); // shared, not copied per word
        return x;
    }

    QChar separator;
    WordFileLayout layout;
    QString previousSpeaker;
};

// The message of a line that failed: the file and line before it and, when
// the line holds no separator but splits at the other one, which separator
// to choose.
QString lineMessage(const QString &message, const QString &fileName, qsizetype lineNumber, QStringView line,
                    QChar separator, WordFileLayout layout)
{
    if (fileName.isNull())
        return message;
    QString out = QStringLiteral("\"%1\", line %2: %3").arg(fileName).arg(lineNumber).arg(message);
    const QChar other = separator == u'\t' ? QChar(u' ') : QChar(u'\t');
    if (layout == WordFileLayout::Aligner && !line.contains(separator) && line.contains(other))
        out += other == u'\t' ? QStringLiteral("; the fields are apart by tabs: choose \"Tab\" on the Settings tab")
                               : QStringLiteral("; the fields are apart by blanks: choose \"Space\" on the Settings tab");
    return out;
}

void dropSkippedLines(std::vector<Word> &words, WordFileLayout layout)
{
    if (layout == WordFileLayout::Nist)
        std::erase_if(words, [](const Word &w) { return w.line == 0; });
}

// The first failing line of a part and its message; line is the part's end
// when none failed.
struct PartResult
{
    qsizetype failedLine = std::numeric_limits<qsizetype>::max();
    QString message;
};

// Runs parsePart(part, result) for one or two parts and throws the error of
// the first failing line in file order, as a read line by line would. Anything
// else (memory running out) reaches the caller from either thread: an
// exception that left the second thread would end the program.
template <typename ParsePart>
void parseInParts(unsigned parts, ParsePart &&parsePart)
{
    PartResult results[2];
    if (parts == 1)
        parsePart(0u, results[0]);
    else
        runOnTwoThreads([&] { parsePart(0u, results[0]); }, [&] { parsePart(1u, results[1]); });
    for (unsigned part = 0; part < parts; ++part)
        if (results[part].failedLine != std::numeric_limits<qsizetype>::max())
            throw Error(results[part].message);
}

void dropClosingSilence(std::vector<Word> &words)
{
    if (!words.empty() && words.back().text == u"SIL")
        words.pop_back();
}

} // namespace

void parseWordLines(const QStringList &trimmedLines, QChar separator, std::vector<Word> &words,
                    WordFileLayout layout, const QString &fileName)
{
    // A count beyond 32 bits would be misread later; the line list itself
    // cannot hold that many lines anyway.
    const std::int32_t n = static_cast<std::int32_t>(
        std::min<qsizetype>(trimmedLines.size(), std::numeric_limits<std::int32_t>::max()));
    words.resize(static_cast<size_t>(n));

    // Lines are independent, so a long file is parsed in two halves at once.
    const unsigned parts = n >= twoThreadLines ? 2 : 1;
    parseInParts(parts, [&](unsigned part, PartResult &result) {
        const std::int32_t from = static_cast<std::int32_t>(std::int64_t(n) * part / parts);
        const std::int32_t to = static_cast<std::int32_t>(std::int64_t(n) * (part + 1) / parts);
        LineParser parser(separator, layout);
        std::int32_t i = from;
        try {
            for (; i < to; ++i)
                parser.parse(trimmedLines.at(i), i + 1, words[static_cast<size_t>(i)]);
        } catch (const Error &e) {
            result.failedLine = i;
            result.message = lineMessage(e.message(), fileName, i + 1, trimmedLines.at(i), separator, layout);
        }
    });
    dropSkippedLines(words, layout);
    dropClosingSilence(words);
}

void parseWordFile(const QByteArray &fileBytes, QChar separator, std::vector<Word> &words,
                   WordFileLayout layout, const QString &fileName)
{
    const TextBytes text(fileBytes);
    const char *data = text.data();
    const qsizetype size = text.size();

    // One count of the lines sizes the words once, as the line list did.
    const qsizetype lineCount = countLines(data, size);
    const std::int32_t n = static_cast<std::int32_t>(
        std::min<qsizetype>(lineCount, std::numeric_limits<std::int32_t>::max()));
    words.resize(static_cast<size_t>(n));

    // Two halves; the second half's lines are numbered on from the first's.
    const unsigned parts = n >= twoThreadLines ? 2 : 1;
    qsizetype cut = size;
    qsizetype firstLines = n;
    if (parts == 2) {
        cut = text.middleCut();
        firstLines = std::min<qsizetype>(countLines(data, cut), n);
    }
    parseInParts(parts, [&](unsigned part, PartResult &result) {
        const char *begin = part == 0 ? data : data + cut;
        const qsizetype length = part == 0 ? cut : size - cut;
        qsizetype i = part == 0 ? 0 : firstLines;
        LineDecoder decoder(text.encoding());
        LineParser parser(separator, layout);
        QString line; // one buffer for every line of the part
        try {
            forEachLine(begin, length, [&](const char *lineBegin, const char *lineEnd) {
                if (i >= n)
                    return; // beyond what a line count can describe
                decoder.decodeInto(lineBegin, lineEnd, line);
                parser.parse(trimmedView(line), static_cast<std::int32_t>(i + 1),
                             words[static_cast<size_t>(i)]);
                ++i;
            });
        } catch (const Error &e) {
            result.failedLine = i;
            result.message = lineMessage(e.message(), fileName, i + 1, trimmedView(line), separator, layout);
        }
    });
    dropSkippedLines(words, layout);
    dropClosingSilence(words);
}

std::vector<Word> parseWordLines(const QStringList &trimmedLines, QChar separator, WordFileLayout layout)
{
    std::vector<Word> words;
    parseWordLines(trimmedLines, separator, words, layout);
    return words;
}

std::vector<Word> parseWordFile(const QByteArray &fileBytes, QChar separator, WordFileLayout layout,
                                const QString &fileName)
{
    std::vector<Word> words;
    parseWordFile(fileBytes, separator, words, layout, fileName);
    return words;
}
