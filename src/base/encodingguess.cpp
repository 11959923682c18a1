#include "base/encodingguess.h"

#include "base/linedecoder.h"

#include <QStringDecoder>

#include <uchardet/uchardet.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

// What a misread as Windows-1252 looks like depends on the script.
enum class Script {
    EastAsian, // several bytes per character
    Latin,     // one byte per character, mostly ASCII letters
    Other,     // one byte per character, most letters above ASCII (Cyrillic, Greek, ...)
    None,      // not guessed: named only
};

struct KnownEncoding
{
    const char *converter; // as libuchardet and Qt's converters name it
    const char *shown;
    Script script;
    // An ISO-8859 encoding holds no text in 0x80..0x9F: bytes there mean
    // the Windows code page built on it.
    const char *withC1 = nullptr;
};

// The encodings a guess may give, and those a person may choose.
constexpr KnownEncoding knownEncodings[] = {
    {"UTF-8", "UTF-8", Script::None},
    {"WINDOWS-1252", "Windows-1252", Script::None},
    {"GB18030", "GB18030", Script::EastAsian},
    {"BIG5", "Big5", Script::EastAsian},
    {"SHIFT_JIS", "Shift_JIS", Script::EastAsian},
    {"EUC-JP", "EUC-JP", Script::EastAsian},
    {"ISO-2022-JP", "ISO-2022-JP", Script::EastAsian},
    {"EUC-KR", "EUC-KR", Script::EastAsian},
    {"ISO-2022-KR", "ISO-2022-KR", Script::EastAsian},
    {"ISO-2022-CN", "ISO-2022-CN", Script::EastAsian},
    {"HZ-GB-2312", "HZ-GB-2312", Script::EastAsian},
    {"WINDOWS-1250", "Windows-1250", Script::Latin},
    {"WINDOWS-1254", "Windows-1254", Script::Latin},
    {"WINDOWS-1257", "Windows-1257", Script::Latin},
    {"WINDOWS-1258", "Windows-1258", Script::Latin},
    {"ISO-8859-2", "ISO-8859-2", Script::Latin, "WINDOWS-1250"},
    {"ISO-8859-3", "ISO-8859-3", Script::Latin},
    {"ISO-8859-4", "ISO-8859-4", Script::Latin},
    {"ISO-8859-9", "ISO-8859-9", Script::Latin, "WINDOWS-1254"},
    {"ISO-8859-10", "ISO-8859-10", Script::Latin},
    {"ISO-8859-13", "ISO-8859-13", Script::Latin, "WINDOWS-1257"},
    {"WINDOWS-1251", "Windows-1251", Script::Other},
    {"WINDOWS-1253", "Windows-1253", Script::Other},
    {"WINDOWS-1255", "Windows-1255", Script::Other},
    {"WINDOWS-1256", "Windows-1256", Script::Other},
    {"ISO-8859-5", "ISO-8859-5", Script::Other},
    {"ISO-8859-7", "ISO-8859-7", Script::Other, "WINDOWS-1253"},
    {"ISO-8859-8", "ISO-8859-8", Script::Other, "WINDOWS-1255"},
    {"KOI8-R", "KOI8-R", Script::Other},
    {"KOI8-U", "KOI8-U", Script::Other},
    {"IBM866", "IBM866", Script::Other},
};

const KnownEncoding *findKnown(QByteArrayView converter)
{
    const auto found = std::find_if(std::begin(knownEncodings), std::end(knownEncodings), [&](const KnownEncoding &known) {
        return converter.compare(QByteArrayView(known.converter), Qt::CaseInsensitive) == 0;
    });
    return found == std::end(knownEncodings) ? nullptr : found;
}

const EncodingGuess asWindows1252{QByteArray(), QStringLiteral("Windows-1252")};

// A letter in Windows-1252: ASCII, the letters of 0x8A..0x9F and 0xC0..0xFF.
bool isLetter1252(unsigned char b)
{
    if (b < 0x80)
        return ((b | 0x20) >= 'a' && (b | 0x20) <= 'z');
    if (b >= 0xC0)
        return b != 0xD7 && b != 0xF7;
    return b == 0x83 || b == 0x8A || b == 0x8C || b == 0x8E || b == 0x9A || b == 0x9C || b == 0x9E || b == 0x9F;
}

