#include "formats/jsontext.h"

#include "base/timetext.h"
#include "formats/annotatedinterview.h"

#include <charconv>

using namespace Qt::Literals::StringLiterals;

QString jsonQuoted(QStringView text)
{
    QString out = u"\""_s;
    out.reserve(text.size() + 2);
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'"':
            out += u"\\\"";
            break;
        case u'\\':
            out += u"\\\\";
            break;
        case u'\n':
            out += u"\\n";
            break;
        case u'\r':
            out += u"\\r";
            break;
        case u'\t':
            out += u"\\t";
            break;
        default:
            if (c.unicode() < 0x20)
                out += u"\\u%1"_s.arg(uint(c.unicode()), 4, 16, QChar(u'0'));
            else
                out += c;
        }
    }
    out += u'"';
    return out;
}

QString jsonSpeaker(const QString &speaker)
{
    return namesSpeaker(speaker) ? jsonQuoted(speaker) : u"null"_s;
}

QString jsonSeconds(std::int64_t ms)
{
    QString text;
    appendSecondsText(text, ms);
    return text;
}

QString jsonFloat(float value)
{
    char digits[32];
    const std::to_chars_result written = std::to_chars(digits, digits + sizeof digits, value);
    return QString::fromLatin1(digits, written.ptr - digits);
}
