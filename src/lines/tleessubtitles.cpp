#include "lines/tleessubtitles.h"

#include "lines/tekst.h"

#include <limits>

namespace {

const QString legeCue = QStringLiteral("[empty cue]");

// The replacements run one after the other, each over the whole line.
QString poetsRegel(QString r)
{
    // Most lines need none of them: look before copying anything.
    const bool kandidaat = r.contains(u"<br>") || r.contains(u" ,") || r.contains(u" .") ||
                           r.contains(u" ?") || r.contains(u" !") || r.contains(u"  ");
    if (kandidaat) {
        r.replace(QStringLiteral("<br>"), QStringLiteral(" "));
        r.replace(QStringLiteral(" ,"), QStringLiteral(", "));
        r.replace(QStringLiteral(" ."), QStringLiteral(". "));
        r.replace(QStringLiteral(" ?"), QStringLiteral("? "));
        r.replace(QStringLiteral(" !"), QStringLiteral("! "));
        // Exactly two passes: five blanks become two, not one.
        r.replace(QStringLiteral("  "), QStringLiteral(" "));
        r.replace(QStringLiteral("  "), QStringLiteral(" "));
    }
    return trimTekst(r);
}

} // namespace

TLeesSubtitles::TLeesSubtitles() = default;

void TLeesSubtitles::leesBestand()
{
    TLeesFile::leesBestand();
    if (aantalRegels > 0)
        deRegels = normaliseerSubtitelRegels(deRegels, aantalRegels);
    aantalRegels = static_cast<std::int32_t>(
        std::min<qsizetype>(deRegels.size(), std::numeric_limits<std::int32_t>::max()));
}

void TLeesSubtitles::schrijfBestand()
{
    TLeesFile::schrijfBestand();
}

QStringList normaliseerSubtitelRegels(const QStringList &regels, qsizetype n)
{
    QStringList bron = regels;
    bron.append(QString());

    // Empty cues. The walk visits the positions 0 to n - 1 of the growing list:
    // each marked cue inserts a line, so the last lines of the file can fall
    // beyond the walk. A new list is built rather than inserting in the middle;
    // after a hit the two lines that follow ("[empty cue]" and the new empty
    // line) can never be a hit, so the walk jumps past them.
    QStringList gemarkeerd;
    gemarkeerd.reserve(bron.size() + bron.size() / 4);
    qsizetype j = 0; // next line of bron
    for (qsizetype pos = 0; pos < n && j < bron.size();) {
        const QString &regel = bron.at(j);
        if (regel.contains(u"--> ") && j + 1 < bron.size() && bron.at(j + 1).isEmpty()) {
            gemarkeerd << regel << legeCue << QString();
            j += 2;
            pos += 3;
        } else {
            gemarkeerd << regel;
            ++j;
            ++pos;
        }
    }
    for (; j < bron.size(); ++j)
        gemarkeerd << bron.at(j);
    bron = QStringList();

    // Every run of empty lines shrinks to one; the list keeps its last empty
    // line. Emptiness is judged before the clean-up: a line that the clean-up
    // empties ("<br>") stays.
    QStringList uit;
    uit.reserve(gemarkeerd.size());
    bool vorigeLeeg = false;
    for (QString &regel : gemarkeerd) {
        const bool leeg = regel.isEmpty();
        if (leeg && vorigeLeeg)
            continue;
        vorigeLeeg = leeg;
        uit << poetsRegel(std::move(regel));
    }
    return uit;
}