// True when read as Windows-1252 the bytes give what no text of a western
// language holds: a byte Windows-1252 leaves undefined, a sign (³ ¹ ¿ ...)
// or ì, ò or ù inside a word. Latin texts of central Europe read that way
// (by³em, dìkuji, mùj, ...).
bool latinMisread(const unsigned char *d, qsizetype length)
{
    auto letterAt = [&](qsizetype i) { return i >= 0 && i < length && isLetter1252(d[i]); };
    for (qsizetype i = 0; i < length; ++i) {
        const unsigned char b = d[i];
        if (b < 0x80)
            continue;
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
            return true;
        const bool inWord = letterAt(i - 1) && letterAt(i + 1);
        // A soft hyphen, µ and the middle dot (Catalan l·l) stand in words.
        const bool sign = b >= 0xA1 && b <= 0xBF && b != 0xAD && b != 0xB5 && b != 0xB7;
        const bool graveInWord = b == 0xCC || b == 0xD2 || b == 0xD9 || b == 0xEC || b == 0xF2 || b == 0xF9;
        if (inWord && (sign || graveInWord))
            return true;
    }
    return false;
}

// Bytes from 0xA1 on per ASCII letter: a western text has a few in a
// hundred, a text in another script more than it has ASCII letters.
bool manyHighBytes(const unsigned char *d, qsizetype length, int perAsciiLetters)
{
    qsizetype high = 0, ascii = 0;
    for (qsizetype i = 0; i < length; ++i) {
        if (d[i] >= 0xA1)
            ++high;
        else if (d[i] < 0x80 && isLetter1252(d[i]))
            ++ascii;
    }
    return high * perAsciiLetters >= ascii;
}

// True when the converter reads the bytes with hardly a character it
// cannot decode.
bool decodesCleanly(const QByteArray &converter, const char *data, qsizetype length)
{
    QStringDecoder decoder(converter.constData());
    if (!decoder.isValid())
        return false;
    const QString text = decoder.decode(QByteArrayView(data, length));
    const qsizetype bad = text.count(QChar::ReplacementCharacter);
    return bad * 100 <= text.size();
}

QByteArray detectorsGuess(const char *data, qsizetype length)
{
    const std::unique_ptr<std::remove_pointer_t<uchardet_t>, void (*)(uchardet_t)> detector(uchardet_new(),
                                                                                          uchardet_delete);
    if (!detector || uchardet_handle_data(detector.get(), data, static_cast<size_t>(length)) != 0)
        return {};
    uchardet_data_end(detector.get());
    return QByteArray(uchardet_get_charset(detector.get()));
}

} // namespace

EncodingGuess guessEncoding(const char *data, qsizetype length)
{
    const auto *d = reinterpret_cast<const unsigned char *>(data);
    // UTF-8 with a stray byte here and there (as many well-formed sequences
    // as stray bytes) stays UTF-8.
    qsizetype stray = 0, sequences = 0;
    for (qsizetype i = 0; i < length;) {
        if (d[i] < 0x80) {
            ++i;
            continue;
        }
        char32_t cp;
        if (const int n = utf8SequenceAt(d + i, d + length, cp)) {
            ++sequences;
            i += n;
        } else {
            ++stray;
            ++i;
        }
    }
    if (stray <= 1 || sequences >= stray)
        return {};
    // No text in a one-byte or East Asian encoding holds a NUL: such bytes
    // are no text to guess about.
    if (std::memchr(data, 0, static_cast<size_t>(length)))
        return asWindows1252;

    const KnownEncoding *known = findKnown(detectorsGuess(data, length));
    if (!known || known->script == Script::None)
        return asWindows1252;
    const bool c1 = std::any_of(d, d + length, [](unsigned char b) { return b >= 0x80 && b <= 0x9F; });
    if (known->withC1 && c1)
        known = findKnown(known->withC1);
    const QByteArray converter(known->converter);
    bool taken = false;
    switch (known->script) {
    case Script::EastAsian:
        taken = manyHighBytes(d, length, 4) && decodesCleanly(converter, data, length);
        break;
    case Script::Latin:
        taken = latinMisread(d, length);
        break;
    case Script::Other:
        taken = manyHighBytes(d, length, 2);
        break;
    case Script::None:
        break;
    }
    if (!taken || !QStringDecoder(converter.constData()).isValid())
        return asWindows1252;
    return {converter, QString::fromLatin1(known->shown)};
}

QString shownEncodingName(QByteArrayView converter)
{
    if (const KnownEncoding *known = findKnown(converter))
        return QString::fromLatin1(known->shown);
    return QString::fromLatin1(converter);
}
