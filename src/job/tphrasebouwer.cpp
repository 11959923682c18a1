#include "job/tphrasebouwer.h"

#include "job/decimaal.h"
#include "job/ttekstabel.h"
#include "lines/tekst.h"

#include <algorithm>

namespace {

bool isPhraseEinde(QChar c)
{
    return c == u'.' || c == u'!' || c == u'?';
}

constexpr int kolomStart = 1, kolomEind = 2, kolomWoord = 3;
constexpr int smalsteTekstKolom = 50;

} // namespace

TPhraseBouwer::TPhraseBouwer(bool zonderSterwoorden, bool zonderSIL)
    : zonderSterwoorden(zonderSterwoorden), zonderSIL(zonderSIL)
{
}

QStringList TPhraseBouwer::maakCues(const TTekstTabel &woorden) const
{
    QStringList cues;
    const int n = woorden.aantalRijen();
    const auto cel = [&](int r, int k) { return trimView(woorden.celRef(r, k)); };
    // P is kept trimmed, so "P, a blank and W, trimmed" is P, W or both with
    // one blank between: appending keeps the walk linear in the text.
    QString P;
    QString S = cel(0, kolomStart).toString();
    for (int r = 0; r < n; ++r) {
        // Only the word is read on every row; the end time only where a
        // phrase ends. Each cell is a text of its own on the heap, so on a
        // million rows every cell read costs a cache miss.
        QStringView W = cel(r, kolomWoord);
        const bool eindigt = !W.isEmpty() && isPhraseEinde(W.back());
        // A left-out word still ends its phrase (eindigt was noted before).
        if (zonderSterwoorden && W.contains(u'*'))
            W = QStringView();
        if (!W.isEmpty()) {
            if (!P.isEmpty())
                P += u' ';
            P += W;
        }
        // A phrase that would begin with "SIL" starts again at the next row.
        if (P == u"SIL") {
            P.clear();
            S = cel(r + 1, kolomStart).toString();
        }
        if (eindigt) {
            const QStringView E = cel(r, kolomEind);
            QString regel;
            regel.reserve(S.size() + E.size() + P.size() + 2);
            regel.append(S).append(u'|').append(E).append(u'|').append(P);
            cues.append(std::move(regel));
            P.clear();
            if (r != n - 1)
                S = cel(r + 1, kolomStart).toString();
        }
    }
    // Words after the last phrase end make no phrase.
    return cues;
}

std::vector<QString> TPhraseBouwer::maakCellen(const QStringList &cues) const
{
    std::vector<QString> cellen;
    cellen.reserve(static_cast<size_t>(cues.size()) * 5);
    for (qsizetype i = 0; i < cues.size(); ++i) {
        // A hand-edited start cell may hold "|"; the line is split as it stands.
        const QStringView regel = cues[i];
        const qsizetype p1 = regel.indexOf(u'|');
        const QStringView start = p1 < 0 ? regel : regel.first(p1);
        const QStringView rest = p1 < 0 ? QStringView() : regel.sliced(p1 + 1);
        const qsizetype p2 = rest.indexOf(u'|');
        const QStringView eind = p2 < 0 ? rest : rest.first(p2);
        const QStringView T = p2 < 0 ? QStringView() : rest.sliced(p2 + 1);

        cellen.push_back(decimaal(i + 1));
        cellen.push_back(start.toString().replace(u'.', u','));
        cellen.push_back(eind.toString().replace(u'.', u','));
        // "#Chars" counts the text before the clean-up below.
        cellen.push_back(decimaal(T.size()));
        cellen.push_back(zonderSIL ? enkeleBlanks(zonderSILTokens(T)) : enkeleBlanks(T));
    }
    return cellen;
}

QString TPhraseBouwer::zonderSILTokens(QStringView t)
{
    QString uit;
    uit.reserve(t.size());
    const qsizetype n = t.size();
    for (qsizetype i = 0; i < n;) {
        // Both sides are judged on the text as it came in, so in "SIL SIL"
        // both tokens go.
        if (t.sliced(i).startsWith(u"SIL") && (i == 0 || t[i - 1] == u' ')
            && (i + 3 == n || t[i + 3] == u' ')) {
            uit += u' ';
            i += 3;
        } else {
            uit += t[i];
            ++i;
        }
    }
    return uit;
}

QString TPhraseBouwer::enkeleBlanks(QStringView t)
{
    QString uit;
    uit.reserve(t.size());
    for (qsizetype i = 0; i < t.size(); ++i)
        if (t[i] != u' ' || uit.isEmpty() || uit.back() != u' ')
            uit += t[i];
    return uit;
}

int TPhraseBouwer::tekstBreedte(const TTekstTabel &phrases)
{
    double breedte = phrases.tabelBreedte() - 10.0;
    for (int k = 0; k < phrases.aantalKolommen() - 1; ++k)
        breedte -= phrases.kolomBreedte(k);
    return breedte < smalsteTekstKolom ? smalsteTekstKolom : static_cast<int>(breedte);
}
