#include "base/linedecoder.h"

#include "base/encodingguess.h"
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


// UTF-8 sequence by sequence; a byte outside a well-formed sequence is read
// as Windows-1252. out has room for length units: no sequence gives more
// units than it has bytes. Returns the number of units written.
qsizetype fromMixed(const char *data, qsizetype length, char16_t *out)
{
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    const auto *end = p + length;
    char16_t *o = out;
    while (p < end) {
        const unsigned char b = *p;
        if (b < 0x80) {
            *o++ = char16_t(b);
            ++p;
            continue;
        }
        char32_t cp = 0;
        const int n = utf8SequenceAt(p, end, cp);
        if (n == 0) {
            fromCp1252(reinterpret_cast<const char *>(p), 1, o++);
            ++p;
            continue;
        }
        if (cp >= 0x10000) {
            *o++ = QChar::highSurrogate(cp);
            *o++ = QChar::lowSurrogate(cp);
        } else {
            *o++ = char16_t(cp);
        }
        p += n;
    }
    return o - out;
}

void appendUtf8(QByteArray &out, char32_t cp)
{
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

constexpr char32_t replacement = 0xFFFD;

QByteArray utf32AsUtf8(const unsigned char *p, qsizetype length, bool bigEndian)
{
    QByteArray out;
    out.reserve(length);
    qsizetype i = 0;
    for (; i + 4 <= length; i += 4) {
        const char32_t cp = bigEndian ? (char32_t(p[i]) << 24 | char32_t(p[i + 1]) << 16 | char32_t(p[i + 2]) << 8 | p[i + 3])
                                      : (char32_t(p[i + 3]) << 24 | char32_t(p[i + 2]) << 16 | char32_t(p[i + 1]) << 8 | p[i]);
        appendUtf8(out, cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF) ? replacement : cp);
    }
    if (i < length)
        appendUtf8(out, replacement);
    return out;
}

QByteArray utf16AsUtf8(const unsigned char *p, qsizetype length, bool bigEndian)
{
    QByteArray out;
    out.reserve(length + length / 2);
    auto unitAt = [&](qsizetype i) {
        return bigEndian ? char16_t(p[i] << 8 | p[i + 1]) : char16_t(p[i + 1] << 8 | p[i]);
    };
    qsizetype i = 0;
    while (i + 2 <= length) {
        const char16_t u = unitAt(i);
        i += 2;
        if (QChar::isHighSurrogate(u) && i + 2 <= length && QChar::isLowSurrogate(unitAt(i))) {
            appendUtf8(out, QChar::surrogateToUcs4(u, unitAt(i)));
            i += 2;
        } else if (QChar::isSurrogate(u)) {
            appendUtf8(out, replacement);
        } else {
            appendUtf8(out, u);
        }
    }
    if (i < length)
        appendUtf8(out, replacement);
    return out;
}

bool isAscii(const char *data, qsizetype length)
{
    unsigned char bits = 0;
    for (qsizetype i = 0; i < length; ++i)
        bits |= static_cast<unsigned char>(data[i]);
    return bits < 0x80;
}

} // namespace

