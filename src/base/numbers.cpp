#include "base/numbers.h"

#include "base/error.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The text a conversion message quotes. A field is quoted whole as long as
// it is short and printable; a binary file or a line of 100,000 characters
// read as a number would otherwise make a message nobody can read, and a NUL
// in it cuts the message short wherever it is printed as a C string.
QString quoted(QStringView s)
{
    constexpr qsizetype longest = 60;
    qsizetype n = std::min(s.size(), longest);
    if (n < s.size() && s[n - 1].isHighSurrogate())
        --n; // keep a character that needs two code units whole
    QString t = s.first(n).toString();
    for (QChar &c : t)
        if ((c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0x7F)
            c = QChar::ReplacementCharacter;
    if (s.size() > longest)
        t += QStringLiteral("...");
    return t;
}

[[noreturn]] void notAFloat(QStringView s)
{
    throw Error(QStringLiteral("'%1' is not a valid floating point value").arg(quoted(s)));
}

[[noreturn]] void notAnInt(QStringView s)
{
    throw Error(QStringLiteral("'%1' is not a valid integer value").arg(quoted(s)));
}

// For a number text that does not fit a double: true when it is too small
// (its first significant digit lies far right of the point), false when too large.
bool isUnderflow(const std::string &number)
{
    const size_t e = number.find_first_of("eE");
    const std::string mantissa = number.substr(0, e);
    long exponent = 0;
    if (e != std::string::npos) {
        // The exponent is only digits and a sign; clamp its size to stay in range.
        const std::string exp = number.substr(e + 1);
        const bool negative = !exp.empty() && exp[0] == '-';
        for (char c : exp)
            if (c >= '0' && c <= '9' && exponent < 100000)
                exponent = exponent * 10 + (c - '0');
        if (negative)
            exponent = -exponent;
    }
    const size_t point = mantissa.find('.');
    const size_t first = mantissa.find_first_of("123456789");
    const long pointPos = static_cast<long>(point == std::string::npos ? mantissa.size() : point);
    long magnitude = pointPos - static_cast<long>(first);
    if (static_cast<long>(first) > pointPos)
        magnitude += 1;
    return magnitude + exponent <= 0;
}

} // namespace

std::int64_t roundHalfEven(double x)
{
    // nearbyint rounds in the current mode, which is to-nearest-even.
    const double r = std::nearbyint(x);
    constexpr double limit = 9223372036854775808.0; // 2^63
    if (!std::isfinite(r) || r >= limit || r < -limit)
        throw Error(QStringLiteral("'%1' is out of range").arg(x));
    return static_cast<std::int64_t>(r);
}

double parseFloat(QStringView s)
{
    // Check the grammar by hand, then let from_chars find the nearest double.
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n && s[i] == u' ')
        ++i;
    const qsizetype begin = i;
    if (i < n && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    const qsizetype numberStart = i;
    int digits = 0;
    while (i < n && isDigit(s[i].unicode())) {
        ++i;
        ++digits;
    }
    if (i < n && s[i] == u'.') {
        ++i;
        while (i < n && isDigit(s[i].unicode())) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        notAFloat(s);
    if (i < n && (s[i] == u'e' || s[i] == u'E')) {
        ++i;
        if (i < n && (s[i] == u'+' || s[i] == u'-'))
            ++i;
        int exponentDigits = 0;
        while (i < n && isDigit(s[i].unicode())) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            notAFloat(s);
    }
    const qsizetype numberEnd = i;
    while (i < n && s[i] == u' ')
        ++i;
    if (i != n)
        notAFloat(s);

    // Every character of [numberStart, numberEnd) is ASCII by now. Short
    // numbers, the usual ones, are converted without a heap allocation.
    char shortBuffer[64];
    std::string longBuffer;
    char *ascii = shortBuffer;
    const qsizetype length = numberEnd - numberStart;
    if (length > qsizetype(sizeof shortBuffer)) {
        longBuffer.resize(static_cast<size_t>(length));
        ascii = longBuffer.data();
    }
    for (qsizetype k = 0; k < length; ++k)
        ascii[k] = static_cast<char>(s[numberStart + k].unicode());
    double value = 0;
    const auto [ptr, ec] = std::from_chars(ascii, ascii + length, value);
    if (ec == std::errc::result_out_of_range) {
        // Too small rounds to zero; too large has no nearest finite value.
        if (!isUnderflow(std::string(ascii, static_cast<size_t>(length))))
            notAFloat(s);
        value = 0.0;
    } else if (ec != std::errc() || ptr != ascii + length) {
        notAFloat(s);
    }
    return s[begin] == u'-' ? -value : value;
}

std::int32_t parseInt(QStringView s)
{
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n && s[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (s[i] == u'+' || s[i] == u'-')) {
        negative = s[i] == u'-';
        ++i;
    }
    if (i == n)
        notAnInt(s);
    std::int64_t value = 0;
    for (; i < n; ++i) {
        if (!isDigit(s[i].unicode()))
            notAnInt(s);
        value = value * 10 + (s[i].unicode() - u'0');
        if (value > std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1)
            notAnInt(s);
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<std::int32_t>::max())
        notAnInt(s);
    return static_cast<std::int32_t>(value);
}

std::int64_t secondsToMs(QStringView s)
{
    const double seconds = parseFloat(s);
    const double ms = std::nearbyint(seconds * 1000.0);
    constexpr double limit = 9223372036854775808.0;
    if (!std::isfinite(ms) || ms >= limit || ms < -limit)
        notAFloat(s);
    return static_cast<std::int64_t>(ms);
}

QString withDecimals(double x, int decimals)
{
    return QString::number(x, 'f', decimals);
}

QString decimalText(std::int64_t number)
{
    char16_t buffer[20];
    char16_t *end = buffer + 20;
    char16_t *p = end;
    // Work on the magnitude as unsigned, so the smallest int64 has one too.
    std::uint64_t rest = number < 0 ? 0 - static_cast<std::uint64_t>(number) : static_cast<std::uint64_t>(number);
    do {
        *--p = static_cast<char16_t>(u'0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (number < 0)
        *--p = u'-';
    return QString(reinterpret_cast<const QChar *>(p), end - p);
}
