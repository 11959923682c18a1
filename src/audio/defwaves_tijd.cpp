#include "audio/defwaves_tijd.h"

#include "lines/tekst.h"

#include <algorithm>

namespace {

constexpr std::int64_t msPerDag = 86400000;

// Position p (from 1) and up to n characters after it; shorter or empty when
// the text ends first.
QStringView deel(QStringView s, qsizetype p, qsizetype n)
{
    if (p > s.size())
        return {};
    return s.sliced(p - 1, std::min(n, s.size() - p + 1));
}

} // namespace

void schrijfTijd(std::int64_t ms, char16_t *c)
{
    // The remainder first: the absolute value of the most negative ms does
    // not exist, that of its remainder does.
    std::int64_t r = ms % msPerDag;
    if (r < 0)
        r = -r;
    const int velden[4] = {int(r / 3600000), int(r / 60000 % 60), int(r / 1000 % 60),
                           int(r % 1000)};
    auto twee = [](char16_t *p, int v) {
        p[0] = char16_t(u'0' + v / 10);
        p[1] = char16_t(u'0' + v % 10);
    };
    twee(c, velden[0]);
    c[2] = u':';
    twee(c + 3, velden[1]);
    c[5] = u':';
    twee(c + 6, velden[2]);
    c[8] = u',';
    c[9] = char16_t(u'0' + velden[3] / 100);
    c[10] = char16_t(u'0' + velden[3] / 10 % 10);
    c[11] = char16_t(u'0' + velden[3] % 10);
}

QString msNaarTijd(std::int64_t ms)
{
    QString s(12, Qt::Uninitialized);
    schrijfTijd(ms, reinterpret_cast<char16_t *>(s.data()));
    return s;
}

std::int64_t tijdNaarMs(QStringView s)
{
    const std::int64_t uren = strNaarInt(deel(s, 1, 2));
    const std::int64_t minuten = strNaarInt(deel(s, 4, 2));
    const std::int64_t seconden = strNaarInt(deel(s, 7, 2));
    // Up to three digits, padded on the right: ",5" means 500 ms.
    char16_t milli[3] = {u'0', u'0', u'0'};
    const QStringView gegeven = deel(s, 10, 3);
    std::copy(gegeven.utf16(), gegeven.utf16() + gegeven.size(), milli);
    const std::int64_t ms = strNaarInt(QStringView(milli, 3));
    return (uren * 3600 + minuten * 60 + seconden) * 1000 + ms;
}
