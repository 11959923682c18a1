#include "lines/tleessubtitles.h"

#include "lines/tekst.h"

#include <limits>

namespace {

// True when one of the clean-up's patterns occurs in r: "<br>" or a blank
// before ",", ".", "?", "!" or another blank. Most lines hold none.
bool heeftPoetswerk(const QString &r)
{
    const QStringView c = r;
    for (qsizetype i = 0; i + 1 < c.size(); ++i) {
        if (c[i] == u' ') {
            const QChar v = c[i + 1];
            if (v == u',' || v == u'.' || v == u'?' || v == u'!' || v == u' ')
                return true;
        } else if (c[i] == u'<' && c.sliced(i).startsWith(u"<br>")) {
            return true;
        }
    }
    return false;
}

// The replacements run one after the other, each over the whole line.
QString poetsRegel(QString r)
{
    if (heeftPoetswerk(r)) {
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
        deRegels = normaliseerSubtitelRegels(std::move(deRegels), aantalRegels);
    aantalRegels = static_cast<std::int32_t>(
        std::min<qsizetype>(deRegels.size(), std::numeric_limits<std::int32_t>::max()));
}

void TLeesSubtitles::schrijfBestand()
{
    TLeesFile::schrijfBestand();
}

QStringList normaliseerSubtitelRegels(QStringList regels, qsizetype n)
{
    // One pass builds the new list; nothing is inserted into or deleted from
    // the middle of a list. The steps, in the order they act on a line:
    //
    // Empty cues. The walk visits the positions 0 to n - 1 of the growing list
    // (with one empty line appended): each marked cue inserts a line, so the last
    // lines of the file can fall beyond the walk. After a hit the two lines
    // that follow ("[empty cue]" and the new empty line) can never be a hit,
    // so the walk jumps past them.
    //
    // Empty runs. Every run of empty lines shrinks to one; the list keeps its
    // last empty line. Emptiness is judged before the clean-up: a line that
    // the clean-up empties ("<br>") stays.
    //
    // Clean-up. The replacements and the trim of poetsRegel.
    static const QString legeCue = QStringLiteral("[empty cue]");
    QStringList uit;
    uit.reserve(regels.size() + 1);
    bool vorigeLeeg = false;
    auto voegToe = [&](QString regel) {
        const bool leeg = regel.isEmpty();
        if (leeg && vorigeLeeg)
            return;
        vorigeLeeg = leeg;
        uit << poetsRegel(std::move(regel));
    };

    regels.append(QString());
    qsizetype j = 0; // the next line of the file
    for (qsizetype pos = 0; pos < n && j < regels.size();) {
        if (regels[j].contains(u"--> ") && j + 1 < regels.size() && regels[j + 1].isEmpty()) {
            voegToe(std::move(regels[j]));
            voegToe(legeCue);
            voegToe(QString());
            j += 2;
            pos += 3;
        } else {
            voegToe(std::move(regels[j]));
            ++j;
            ++pos;
        }
    }
    for (; j < regels.size(); ++j)
        voegToe(std::move(regels[j]));
    return uit;
}
