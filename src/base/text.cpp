#include "base/text.h"

namespace {

bool isBlank(QChar c) { return c.unicode() <= 0x20; }

} // namespace

QStringView trimmedView(QStringView s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.sliced(b, e - b);
}

QString trimmed(const QString &s)
{
    if (s.isEmpty() || (!isBlank(s.front()) && !isBlank(s.back())))
        return s; // the common case shares the text instead of copying it
    return trimmedView(s).toString();
}
