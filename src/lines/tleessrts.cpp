#include "lines/tleessrts.h"

#include "audio/defwaves_tijd.h"
#include "lines/tekst.h"

#include <QStringTokenizer>

#include <algorithm>
#include <limits>
#include <span>

namespace {

// (a + b) / 2 rounded half to even, in whole numbers so that no sum can
// overflow and no large time loses its last digit to a double.
std::int64_t midden(std::int64_t a, std::int64_t b)
{
    // Floor of the half sum without forming the sum.
    std::int64_t m = (a >> 1) + (b >> 1) + (a & b & 1);
    if (((a ^ b) & 1) != 0 && (m & 1) != 0)
        ++m; // a half: go to the even neighbour, which is m + 1
    return m;
}

// Sums and differences of times stop at the ends of the 64-bit range: times
// that far out only come from nonsense input, and must not wrap around.
std::int64_t som(std::int64_t a, std::int64_t b)
{
    std::int64_t r;
    if (__builtin_add_overflow(a, b, &r))
        return b > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
    return r;
}

std::int64_t verschil(std::int64_t a, std::int64_t b)
{
    std::int64_t r;
    if (__builtin_sub_overflow(a, b, &r))
        return b < 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
    return r;
}

// x truncated toward zero, kept inside the 64-bit range.
std::int64_t afkappen(double x)
{
    if (x >= 0x1p63)
        return std::numeric_limits<std::int64_t>::max();
    if (x < -0x1p63)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(x);
}

// tekst := trim(tekst + " " + regel), without copying tekst: tekst is already
// trimmed, so only the end of regel can be trimmed away.
void voegRegelToe(QString &tekst, const QString &regel)
{
    if (tekst.isEmpty()) {
        tekst = trimTekst(regel);
        return;
    }
    qsizetype e = regel.size();
    while (e > 0 && regel.at(e - 1).unicode() <= 0x20)
        --e;
    if (e == 0)
        return;
    tekst.append(u' ');
    tekst.append(QStringView(regel).first(e));
}

void voegTekstRegelsToe(QStringList &regels, const QString &t)
{
    if (!t.contains(u'|')) {
        regels << t;
        return;
    }
    for (const QStringView stuk : QStringTokenizer(t, u'|'))
        regels << stuk.toString();
}

// "hh:nn:ss,zzz --> hh:nn:ss,zzz", or with "." before the ms for WebVTT; one
// allocation per line, since a million cues make a million of them.
QString tijdRegel(const TCue &cue, char16_t msTeken)
{
    QString r(29, Qt::Uninitialized);
    char16_t *c = reinterpret_cast<char16_t *>(r.data());
    schrijfTijd(cue.st, c);
    std::copy_n(u" --> ", 5, c + 12);
    schrijfTijd(cue.et, c + 17);
    c[8] = c[25] = msTeken;
    return r;
}

bool isBlankOp(QStringView s, std::int64_t q)
{
    return q >= 1 && q <= s.size() && s[q - 1] == u' ';
}

// Index i of s, moved past the low half when it falls inside a surrogate
// pair: a pair cut in two loses its character.
qsizetype heelTeken(QStringView s, qsizetype i)
{
    return i > 0 && i < s.size() && s[i - 1].isHighSurrogate() && s[i].isLowSurrogate() ? i + 1 : i;
}

} // namespace

QString maakCueTekstSchoon(const QString &t)
{
    // Each bracketed part gives way to a blank. The text between the cuts
    // never holds a bracket, so one scan from left to right finds the same
    // parts as searching the whole text again after every cut. Trimming after
    // each cut only touches the ends, and the final trim does that too.
    QString zonder;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype a = t.indexOf(u'[', pos);
        if (a < 0)
            break;
        const qsizetype b = t.indexOf(u']', pos);
        if (b < a)
            break; // no "]", or the first "]" stands before the first "["
        zonder.append(QStringView(t).sliced(pos, a - pos));
        zonder.append(u' ');
        pos = b + 1;
    }
    if (pos > 0)
        zonder.append(QStringView(t).sliced(pos));
    const QString &bron = pos > 0 ? zonder : t;

    // Line feeds become blanks and runs of blanks shrink to one: the end of
    // repeating "two blanks by one" until none is left.
    if (!bron.contains(u'\n') && !bron.contains(u"  "))
        return trimTekst(bron);
    QString uit;
    uit.reserve(bron.size());
    for (QChar c : bron) {
        if (c == u'\n')
            c = u' ';
        if (c == u' ' && !uit.isEmpty() && uit.back() == u' ')
            continue;
        uit.append(c);
    }
    return trimTekst(uit);
}

