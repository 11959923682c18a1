#include "lines/tleesctm.h"

#include "lines/tekst.h"

namespace {

// The rest after a separator at index i (0-based), trimmed; the whole text
// when there is no separator.
QStringView restNa(QStringView l, qsizetype i)
{
    return i < 0 ? l : trimView(l.sliced(i + 1));
}

QStringView tekstVoor(QStringView l, qsizetype i)
{
    return i < 0 ? QStringView() : l.first(i);
}

} // namespace

TleesCTM::TleesCTM()
{
    sep = u'\t';
    sep = u' ';
}

void TleesCTM::maakRecords(std::int32_t n)
{
    aantalWoorden = n;
    Woorden.resize(n > 0 ? static_cast<size_t>(n) : 0);
}

void TleesCTM::leesBestand()
{
    TLeesFile::leesBestand();
    if (aantalRegels > 0)
        leesWoorden();
}

void TleesCTM::schrijfBestand()
{
    TLeesFile::schrijfBestand();
}

void TleesCTM::leesWoorden()
{
    static const QString geenSpreker = QStringLiteral("X"); // shared, not copied per word
    maakRecords(aantalRegels);
    const QChar s = sep;
    for (std::int32_t i = 0; i < aantalRegels; ++i) {
        QStringView l = deRegels.at(i);
        TWoord &w = Woorden[static_cast<size_t>(i)];

        // The file name and channel fields are skipped. A line with fewer than
        // two separators is kept whole.
        const qsizetype p1 = l.indexOf(s);
        const qsizetype p2 = p1 < 0 ? -1 : l.indexOf(s, p1 + 1);
        if (p2 >= 0)
            l = trimView(l.sliced(p2));

        w.id = i + 1;
        qsizetype p = l.indexOf(s);
        w.st = secondenNaarMs(tekstVoor(l, p));
        l = restNa(l, p);

        p = l.indexOf(s);
        w.et = secondenNaarMs(tekstVoor(l, p));
        l = restNa(l, p);

        p = l.indexOf(s);
        w.T = tekstVoor(l, p).toString();
        l = restNa(l, p);

        p = l.indexOf(s);
        if (p >= 0) {
            w.co = static_cast<float>(strNaarFloat(l.first(p)));
            w.spk = restNa(l, p).toString();
        } else {
            w.co = static_cast<float>(strNaarFloat(l));
            w.spk = geenSpreker;
        }
    }
    if (aantalWoorden > 0 && Woorden.back().T == u"SIL")
        maakRecords(aantalWoorden - 1);
}
