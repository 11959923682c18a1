#pragma once

#include <QString>
#include <QStringDecoder>

#include <cstring>

// Turns the bytes of one line of a text file into text, the way readTextFile
// reads a file: valid UTF-8 as UTF-8, anything else as Windows-1252 (so no
// byte becomes a replacement character). The encoding is decided once for
// the whole file; each thread that decodes lines of it uses a decoder of its
// own.
class LineDecoder
{
public:
    enum class Encoding { Ascii, Utf8, Cp1252 };

    // The encoding of a file's bytes (its byte-order mark already skipped).
    static Encoding detect(const char *data, qsizetype length);
    // The bytes after a leading UTF-8 byte-order mark, if there is one.
    static qsizetype byteOrderMarkLength(const char *data, qsizetype length);

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
