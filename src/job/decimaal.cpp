#include "job/decimaal.h"

QString decimaal(std::int64_t getal)
{
    char16_t buffer[20];
    char16_t *eind = buffer + 20;
    char16_t *p = eind;
    // Work on the magnitude as unsigned, so the smallest int64 has one too.
    std::uint64_t rest = getal < 0 ? 0 - static_cast<std::uint64_t>(getal) : static_cast<std::uint64_t>(getal);
    do {
        *--p = static_cast<char16_t>(u'0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (getal < 0)
        *--p = u'-';
    return QString(reinterpret_cast<const QChar *>(p), eind - p);
}