int utf8SequenceAt(const unsigned char *p, const unsigned char *end, char32_t &cp)
{
    const unsigned char b = *p;
    int following;
    if (b >= 0xC2 && b <= 0xDF) {
        following = 1;
        cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        following = 2;
        cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        following = 3;
        cp = b & 0x07;
    } else {
        return 0;
    }
    if (end - p <= following)
        return 0;
    for (int k = 1; k <= following; ++k) {
        if ((p[k] & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (p[k] & 0x3F);
    }
    if ((following == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF)))
        || (following == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
        return 0;
    return following + 1;
}

LineDecoder::Encoding LineDecoder::detect(const char *data, qsizetype length)
{
    if (!isValidUtf8(data, length))
        return Encoding::Mixed;
    return isAscii(data, length) ? Encoding::Ascii : Encoding::Utf8;
}

qsizetype LineDecoder::byteOrderMarkLength(const char *data, qsizetype length)
{
    return length >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
}

namespace {

// A byte-order mark of UTF-32 or UTF-16, the first that data starts with.
struct WideMark
{
    const char *bytes;
    qsizetype size;
    int unit; // bytes per unit
    bool bigEndian;
    const char *name;
};

// UTF-32 LE before UTF-16 LE, whose mark it starts with.
constexpr WideMark wideMarks[] = {
    {"\xFF\xFE\0\0", 4, 4, false, "UTF-32LE"},
    {"\0\0\xFE\xFF", 4, 4, true, "UTF-32BE"},
    {"\xFF\xFE", 2, 2, false, "UTF-16LE"},
    {"\xFE\xFF", 2, 2, true, "UTF-16BE"},
};

const WideMark *wideMarkOf(const char *data, qsizetype length)
{
    for (const WideMark &mark : wideMarks)
        if (length >= mark.size && std::memcmp(data, mark.bytes, size_t(mark.size)) == 0)
            return &mark;
    return nullptr;
}

} // namespace

std::optional<QByteArray> LineDecoder::wideTextAsUtf8(const char *data, qsizetype length)
{
    const WideMark *mark = wideMarkOf(data, length);
    if (!mark)
        return std::nullopt;
    const auto *p = reinterpret_cast<const unsigned char *>(data) + mark->size;
    return mark->unit == 4 ? utf32AsUtf8(p, length - mark->size, mark->bigEndian)
                           : utf16AsUtf8(p, length - mark->size, mark->bigEndian);
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
    s.resize(fromMixed(begin, length, reinterpret_cast<char16_t *>(s.data())));
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
    if (encoding == Encoding::Mixed) {
        buffer.resize(fromMixed(begin, length, out));
        return;
    }
    for (qsizetype i = 0; i < length; ++i)
        out[i] = char16_t(static_cast<unsigned char>(begin[i]));
}

TextBytes::TextBytes(const QByteArray &fileBytes, QByteArrayView chosenEncoding)
    : wide(LineDecoder::wideTextAsUtf8(fileBytes.constData(), fileBytes.size()))
{
    const QByteArray &bytes = wide ? *wide : fileBytes;
    const qsizetype bom = LineDecoder::byteOrderMarkLength(bytes.constData(), bytes.size());
    start = bytes.constData() + bom;
    length = bytes.size() - bom;
    detected = LineDecoder::detect(start, length);
    if (wide) {
        named = QString::fromLatin1(wideMarkOf(fileBytes.constData(), fileBytes.size())->name);
        return;
    }
    // A byte-order mark says what the file is; ASCII reads the same in every
    // encoding offered. The guess runs only for bytes that are not UTF-8.
    if (bom || detected == LineDecoder::Encoding::Ascii)
        return;
    const bool utf8Chosen = chosenEncoding.compare(QByteArrayView("UTF-8"), Qt::CaseInsensitive) == 0;
    EncodingGuess how;
    if (!chosenEncoding.isEmpty() && !utf8Chosen)
        how = {chosenEncoding.toByteArray(), shownEncodingName(chosenEncoding)};
    else if (chosenEncoding.isEmpty() && detected == LineDecoder::Encoding::Mixed)
        how = guessEncoding(start, length);
    named = how.shown;
    if (how.converter.isEmpty())
        return;
    QStringDecoder decoder(how.converter.constData());
    if (!decoder.isValid())
        return;
    const QString text = decoder.decode(QByteArrayView(start, length));
    wide = text.toUtf8();
    start = wide->constData();
    length = wide->size();
    detected = LineDecoder::detect(start, length);
}

qsizetype TextBytes::middleCut() const
{
    const void *lf = std::memchr(start + length / 2, '\n', static_cast<size_t>(length - length / 2));
    return lf ? static_cast<const char *>(lf) + 1 - start : length;
}

qsizetype countLines(const char *data, qsizetype n)
{
    qsizetype lines = 0;
    forEachLine(data, n, [&](const char *, const char *) { ++lines; });
    return lines;
}
