#include "formats/wordfile.h"

#include "base/error.h"
#include "base/linedecoder.h"
#include "base/numbers.h"
#include "base/text.h"
#include "base/twothreads.h"
#include "formats/naadwerkjsonreader.h"
#include "formats/foundwords.h"
#include "formats/wordreaders.h"

#include <algorithm>
#include <limits>
#include <type_traits>

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

const QString altBegin = QStringLiteral("<ALT_BEGIN>");
const QString altNext = QStringLiteral("<ALT>");
const QString altEnd = QStringLiteral("<ALT_END>");

// The marker text when word is one of the three markers of an alternation.
const QString *alternationMarker(QStringView word)
{
    if (!word.startsWith(u'<'))
        return nullptr;
    for (const QString *marker : {&altBegin, &altNext, &altEnd})
        if (word == *marker)
            return marker;
    return nullptr;
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
                                       "this one has %1; choose the aligner layout on the Settings tab "
                                       "(--layout aligner) if the file is not NIST CTM").arg(n));
        w.line = lineNumber;
        // A marker of an alternation: its times ("*" or real) are not read.
        if (const QString *marker = alternationMarker(fields[4])) {
            w.start = w.end = 0;
            w.text = *marker;
            w.confidence = 1.0f;
            w.speaker = noSpeaker();
            return;
        }
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
// the line holds no separator but is read with the other one, which
// separator to choose.
QString lineMessage(const QString &message, const QString &fileName, qsizetype lineNumber, QStringView line,
                    QChar separator, WordFileLayout layout)
{
    if (fileName.isNull())
        return message;
    // One arg() for all: a file name holding "%2" is not filled in again.
    QString out = QStringLiteral("\"%1\", line %2: %3").arg(fileName, QString::number(lineNumber), message);
    const QChar other = separator == u'\t' ? QChar(u' ') : QChar(u'\t');
    if (layout == WordFileLayout::Aligner && !line.contains(separator) && line.contains(other)) {
        try {
            Word word;
            LineParser(other, layout).parse(line, 1, word);
        } catch (const Error &) {
            return out; // a line of other text: no separator helps
        }
        out += other == u'\t' ? QStringLiteral("; the fields are apart by tabs: choose \"Tab\" on the Settings tab "
                                               "(--separator tab)")
                               : QStringLiteral("; the fields are apart by blanks: choose \"Space\" on the Settings "
                                               "tab (--separator space)");
    }
    return out;
}

// A control character no text holds (tab, line and page ends, and the
// end-of-file mark of old DOS texts are text).
constexpr bool isNonText(char16_t c)
{
    return c < 0x20 && c != u'\t' && c != u'\n' && c != 0x0B && c != 0x0C && c != u'\r' && c != 0x1A;
}

// True when the line, trimmed as its words are read, holds a character no
// text holds. Bytes of the UTF-8 the lines are cut from or its characters.
template <typename Char>
bool holdsNonText(const Char *begin, const Char *end)
{
    auto unit = [](Char c) { return static_cast<char16_t>(static_cast<std::make_unsigned_t<Char>>(c)); };
    while (begin < end && unit(*begin) <= u' ')
        ++begin;
    while (end > begin && unit(end[-1]) <= u' ')
        --end;
    return std::any_of(begin, end, [&](Char c) { return isNonText(unit(c)); });
}

// The number of the first line from 1 to lastLine (of lines as
// forEachLine splits data) that holds a character no text holds; 0 for none.
qsizetype firstNonTextLine(const char *data, qsizetype size, qsizetype lastLine)
{
    qsizetype line = 0, found = 0;
    forEachLine(data, size, [&](const char *begin, const char *end) {
        if (++line <= lastLine && !found && holdsNonText(begin, end))
            found = line;
    });
    return found;
}

qsizetype firstNonTextLine(const QStringList &lines, qsizetype lastLine)
{
    for (qsizetype i = 0; i < lastLine && i < lines.size(); ++i)
        if (holdsNonText(lines[i].utf16(), lines[i].utf16() + lines[i].size()))
            return i + 1;
    return 0;
}