TleesSRTs::TleesSRTs() = default;

size_t TleesSRTs::geldigeCues() const
{
    return aantalCues > 0 ? std::min(static_cast<size_t>(aantalCues), Cues.size()) : 0;
}

void TleesSRTs::maakRecords(std::int32_t n)
{
    aantalCues = n;
    Cues.resize(n > 0 ? static_cast<size_t>(n) : 0);
}

void TleesSRTs::leesBestand()
{
    TLeesSubtitles::leesBestand();
    if (aantalRegels > 0)
        leesCues();
}

void TleesSRTs::schrijfBestand()
{
    TLeesSubtitles::schrijfBestand();
}

void TleesSRTs::leesCues()
{
    maakRecords(aantalRegels);
    const qsizetype regels = std::min<qsizetype>(aantalRegels, deRegels.size());
    std::int32_t n = 0;
    for (qsizetype r = 0; r < regels; ++r) {
        const QString &regel = deRegels.at(r);
        if (!regel.contains(u" --> "))
            continue;
        const QStringView start = trimView(QStringView(regel).first(regel.indexOf(u' ') + 1));
        const QStringView eind = trimView(QStringView(regel).sliced(regel.indexOf(u"> ") + 2));
        // Normalised lines end in an empty line; the bound only guards a list
        // that was filled by hand.
        QString tekst;
        for (qsizetype k = r + 1; k < deRegels.size() && !deRegels.at(k).isEmpty(); ++k)
            voegRegelToe(tekst, deRegels.at(k));
        const std::int64_t st = tijdNaarMs(start);
        const std::int64_t et = tijdNaarMs(eind);
        TCue &cue = Cues[static_cast<size_t>(n)];
        cue.id = n + 1;
        cue.st = st;
        cue.et = et;
        cue.T = std::move(tekst);
        ++n;
    }
    aantalCues = n;
}

std::int32_t TleesSRTs::zoekSpatie(QStringView s, std::int32_t p)
{
    const std::int64_t n = s.size();
    const std::int64_t pp = p;
    // Distances at which both positions lie outside the text find nothing:
    // start where one of them first lies inside.
    for (std::int64_t d = std::max<std::int64_t>({0, pp - n, 1 - pp});; ++d) {
        const std::int64_t rechts = pp + d;
        const std::int64_t links = pp - d;
        if (rechts > n && links < 1)
            return p;
        if (isBlankOp(s, rechts))
            return static_cast<std::int32_t>(rechts);
        if (isBlankOp(s, links))
            return static_cast<std::int32_t>(links);
    }
}

QString TleesSRTs::breekRegel(const QString &s) const
{
    if (!(double(s.size()) > double(maxRGlengte)))
        return s;
    const auto m = static_cast<std::int32_t>(afronden(double(s.size()) / 2.0));
    const std::int32_t q = zoekSpatie(s, m);
    QString r = s;
    if (isBlankOp(s, q))
        r[q - 1] = u'|';
    else
        r.insert(heelTeken(s, std::max(m - 1, 0)), u'|'); // no blank at all: lose no character
    return r;
}

void TleesSRTs::splitsCue(TCue &cue, std::vector<TCue> &uit) const
{
    const auto delen = static_cast<std::int64_t>(double(cue.T.size()) / double(maxSTlengte)) + 1;
    const std::int64_t d = afronden(double(verschil(cue.et, cue.st)) / double(delen));
    const std::int64_t s0 = cue.st;
    // The rest is a view into the text: cutting a part off copies only the part.
    QStringView t = cue.T;
    // Once the rest lies beyond the last blank, a search would walk the whole
    // rest for every part and find nothing: a long text without blanks would
    // take time quadratic in its length.
    const qsizetype laatsteBlank = cue.T.lastIndexOf(u' ');
    for (std::int64_t i = 1; i < delen; ++i) {
        const auto c = static_cast<std::int32_t>(afronden(double(t.size()) / double(delen - i + 1)));
        const bool blankOver = cue.T.size() - t.size() <= laatsteBlank;
        const std::int32_t q = blankOver ? zoekSpatie(t, c) : c;
        TCue deel;
        deel.id = -1;
        deel.st = som(s0, (i - 1) * d);
        deel.et = som(s0, i * d);
        if (isBlankOp(t, q)) {
            deel.T = breekRegel(t.first(q - 1).toString());
            t = t.sliced(q); // the blank at the cut is dropped
        } else {
            // No blank: cut after c characters and keep them all.
            const qsizetype snede = heelTeken(t, std::clamp<qsizetype>(c, 0, t.size()));
            deel.T = breekRegel(t.first(snede).toString());
            t = t.sliced(snede);
        }
        uit.push_back(std::move(deel));
    }
    const QString rest = t.toString();
    cue.st = verschil(cue.et, d);
    cue.T = breekRegel(rest);
    uit.push_back(std::move(cue));
}

