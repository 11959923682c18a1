#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <cstring>
#include <optional>

// Turns the bytes of one line of a text file into text, the way readTextFile
// reads a file: UTF-8 sequence by sequence, each byte that is not part of a
// well-formed sequence read as Windows-1252 (so a stray Latin-1 byte spoils
// nothing around it and no byte becomes a replacement character). Whether a
// file needs that byte-wise reading is decided once for the whole file; each
// thread that decodes lines of it uses a decoder of its own. Files in UTF-16
// or UTF-32 are turned into UTF-8 first (wideTextAsUtf8).
class LineDecoder
{
public:
    // Mixed: UTF-8 with bytes that are not part of a well-formed sequence.
    enum class Encoding { Ascii, Utf8, Mixed };

    // The encoding of a file's bytes (its byte-order mark already skipped).
    static Encoding detect(const char *data, qsizetype length);
    // The bytes after a leading UTF-8 byte-order mark, if there is one.
    static qsizetype byteOrderMarkLength(const char *data, qsizetype length);
    // When data starts with a UTF-32 or UTF-16 byte-order mark (UTF-32 LE is
    // tested before UTF-16 LE, whose mark it starts with), the text after the
    // mark as UTF-8; an invalid unit (a lone surrogate, a value beyond
    // U+10FFFF, a cut last unit) becomes U+FFFD. Nothing for any other data.
    static std::optional<QByteArray> wideTextAsUtf8(const char *data, qsizetype length);

    explicit LineDecoder(Encoding encoding);

    // The text of the bytes [begin, end) of one line.
    QString decode(const char *begin, const char *end);
    // The same into buffer, reusing its memory: for callers that look at each
    // line once and keep only parts of it.
    void decodeInto(const char *begin, const char *end, QString &buffer);

private:
    Encoding encoding;
    QStringDecoder utf8;
};

// A file's bytes as their lines are read: a UTF-32 or UTF-16 file turned
// into UTF-8 (wideTextAsUtf8), a leading UTF-8 byte-order mark skipped and
// the encoding of the rest detected, once for the whole file. Bytes that are
// not UTF-8 in more than a stray byte are read in the encoding
// guessEncoding finds, or in chosenEncoding (a name of Qt's converters;
// "UTF-8" reads them as UTF-8 with stray bytes as Windows-1252), turned into
// UTF-8 first; a byte-order mark outweighs a choice. It may hold the
// converted bytes, which data() points into, so it is not copied; fileBytes
// must outlive it.
class TextBytes
{
public:
    explicit TextBytes(const QByteArray &fileBytes, QByteArrayView chosenEncoding = {});
    TextBytes(const TextBytes &) = delete;
    TextBytes &operator=(const TextBytes &) = delete;

    const char *data() const { return start; }
    qsizetype size() const { return length; }
    LineDecoder::Encoding encoding() const { return detected; }
    // The encoding the file was read in when it is not UTF-8 ("UTF-16LE",
    // "GB18030", "Windows-1252"); empty for UTF-8.
    const QString &encodingName() const { return named; }
    // Where a long text is cut in two halves to read at once: just after the
    // first LF at or past the middle, so that no line and no CR LF pair is
    // divided; size() when no LF follows the middle.
    qsizetype middleCut() const;

private:
    std::optional<QByteArray> wide;
    const char *start;
    qsizetype length;
    LineDecoder::Encoding detected;
    QString named;
};

// Calls line(begin, end) for every line of data, lines ending at CR LF, LF or
// CR. A last line without a line end still counts; a final line end adds none.
template <typename LineFunction>
void forEachLine(const char *data, qsizetype n, LineFunction &&line)
{
    const char *p = data;
    const char *const end = data + n;
    if (!std::memchr(data, '\r', static_cast<size_t>(n))) {
        // The usual case on Linux: LF only, found with memchr.
        while (p < end) {
            const char *lf = static_cast<const char *>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
            if (!lf) {
                line(p, end);
                break;
            }
            line(p, lf);
            p = lf + 1;
        }
        return;
    }
    const char *begin = p;
    for (; p < end; ++p) {
        if (static_cast<unsigned char>(*p) > '\r' || (*p != '\n' && *p != '\r'))
            continue;
        line(begin, p);
        if (*p == '\r' && p + 1 < end && p[1] == '\n')
            ++p;
        begin = p + 1;
    }
    if (begin < end)
        line(begin, end);
}

// The number of lines forEachLine finds in data.
qsizetype countLines(const char *data, qsizetype n);

// The length of the well-formed UTF-8 sequence of two to four bytes at p
// (no overlong forms, no surrogates, nothing beyond U+10FFFF) and its code
// point; 0 when the byte at p starts none.
int utf8SequenceAt(const unsigned char *p, const unsigned char *end, char32_t &cp);
