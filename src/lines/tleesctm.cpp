#include "lines/tleesctm.h"

#include "lines/efout.h"
#include "lines/tekst.h"
#include "lines/tweetegelijk.h"

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
    maakRecords(aantalRegels);

    // Lines are independent, so a long file is parsed in two halves at once.
    // The first failing line in file order decides the error, as a read line
    // by line would.
    const std::int32_t n = aantalRegels;
    const unsigned delen = n >= 200000 ? 2 : 1;
    std::vector<std::int32_t> foutRegel(delen, n);
    std::vector<QString> foutBericht(delen);
    auto parseer = [&](unsigned deel) {
        const std::int32_t van = static_cast<std::int32_t>(std::int64_t(n) * deel / delen);
        const std::int32_t tot = static_cast<std::int32_t>(std::int64_t(n) * (deel + 1) / delen);
        std::int32_t i = van;
        try {
            leesWoorden(van, tot, i);
        } catch (const EFout &e) {
            foutRegel[deel] = i;
            foutBericht[deel] = e.bericht();
        }
    };
    // Anything else (memory running out) reaches the command from either
    // thread: an exception that left the second thread would end the program.
    if (delen == 1)
        parseer(0);
    else
        tweeTegelijk([&] { parseer(0); }, [&] { parseer(1); });
    for (unsigned d = 0; d < delen; ++d)
        if (foutRegel[d] < n)
            throw EFout(foutBericht[d]);

    if (aantalWoorden > 0 && Woorden.back().T == u"SIL")
        maakRecords(aantalWoorden - 1);
}

void TleesCTM::leesWoorden(std::int32_t van, std::int32_t tot, std::int32_t &i)
{
    static const QString geenSpreker = QStringLiteral("X"); // shared, not copied per word
    const QChar s = sep;
    QString vorigeSpreker = geenSpreker;
    for (i = van; i < tot; ++i) {
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
            // Speakers repeat from line to line: share the text of the last one.
            const QStringView spk = restNa(l, p);
            if (spk == vorigeSpreker)
                w.spk = vorigeSpreker;
            else
                w.spk = vorigeSpreker = spk.toString();
        } else {
            w.co = static_cast<float>(strNaarFloat(l));
            w.spk = geenSpreker;
        }
    }
}