void TleesSRTs::maakMooi()
{
    const size_t n = geldigeCues();
    for (size_t i = 0; i < n; ++i)
        Cues[i].T = maakCueTekstSchoon(Cues[i].T);

    // The parts go into a new array in order: inserting them one by one into
    // Cues would move every later cue for each part.
    size_t totaal = Cues.size();
    for (size_t i = 0; i < n; ++i)
        if (double(Cues[i].T.size()) > double(maxSTlengte))
            totaal += static_cast<size_t>(double(Cues[i].T.size()) / double(maxSTlengte));
    std::vector<TCue> uit;
    uit.reserve(totaal);
    for (size_t k = 0; k < n; ++k) {
        TCue &cue = Cues[k];
        if (double(cue.T.size()) <= double(maxSTlengte)) {
            cue.T = breekRegel(cue.T);
            uit.push_back(std::move(cue));
        } else {
            splitsCue(cue, uit);
        }
    }
    const size_t gevormd = uit.size();
    // Elements beyond aantalCues (left by reading a file) stay behind the cues.
    for (size_t k = n; k < Cues.size(); ++k)
        uit.push_back(std::move(Cues[k]));
    Cues = std::move(uit);
    aantalCues = static_cast<std::int32_t>(gevormd);

    for (size_t i = 0; i < gevormd; ++i)
        Cues[i].id = static_cast<std::int32_t>(i + 1);
}

void TleesSRTs::veruimToontijd(std::int64_t tV, std::int64_t tN)
{
    const size_t n = geldigeCues();
    if (n == 0)
        return;
    Cues[0].st = Cues[0].st > tV ? Cues[0].st - tV : 0;
    const std::int64_t samen = som(tV, tN);
    for (size_t i = 1; i < n; ++i) {
        TCue &voor = Cues[i - 1];
        TCue &na = Cues[i];
        const std::int64_t g = verschil(na.st, voor.et);
        if (g > samen) {
            voor.et = som(voor.et, tN);
            na.st = verschil(na.st, tV);
        } else if (samen != 0) {
            // The quotients first, then times g; truncated toward zero.
            voor.et = som(voor.et, afkappen(double(g) * (double(tN) / double(samen))));
            na.st = verschil(na.st, afkappen(double(g) * (double(tV) / double(samen))));
        }
        // With tV + tN = 0 and no gap there is nothing to share: the pair stays.
    }
    Cues[n - 1].et = som(Cues[n - 1].et, tN);
}

void TleesSRTs::herstelOverlap()
{
    const size_t n = geldigeCues();
    for (size_t i = 0; i + 1 < n; ++i) {
        if (Cues[i].et > Cues[i + 1].st) {
            const std::int64_t m = midden(Cues[i].et, Cues[i + 1].st);
            Cues[i].et = m;
            Cues[i + 1].st = m;
        }
    }
}

void TleesSRTs::schrijfSRTResultaat()
{
    herstelOverlap();
    const size_t n = geldigeCues();
    QStringList regels;
    regels.reserve(static_cast<qsizetype>(n * 5));
    for (size_t i = 0; i < n; ++i) {
        regels << QString::number(i + 1) << tijdRegel(Cues[i], u',');
        voegTekstRegelsToe(regels, Cues[i].T);
        regels << QString();
    }
    deRegels = std::move(regels);
}

void TleesSRTs::schrijfVTTResultaat()
{
    herstelOverlap();
    const size_t n = geldigeCues();
    QStringList regels;
    regels.reserve(static_cast<qsizetype>(2 + n * 4));
    regels << QStringLiteral("WEBVTT") << QString();
    for (const TCue &cue : std::span(Cues.data(), n)) {
        regels << tijdRegel(cue, u'.'); // WebVTT wants "." where SRT has ","
        voegTekstRegelsToe(regels, cue.T);
        regels << QString();
    }
    deRegels = std::move(regels);
}
