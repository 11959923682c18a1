#include "lines/tekst.h"

#include "lines/efout.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool isWit(QChar c) { return c.unicode() <= 0x20; }
bool isCijfer(char16_t c) { return c >= u'0' && c <= u'9'; }

// The text a conversion message quotes. A field is quoted whole as long as
// it is short and printable; a binary file or a line of 100,000 characters
// read as a number would otherwise make a message nobody can read, and a NUL
// in it cuts the message short wherever it is printed as a C string.
QString aangehaald(QStringView s)
{
    constexpr qsizetype langste = 60;
    qsizetype n = std::min(s.size(), langste);
    if (n < s.size() && s[n - 1].isHighSurrogate())
        --n; // keep a character that needs two code units whole
    QString t = s.first(n).toString();
    for (QChar &c : t)
        if ((c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0x7F)
            c = QChar::ReplacementCharacter;
    if (s.size() > langste)
        t += QStringLiteral("...");
    return t;
}

[[noreturn]] void geenFloat(QStringView s)
{
    throw EFout(QStringLiteral("'%1' is not a valid floating point value").arg(aangehaald(s)));
}

[[noreturn]] void geenInt(QStringView s)
{
    throw EFout(QStringLiteral("'%1' is not a valid integer value").arg(aangehaald(s)));
}

// For a number text that does not fit a double: true when it is too small
// (its first significant digit lies far right of the point), false when too large.
bool isOnderloop(const std::string &getal)
{
    const size_t e = getal.find_first_of("eE");
    const std::string mantisse = getal.substr(0, e);
    long exponent = 0;
    if (e != std::string::npos) {
        // The exponent is only digits and a sign; clamp its size to stay in range.
        const std::string exp = getal.substr(e + 1);
        const bool neg = !exp.empty() && exp[0] == '-';
        for (char c : exp)
            if (c >= '0' && c <= '9' && exponent < 100000)
                exponent = exponent * 10 + (c - '0');
        if (neg)
            exponent = -exponent;
    }
    const size_t punt = mantisse.find('.');
    const size_t eerste = mantisse.find_first_of("123456789");
    const long puntPos = static_cast<long>(punt == std::string::npos ? mantisse.size() : punt);
    long grootte = puntPos - static_cast<long>(eerste);
    if (static_cast<long>(eerste) > puntPos)
        grootte += 1;
    return grootte + exponent <= 0;
}

} // namespace

QStringView trimView(QStringView s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && isWit(s[b]))
        ++b;
    while (e > b && isWit(s[e - 1]))
        --e;
    return s.sliced(b, e - b);
}

QString trimTekst(const QString &s)
{
    if (s.isEmpty() || (!isWit(s.front()) && !isWit(s.back())))
        return s; // the common case shares the text instead of copying it
    return trimView(s).toString();
}

std::int64_t afronden(double x)
{
    // nearbyint rounds in the current mode, which is to-nearest-even.
    const double r = std::nearbyint(x);
    constexpr double grens = 9223372036854775808.0; // 2^63
    if (!std::isfinite(r) || r >= grens || r < -grens)
        throw EFout(QStringLiteral("'%1' is out of range").arg(x));
    return static_cast<std::int64_t>(r);
}

double strNaarFloat(QStringView s)
{
    // Check the grammar by hand, then let from_chars find the nearest double.
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n && s[i] == u' ')
        ++i;
    const qsizetype begin = i;
    if (i < n && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    const qsizetype getal = i;
    int cijfers = 0;
    while (i < n && isCijfer(s[i].unicode())) {
        ++i;
        ++cijfers;
    }
    if (i < n && s[i] == u'.') {
        ++i;
        while (i < n && isCijfer(s[i].unicode())) {
            ++i;
            ++cijfers;
        }
    }
    if (cijfers == 0)
        geenFloat(s);
    if (i < n && (s[i] == u'e' || s[i] == u'E')) {
        ++i;
        if (i < n && (s[i] == u'+' || s[i] == u'-'))
            ++i;
        int exp = 0;
        while (i < n && isCijfer(s[i].unicode())) {
            ++i;
            ++exp;
        }
        if (exp == 0)
            geenFloat(s);
    }
    const qsizetype eind = i;
    while (i < n && s[i] == u' ')
        ++i;
    if (i != n)
        geenFloat(s);

    // Every character of [getal, eind) is ASCII by now. Short numbers, the
    // usual ones, are converted without a heap allocation.
    char kort[64];
    std::string lang;
    char *ascii = kort;
    const qsizetype lengte = eind - getal;
    if (lengte > qsizetype(sizeof kort)) {
        lang.resize(static_cast<size_t>(lengte));
        ascii = lang.data();
    }
    for (qsizetype k = 0; k < lengte; ++k)
        ascii[k] = static_cast<char>(s[getal + k].unicode());
    double waarde = 0;
    const auto [ptr, ec] = std::from_chars(ascii, ascii + lengte, waarde);
    if (ec == std::errc::result_out_of_range) {
        // Too small rounds to zero; too large has no nearest finite value.
        if (!isOnderloop(std::string(ascii, static_cast<size_t>(lengte))))
            geenFloat(s);
        waarde = 0.0;
    } else if (ec != std::errc() || ptr != ascii + lengte) {
        geenFloat(s);
    }
    return s[begin] == u'-' ? -waarde : waarde;
}

std::int32_t strNaarInt(QStringView s)
{
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n && s[i] == u' ')
        ++i;
    bool negatief = false;
    if (i < n && (s[i] == u'+' || s[i] == u'-')) {
        negatief = s[i] == u'-';
        ++i;
    }
    if (i == n)
        geenInt(s);
    std::int64_t waarde = 0;
    for (; i < n; ++i) {
        if (!isCijfer(s[i].unicode()))
            geenInt(s);
        waarde = waarde * 10 + (s[i].unicode() - u'0');
        if (waarde > std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1)
            geenInt(s);
    }
    if (negatief)
        waarde = -waarde;
    if (waarde > std::numeric_limits<std::int32_t>::max())
        geenInt(s);
    return static_cast<std::int32_t>(waarde);
}

std::int64_t secondenNaarMs(QStringView s)
{
    const double seconden = strNaarFloat(s);
    const double ms = std::nearbyint(seconden * 1000.0);
    constexpr double grens = 9223372036854775808.0;
    if (!std::isfinite(ms) || ms >= grens || ms < -grens)
        geenFloat(s);
    return static_cast<std::int64_t>(ms);
}

QString metDecimalen(double x, int decimalen)
{
    return QString::number(x, 'f', decimalen);
}
