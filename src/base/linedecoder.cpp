#include "base/linedecoder.h"

#include "base/textfile.h"

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F. The five bytes it
// leaves undefined keep their Latin-1 meaning, so nothing is lost.
constexpr char16_t cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void fromCp1252(const char *data, qsizetype length, char16_t *out)
{
    for (qsizetype i = 0; i < length; ++i) {
        const unsigned char b = static_cast<unsigned char>(data[i]);
        out[i] = (b >= 0x80 && b < 0xA0) ? cp1252High[b - 0x80] : char16_t(b);
    }
}

bool isAscii(const char *data, qsizetype length)
{
    unsigned char bits = 0;
    for (qsizetype i = 0; i < length; ++i)
        bits |= static_cast<unsigned char>(data[i]);
    return bits < 0x80;
}

} // namespace

LineDecoder::Encoding LineDecoder::detect(const char *data, qsizetype length)
{
    if (!isValidUtf8(data, length))
        return Encoding::Cp1252;
    return isAscii(data, length) ? Encoding::Ascii : Encoding::Utf8;
}

qsizetype LineDecoder::byteOrderMarkLength(const char *data, qsizetype length)
{
    return length >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
}

// Only the file's first byte-order mark is dropped (by the caller); one at
// the start of a later line is text and stays.
LineDecoder::LineDecoder(Encoding encoding)
    : encoding(encoding),
      utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom)
{
}

QString LineDecoder::decode(const char *begin, const char *end)
{
    const qsizetype length = end - begin;
    if (encoding == Encoding::Ascii)
        return QString::fromLatin1(begin, length);
    if (encoding == Encoding::Utf8)
        return utf8.decode(QByteArrayView(begin, length));
    QString s(length, Qt::Uninitialized);
    fromCp1252(begin, length, reinterpret_cast<char16_t *>(s.data()));
    return s;
}

void LineDecoder::decodeInto(const char *begin, const char *end, QString &buffer)
{
    const qsizetype length = end - begin;
    if (encoding == Encoding::Utf8) {
        buffer.resize(utf8.requiredSpace(length));
        const QChar *last = utf8.appendToBuffer(buffer.data(), QByteArrayView(begin, length));
        buffer.resize(last - buffer.constData());
        return;
    }
    buffer.resize(length);
    char16_t *out = reinterpret_cast<char16_t *>(buffer.data());
    if (encoding == Encoding::Cp1252) {
        fromCp1252(begin, length, out);
        return;
    }
    for (qsizetype i = 0; i < length; ++i)
        out[i] = char16_t(static_cast<unsigned char>(begin[i]));
}

qsizetype countLines(const char *data, qsizetype n)
{
    qsizetype lines = 0;
    forEachLine(data, n, [&](const char *, const char *) { ++lines; });
    return lines;
}