QString notTextMessage(const QString &fileName, qsizetype line)
{
    const QString what = QStringLiteral("line %1 is not text").arg(line);
    return fileName.isNull() ? what : QStringLiteral("\"%1\" is not a word file: %2").arg(fileName, what);
}

QString markerMessage(const QString &fileName, std::int32_t line, const QString &what)
{
    return fileName.isNull() ? what : QStringLiteral("\"%1\", line %2: %3").arg(fileName, QString::number(line), what);
}

// In the NIST layout: leaves out the skipped lines, and reads each
// alternation as its first alternative, counting them in notes.
void finishNist(std::vector<Word> &words, WordFileLayout layout, const QString &fileName, WordFileRead *notes)
{
    if (layout != WordFileLayout::Nist)
        return;
    enum class In { Text, FirstAlternative, OtherAlternative } in = In::Text;
    std::int32_t opened = 0; // the line of the open <ALT_BEGIN>
    int alternations = 0;
    std::int32_t first = 0;
    std::size_t kept = 0;
    for (Word &w : words) {
        if (w.line == 0)
            continue;
        const bool marker = alternationMarker(w.text) != nullptr;
        if (marker && w.text == altBegin) {
            if (in != In::Text)
                throw Error(markerMessage(fileName, w.line,
                                          QStringLiteral("<ALT_BEGIN> inside the alternation opened on line %1")
                                              .arg(opened)));
            in = In::FirstAlternative;
            opened = w.line;
            if (alternations++ == 0)
                first = w.line;
            continue;
        }
        if (marker) {
            if (in == In::Text)
                throw Error(markerMessage(fileName, w.line, QStringLiteral("%1 without an <ALT_BEGIN> before it").arg(w.text)));
            in = w.text == altEnd ? In::Text : In::OtherAlternative;
            continue;
        }
        if (in == In::OtherAlternative || (in == In::FirstAlternative && w.text == u"@"))
            continue;
        if (&words[kept] != &w)
            words[kept] = std::move(w);
        ++kept;
    }
    words.resize(kept);
    if (in != In::Text)
        throw Error(markerMessage(fileName, opened, QStringLiteral("<ALT_BEGIN> is not closed by <ALT_END>")));
    if (notes) {
        notes->alternations = alternations;
        notes->firstAlternation = first;
    }
}

// The first failing line of a part and its message; line is the part's end
// when none failed.
struct PartResult
{
    qsizetype failedLine = std::numeric_limits<qsizetype>::max();
    QString message;
};

// Runs parsePart(part, result) for one or two parts and throws the error of
// the first failing line in file order, as a read line by line would, or
// the file's first line up to it that is no text (firstNonText(failedLine),
// 0 for none). Anything else (memory running out) reaches the caller from
// either thread: an exception that left the second thread would end the
// program.
template <typename ParsePart, typename FirstNonText>
void parseInParts(unsigned parts, ParsePart &&parsePart, FirstNonText &&firstNonText, const QString &fileName)
{
    PartResult results[2];
    if (parts == 1)
        parsePart(0u, results[0]);
    else
        runOnTwoThreads([&] { parsePart(0u, results[0]); }, [&] { parsePart(1u, results[1]); });
    for (unsigned part = 0; part < parts; ++part) {
        const PartResult &failed = results[part];
        if (failed.failedLine == std::numeric_limits<qsizetype>::max())
            continue;
        if (const qsizetype line = firstNonText(failed.failedLine + 1))
            throw Error(notTextMessage(fileName, line));
        throw Error(failed.message);
    }
}

void dropClosingSilence(std::vector<Word> &words)
{
    if (!words.empty() && words.back().text == u"SIL")
        words.pop_back();
}

