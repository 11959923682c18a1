#include "job/twordbouwer.h"

#include "audio/defwaves_tijd.h"
#include "lines/tekst.h"

#include <QHash>

#include <algorithm>
#include <utility>

namespace {

// Drops the empty lines in one sweep (removing them one by one from the
// middle of the list would move the tail once per line).
void verwijderLege(QStringList &L)
{
    L.removeIf([](const QString &regel) { return regel.isEmpty(); });
}

// End markers go; of two speaker lines in a row only the lower one stays; a
// speaker line repeated before another speaker spoke goes, so the turns merge.
//
// Each walk stops at the first speaker line that differs from its own and
// empties the equal ones before it, so the next walk starts at or after that
// stop: together the walks pass every line at most twice.
void eindEnSprekers(QStringList &L)
{
    const qsizetype n = L.size();
    for (qsizetype p = 0; p < n; ++p) {
        if (TWordBouwer::isEindTijd(L[p])) {
            L[p].clear();
        } else if (TWordBouwer::isSpreker(L[p])) {
            if (p + 1 < n && TWordBouwer::isSpreker(L[p + 1])) {
                L[p].clear();
                continue;
            }
            for (qsizetype i = p + 1; i < n; ++i) {
                if (!TWordBouwer::isSpreker(L[i]))
                    continue;
                if (L[i] != L[p])
                    break;
                L[i].clear();
            }
        }
    }
}

// One start time per stretch: the start-time lines after one, up to the next
// other bracket line, go. A walk empties every start-time line it passes and
// stops at a bracket line that is not one, so no later walk begins before that
// stop: the walks are linear together.
void eenStartTijd(QStringList &L)
{
    const qsizetype n = L.size();
    for (qsizetype p = 0; p < n; ++p) {
        if (!TWordBouwer::isStartTijd(L[p]))
            continue;
        for (qsizetype i = p + 1; i < n; ++i) {
            if (TWordBouwer::isStartTijd(L[i]))
                L[i].clear();
            if (TWordBouwer::isHaakRegel(L[i]))
                break;
        }
    }
}

// A start-time line moves down until it stands above a speaker line or is last.
void startTijdBovenSpreker(QStringList &L)
{
    for (qsizetype p = 0; p + 1 < L.size(); ++p)
        if (TWordBouwer::isStartTijd(L[p]) && !TWordBouwer::isSpreker(L[p + 1]))
            L.swapItemsAt(p, p + 1);
}

// A returning speaker loses the start time above it, once in the whole text:
// the first p (a speaker line) in order for which some later i holds the same
// line with a start-time line above it, and for that p the first such i.
//
// Walking every speaker line to the end is quadratic when no speaker returns.
// Instead the lines are visited from the end, keeping per speaker line the
// smallest later position that qualifies as i; the last hit is the smallest p.
void terugkerendeSpreker(QStringList &L)
{
    const qsizetype n = L.size();
    QHash<QString, qsizetype> eersteTerug;
    qsizetype gevonden = -1;
    for (qsizetype p = n - 1; p >= 0; --p) {
        if (!TWordBouwer::isSpreker(L[p]))
            continue;
        const auto treffer = eersteTerug.constFind(L[p]);
        if (treffer != eersteTerug.cend())
            gevonden = treffer.value();
        if (p > 0 && TWordBouwer::isStartTijd(L[p - 1]))
            eersteTerug.insert(L[p], p);
    }
    if (gevonden > 0)
        L[gevonden - 1].clear();
}

// Runs of plain lines (not beginning with "[") become one line joined with
// single blanks. Joining from the back, pair by pair, would copy the growing
// tail for every line of the run.
void alineas(QStringList &L)
{
    QStringList uit;
    uit.reserve(L.size());
    bool vorigeGewoon = false;
    for (QString &regel : L) {
        const bool gewoon = !TWordBouwer::isHaakRegel(regel);
        if (gewoon && vorigeGewoon) {
            uit.back() += u' ';
            uit.back() += regel;
        } else {
            uit.append(std::move(regel));
        }
        vorigeGewoon = gewoon;
    }
    L = std::move(uit);
}

// The text from 1-based position van to the end; empty when the text is shorter.
QStringView vanaf(const QString &s, qsizetype van)
{
    return s.size() >= van ? QStringView(s).sliced(van - 1) : QStringView();
}

// Trimmed, less its last n characters, trimmed again.
QStringView zonderLaatste(QStringView s, qsizetype n)
{
    s = trimView(s);
    s.chop(std::min(n, s.size()));
    return trimView(s);
}

} // namespace

QStringList TWordBouwer::schoonOp(QStringList regels)
{
    QStringList &L = regels;
    eindEnSprekers(L);
    eenStartTijd(L);
    verwijderLege(L);
    startTijdBovenSpreker(L);
    terugkerendeSpreker(L);
    verwijderLege(L);
    alineas(L);
    return regels;
}

void TWordBouwer::schrijfTranscript(const QStringList &schoon, const QString &naam,
                                    QStringList &uit)
{
    uit << QStringLiteral("Interview ") + naam << QString() << QStringLiteral("Metadata")
        << QStringLiteral("[Please add here relevant Metadata]") << QString()
        << QStringLiteral("Transcript") << QString();

    // A speaker label names only the next text line; a time line drops it.
    QString label;
    for (const QString &regel : schoon) {
        if (isStartTijd(regel)) {
            const std::int32_t ms = strNaarInt(zonderLaatste(vanaf(regel, 12), 3));
            uit.append(u'\t' + msNaarTijd(ms).left(8));
            label.clear();
        } else if (isSpreker(regel)) {
            label = zonderLaatste(vanaf(regel, 17), 1).toString();
        } else {
            uit.append(label + u'\t' + regel);
            label.clear();
        }
    }
}
