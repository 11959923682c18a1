#include "formats/jsoncursor.h"

#include <charconv>
#include <cmath>
#include <cstring>

JsonCursor::JsonCursor(const QByteArray &bytes)
    : begin(bytes.constData()), at(bytes.constData()), end(bytes.constData() + bytes.size())
{
}

// True when the last token taken opened an object or array: its first
// member needs no comma before it.
bool JsonCursor::justOpened() const
{
    const char *last = at;
    while (last > begin && (last[-1] == ' ' || last[-1] == '\n' || last[-1] == '\r' || last[-1] == '\t'))
        --last;
    return last > begin && (last[-1] == '{' || last[-1] == '[');
}

void JsonCursor::skipBlanks()
{
    while (at < end && (*at == ' ' || *at == '\n' || *at == '\r' || *at == '\t'))
        ++at;
}

char JsonCursor::peek()
{
    skipBlanks();
    return at < end ? *at : 0;
}

void JsonCursor::expect(char c)
{
    if (peek() != c)
        throw Malformed();
    ++at;
}

bool JsonCursor::nextKey(QString &key)
{
    if (peek() == '}') {
        ++at;
        return false;
    }
    if (!justOpened())
        expect(',');
    key = string();
    expect(':');
    return true;
}

bool JsonCursor::nextElement()
{
    if (peek() == ']') {
        ++at;
        return false;
    }
    if (!justOpened())
        expect(',');
    return true;
}

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

QString JsonCursor::string()
{
    expect('"');
    const char *start = at;
    // Most strings hold no escape: they are decoded straight from the bytes.
    while (at < end && *at != '"' && *at != '\\')
        ++at;
    if (at >= end)
        throw Malformed();
    if (*at == '"')
        return QString::fromUtf8(start, at++ - start);
    QString text = QString::fromUtf8(start, at - start);
    QByteArray run;
    while (true) {
        if (at >= end)
            throw Malformed();
        const char c = *at++;
        if (c == '"')
            break;
        if (c != '\\') {
            run.append(c);
            continue;
        }
        if (at >= end)
            throw Malformed();
        const char e = *at++;
        switch (e) {
        case '"': case '\\': case '/': run.append(e); break;
        case 'b': run.append('\b'); break;
        case 'f': run.append('\f'); break;
        case 'n': run.append('\n'); break;
        case 'r': run.append('\r'); break;
        case 't': run.append('\t'); break;
        case 'u': {
            if (end - at < 4)
                throw Malformed();
            char16_t unit = 0;
            for (int i = 0; i < 4; ++i) {
                const int digit = hexDigit(*at++);
                if (digit < 0)
                    throw Malformed();
                unit = char16_t(unit * 16 + digit);
            }
            text += QString::fromUtf8(run);
            run.clear();
            text += QChar(unit); // a surrogate pair comes as two escapes
            break;
        }
        default:
            throw Malformed();
        }
    }
    return text + QString::fromUtf8(run);
}

QString JsonCursor::string(Repeat &last)
{
    if (peek() != '"')
        throw Malformed();
    const char *start = at + 1;
    const char *stop = start;
    while (stop < end && *stop != '"' && *stop != '\\')
        ++stop;
    if (stop < end && *stop == '"' && QByteArrayView(start, stop - start) == QByteArrayView(last.raw)) {
        at = stop + 1;
        return last.text;
    }
    last.text = string();
    last.raw = stop < end && *stop == '"' ? QByteArray(start, stop - start) : QByteArray();
    return last.text;
}

void JsonCursor::numberText(const char *&first, const char *&stop)
{
    skipBlanks();
    first = at;
    while (at < end && *at != 0 && std::strchr("+-0123456789.eE", *at) != nullptr)
        ++at;
    stop = at;
    if (first == stop)
        throw Malformed();
}

double JsonCursor::number()
{
    const char *first, *stop;
    numberText(first, stop);
    double value = 0;
    if (std::from_chars(first, stop, value).ptr != stop)
        throw Malformed();
    return value;
}

std::int64_t JsonCursor::integer()
{
    const char *first, *stop;
    numberText(first, stop);
    std::int64_t value = 0;
    if (std::from_chars(first, stop, value).ptr == stop)
        return value;
    // A whole number written with a fraction or an exponent.
    double real = 0;
    if (std::from_chars(first, stop, real).ptr != stop || !std::isfinite(real))
        throw Malformed();
    return static_cast<std::int64_t>(real);
}

float JsonCursor::floatNumber()
{
    const char *first, *stop;
    numberText(first, stop);
    float value = 0;
    if (std::from_chars(first, stop, value).ptr != stop)
        throw Malformed();
    return value;
}

bool JsonCursor::boolean()
{
    skipBlanks();
    if (end - at >= 4 && std::memcmp(at, "true", 4) == 0) {
        at += 4;
        return true;
    }
    if (end - at >= 5 && std::memcmp(at, "false", 5) == 0) {
        at += 5;
        return false;
    }
    throw Malformed();
}

QByteArray JsonCursor::skipValue()
{
    skipBlanks();
    const char *start = at;
    switch (peek()) {
    case '{': {
        beginObject();
        QString key;
        while (nextKey(key))
            skipValue();
        break;
    }
    case '[':
        beginArray();
        while (nextElement())
            skipValue();
        break;
    case '"':
        string();
        break;
    case 't': case 'f':
        boolean();
        break;
    case 'n':
        if (end - at < 4 || std::memcmp(at, "null", 4) != 0)
            throw Malformed();
        at += 4;
        break;
    default:
        number();
    }
    return QByteArray(start, at - start);
}
