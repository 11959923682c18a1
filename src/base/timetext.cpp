#include "base/timetext.h"

#include "base/numbers.h"

#include <algorithm>

namespace {

constexpr std::int64_t msPerDay = 86400000;

// Position p (from 1) and up to n characters after it; shorter or empty when
// the text ends first.
QStringView part(QStringView s, qsizetype p, qsizetype n)
{
    if (p > s.size())
        return {};
    return s.sliced(p - 1, std::min(n, s.size() - p + 1));
}

} // namespace

QString clockText(std::int64_t ms)
{
    ms = std::max<std::int64_t>(ms, 0);
    return QStringLiteral("%1:%2:%3.%4")
        .arg(ms / 3600000)
        .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

std::int64_t msOfFrames(std::int64_t frames, std::uint32_t rate)
{
    return rate == 0 ? 0 : (frames * 1000 + rate / 2) / rate;
}

void writeTimeText(std::int64_t ms, char16_t *c)
{
    // The remainder first: the absolute value of the most negative ms does
    // not exist, that of its remainder does.
    std::int64_t r = ms % msPerDay;
    if (r < 0)
        r = -r;
    const int fields[4] = {int(r / 3600000), int(r / 60000 % 60), int(r / 1000 % 60),
                           int(r % 1000)};
    auto two = [](char16_t *p, int v) {
        p[0] = char16_t(u'0' + v / 10);
        p[1] = char16_t(u'0' + v % 10);
    };
    two(c, fields[0]);
    c[2] = u':';
    two(c + 3, fields[1]);
    c[5] = u':';
    two(c + 6, fields[2]);
    c[8] = u',';
    c[9] = char16_t(u'0' + fields[3] / 100);
    c[10] = char16_t(u'0' + fields[3] / 10 % 10);
    c[11] = char16_t(u'0' + fields[3] % 10);
}

QString timeText(std::int64_t ms)
{
    QString s(12, Qt::Uninitialized);
    writeTimeText(ms, reinterpret_cast<char16_t *>(s.data()));
    return s;
}

std::int64_t parseTimeText(QStringView s)
{
    const std::int64_t hours = parseInt(part(s, 1, 2));
    const std::int64_t minutes = parseInt(part(s, 4, 2));
    const std::int64_t seconds = parseInt(part(s, 7, 2));
    // Up to three digits, padded on the right: ",5" means 500 ms.
    char16_t milli[3] = {u'0', u'0', u'0'};
    const QStringView given = part(s, 10, 3);
    std::copy(given.utf16(), given.utf16() + given.size(), milli);
    const std::int64_t ms = parseInt(QStringView(milli, 3));
    return (hours * 3600 + minutes * 60 + seconds) * 1000 + ms;
}

void appendSecondsText(QString &line, std::int64_t ms)
{
    // 19 digits, the point and the sign at the most.
    char16_t digits[24];
    char16_t *const end = digits + 24;
    char16_t *p = end;
    // The magnitude in unsigned arithmetic: that of the most negative ms
    // does not fit its own type.
    std::uint64_t rest = ms < 0 ? 0 - static_cast<std::uint64_t>(ms) : static_cast<std::uint64_t>(ms);
    for (int i = 0; i < 3; ++i) {
        *--p = char16_t(u'0' + rest % 10);
        rest /= 10;
    }
    *--p = u'.';
    do {
        *--p = char16_t(u'0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (ms < 0)
        *--p = u'-';
    line.append(reinterpret_cast<const QChar *>(p), end - p);
}