// The words of trimmed lines, as parseWordLines reads them; notes, when
// given, learns of the alternations.
void parseLines(const QStringList &trimmedLines, QChar separator, std::vector<Word> &words, WordFileLayout layout,
                const QString &fileName, WordFileRead *notes)
{
    // A count beyond 32 bits would be misread later; the line list itself
    // cannot hold that many lines anyway.
    const std::int32_t n = static_cast<std::int32_t>(
        std::min<qsizetype>(trimmedLines.size(), std::numeric_limits<std::int32_t>::max()));
    words.resize(static_cast<size_t>(n));

    // Lines are independent, so a long file is parsed in two halves at once.
    const unsigned parts = n >= twoThreadLines ? 2 : 1;
    parseInParts(
        parts,
        [&](unsigned part, PartResult &result) {
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
        },
        [&](qsizetype lastLine) { return firstNonTextLine(trimmedLines, lastLine); }, fileName);
    finishNist(words, layout, fileName, notes);
    dropClosingSilence(words);
}

// The words of a file's text, as parseWordFile reads them.
void parseText(const TextBytes &text, QChar separator, std::vector<Word> &words, WordFileLayout layout,
               const QString &fileName, WordFileRead *notes)
{
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
    parseInParts(
        parts,
        [&](unsigned part, PartResult &result) {
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
        },
        [&](qsizetype lastLine) { return firstNonTextLine(data, size, lastLine); }, fileName);
    finishNist(words, layout, fileName, notes);
    dropClosingSilence(words);
}

// True when the text holds nothing but blanks and line ends.
bool onlyBlanks(const TextBytes &text)
{
    return std::all_of(text.data(), text.data() + text.size(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

} // namespace

void parseWordLines(const QStringList &trimmedLines, QChar separator, std::vector<Word> &words,
                    WordFileLayout layout, const QString &fileName)
{
    parseLines(trimmedLines, separator, words, layout, fileName, nullptr);
}

void parseWordFile(const QByteArray &fileBytes, QChar separator, std::vector<Word> &words,
                   WordFileLayout layout, const QString &fileName)
{
    parseText(TextBytes(fileBytes), separator, words, layout, fileName, nullptr);
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

const QStringList &wordFileExtensions()
{
    static const QStringList extensions{QStringLiteral("ctm"),  QStringLiteral("spk"),      QStringLiteral("json"),
                                        QStringLiteral("textgrid"), QStringLiteral("eaf"), QStringLiteral("vtt")};
    return extensions;
}

bool isWordFileName(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot >= 0 && wordFileExtensions().contains(name.sliced(dot + 1).toLower());
}

WordFileRead loadWordFile(const QByteArray &fileBytes, const WordFileFormat &format, const QString &fileName)
{
    WordFileRead read;
    if (format.kind == WordFileKind::Auto && looksLikeNaadwerkJson(fileBytes)) {
        read = parseNaadwerkJson(fileBytes, fileName);
        if (read.words.empty())
            throw Error(QStringLiteral("\"%1\": no words found").arg(fileName));
        return read;
    }
    const TextBytes text(fileBytes, format.encoding);
    read.encoding = text.encodingName();
    WordSource source;
    source.tier = format.tier;
    if (const WordReader *reader = findWordReader(QByteArrayView(text.data(), text.size()), format.kind, fileName, source)) {
        FoundWords found;
        try {
            reader->read(source, found);
        } catch (const Error &e) {
            throw Error(QStringLiteral("\"%1\": %2").arg(fileName, e.message()));
        }
        found.finishInto(read);
        if (read.words.empty())
            throw Error(QStringLiteral("\"%1\": no words found").arg(fileName));
        return read;
    }
    const WordFileLayout layout = format.kind == WordFileKind::Nist ? WordFileLayout::Nist : format.layout;
    // Blank lines fail in the aligner layout: a file of nothing else has no
    // words to fail on.
    if (!onlyBlanks(text))
        parseText(text, format.separator, read.words, layout, fileName, &read);
    if (read.words.empty())
        throw Error(QStringLiteral("\"%1\": no words found").arg(fileName));
    return read;
}
