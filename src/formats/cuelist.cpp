#include "formats/cuelist.h"

#include "base/numbers.h"
#include "base/text.h"
#include "base/timetext.h"

#include <QStringTokenizer>

#include <algorithm>
#include <limits>

namespace {

// (a + b) / 2 rounded half to even, in whole numbers so that no sum can
// overflow and no large time loses its last digit to a double.
std::int64_t middle(std::int64_t a, std::int64_t b)
{
    // Floor of the half sum without forming the sum.
    std::int64_t m = (a >> 1) + (b >> 1) + (a & b & 1);
    if (((a ^ b) & 1) != 0 && (m & 1) != 0)
        ++m; // a half: go to the even neighbour, which is m + 1
    return m;
}

// Sums and differences of times stop at the ends of the 64-bit range: times
// that far out only come from nonsense input, and must not wrap around.
std::int64_t sum(std::int64_t a, std::int64_t b)
{
    std::int64_t r;
    if (__builtin_add_overflow(a, b, &r))
        return b > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
    return r;
}

std::int64_t difference(std::int64_t a, std::int64_t b)
{
    std::int64_t r;
    if (__builtin_sub_overflow(a, b, &r))
        return b < 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
    return r;
}

// x truncated toward zero, kept inside the 64-bit range.
std::int64_t truncated(double x)
{
    if (x >= 0x1p63)
        return std::numeric_limits<std::int64_t>::max();
    if (x < -0x1p63)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(x);
}

void appendTextLines(QStringList &lines, const QString &t)
{
    if (!t.contains(u'|')) {
        lines << t;
        return;
    }
    for (const QStringView piece : QStringTokenizer(t, u'|'))
        lines << piece.toString();
}

// "hh:nn:ss,zzz --> hh:nn:ss,zzz", or with "." before the ms for WebVTT; one
// allocation per line, since a million cues make a million of them.
// A time of a day or more with all its hours ("123:00:01,000"): a subtitle
// file read with such times is written back with them, not a day earlier.
QString longTimeText(std::int64_t ms, char16_t msSign)
{
    QString hours = QString::number(ms / 3600000);
    if (hours.size() < 2)
        hours.prepend(u'0');
    QString rest = timeText(ms % 3600000).sliced(2); // ":mm:ss,zzz"
    rest[6] = msSign;
    return hours + rest;
}

QString timeLine(const Cue &cue, char16_t msSign)
{
    constexpr std::int64_t msPerDay = 86400000;
    if (cue.start >= msPerDay || cue.end >= msPerDay)
        return longTimeText(cue.start, msSign) + QStringLiteral(" --> ") + longTimeText(cue.end, msSign);
    QString r(29, Qt::Uninitialized);
    char16_t *c = reinterpret_cast<char16_t *>(r.data());
    writeTimeText(cue.start, c);
    std::copy_n(u" --> ", 5, c + 12);
    writeTimeText(cue.end, c + 17);
    c[8] = c[25] = msSign;
    return r;
}

bool isBlankAt(QStringView s, std::int64_t q)
{
    return q >= 1 && q <= s.size() && s[q - 1] == u' ';
}

// Index i of s, moved past the low half when it falls inside a surrogate
// pair: a pair cut in two loses its character.
qsizetype wholeCharacter(QStringView s, qsizetype i)
{
    return i > 0 && i < s.size() && s[i - 1].isHighSurrogate() && s[i].isLowSurrogate() ? i + 1 : i;
}

// The length of the tag at i of s: "<i>", "</b>", "<font color=...>" (a "<"
// with a letter or "/" after it, up to the next ">") or an override such as
// "{\an8}" (a "{\" up to the next "}"); 0 when no tag starts there.
qsizetype tagLengthAt(QStringView s, qsizetype i)
{
    if (i + 1 >= s.size())
        return 0;
    QChar close;
    if (s[i] == u'<' && (s[i + 1] == u'/' || s[i + 1].isLetter()))
        close = u'>';
    else if (s[i] == u'{' && s[i + 1] == u'\\')
        close = u'}';
    else
        return 0;
    const qsizetype e = s.indexOf(close, i + 1);
    return e < 0 ? 0 : e - i + 1;
}

bool mayHoldTags(QStringView s)
{
    return s.contains(u'<') || s.contains(u'{');
}

// The characters of a text that are shown: the text without its tags, and
// for each of them its index in the text.
struct Shown
{
    QString text;
    std::vector<qsizetype> at;

    explicit Shown(QStringView s)
    {
        text.reserve(s.size());
        at.reserve(static_cast<size_t>(s.size()));
        for (qsizetype i = 0; i < s.size();) {
            if (const qsizetype tag = tagLengthAt(s, i)) {
                i += tag;
                continue;
            }
            text.append(s[i]);
            at.push_back(i);
            ++i;
        }
    }

    // The index in the text before the shown character k; the text's end
    // for k at the end. Tags before that character stay before the index.
    qsizetype indexBefore(qsizetype k, qsizetype textSize) const
    {
        return k < text.size() ? at[static_cast<size_t>(k)] : textSize;
    }
};

} // namespace

qsizetype shownLength(QStringView text)
{
    if (!mayHoldTags(text))
        return text.size();
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype tag = tagLengthAt(text, i);
        i += tag ? tag : 1;
        n += tag ? 0 : 1;
    }
    return n;
}

QString cleanCueText(const QString &t)
{
    // Each bracketed part gives way to a blank. The text between the cuts
    // never holds a bracket, so one scan from left to right finds the same
    // parts as searching the whole text again after every cut. Trimming after
    // each cut only touches the ends, and the final trim does that too.
    QString without;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype a = t.indexOf(u'[', pos);
        if (a < 0)
            break;
        const qsizetype b = t.indexOf(u']', pos);
        if (b < a)
            break; // no "]", or the first "]" stands before the first "["
        without.append(QStringView(t).sliced(pos, a - pos));
        without.append(u' ');
        pos = b + 1;
    }
    if (pos > 0)
        without.append(QStringView(t).sliced(pos));
    const QString &source = pos > 0 ? without : t;

    // Line feeds become blanks and runs of blanks shrink to one: the end of
    // repeating "two blanks by one" until none is left.
    if (!source.contains(u'\n') && !source.contains(u"  "))
        return trimmed(source);
    QString out;
    out.reserve(source.size());
    for (QChar c : source) {
        if (c == u'\n')
            c = u' ';
        if (c == u' ' && !out.isEmpty() && out.back() == u' ')
            continue;
        out.append(c);
    }
    return trimmed(out);
}

std::int32_t CueList::findBlank(QStringView s, std::int32_t p)
{
    const std::int64_t n = s.size();
    const std::int64_t pp = p;
    // Distances at which both positions lie outside the text find nothing:
    // start where one of them first lies inside.
    for (std::int64_t d = std::max<std::int64_t>({0, pp - n, 1 - pp});; ++d) {
        const std::int64_t right = pp + d;
        const std::int64_t left = pp - d;
        if (right > n && left < 1)
            return p;
        if (isBlankAt(s, right))
            return static_cast<std::int32_t>(right);
        if (isBlankAt(s, left))
            return static_cast<std::int32_t>(left);
    }
}

QString CueList::breakLine(const QString &s) const
{
    if (mayHoldTags(s)) {
        // The break goes where it would go in the shown text, never inside a tag.
        const Shown shown(s);
        if (!(double(shown.text.size()) > double(maxLineLength)))
            return s;
        const auto m = static_cast<std::int32_t>(roundHalfEven(double(shown.text.size()) / 2.0));
        const std::int32_t q = findBlank(shown.text, m);
        QString r = s;
        if (isBlankAt(shown.text, q))
            r[shown.at[static_cast<size_t>(q - 1)]] = u'|';
        else
            r.insert(shown.indexBefore(wholeCharacter(shown.text, std::max(m - 1, 0)), s.size()), u'|');
        return r;
    }
    if (!(double(s.size()) > double(maxLineLength)))
        return s;
    const auto m = static_cast<std::int32_t>(roundHalfEven(double(s.size()) / 2.0));
    const std::int32_t q = findBlank(s, m);
    QString r = s;
    if (isBlankAt(s, q))
        r[q - 1] = u'|';
    else
        r.insert(wholeCharacter(s, std::max(m - 1, 0)), u'|'); // no blank at all: lose no character
    return r;
}

void CueList::splitTaggedCue(Cue &cue, std::vector<Cue> &out) const
{
    // As splitCue, the cuts chosen in the shown text and made in the text
    // before the shown character they fall on, so no tag is cut.
    const Shown shown(cue.text);
    const QString &plain = shown.text;
    const QString &s = cue.text;
    const auto parts = static_cast<std::int64_t>(double(plain.size()) / double(maxCueLength)) + 1;
    const std::int64_t d = roundHalfEven(double(difference(cue.end, cue.start)) / double(parts));
    const std::int64_t s0 = cue.start;
    qsizetype shownFrom = 0; // the rest starts at this shown character ...
    qsizetype from = 0;      // ... and at this index of the text
    for (std::int64_t i = 1; i < parts; ++i) {
        const QStringView t = QStringView(plain).sliced(shownFrom);
        const auto c = static_cast<std::int32_t>(roundHalfEven(double(t.size()) / double(parts - i + 1)));
        const std::int32_t q = findBlank(t, c);
        Cue part;
        part.number = -1;
        part.start = sum(s0, (i - 1) * d);
        part.end = sum(s0, i * d);
        if (isBlankAt(t, q)) {
            const qsizetype blank = shown.at[static_cast<size_t>(shownFrom + q - 1)];
            part.text = breakLine(s.mid(from, blank - from));
            from = blank + 1; // the blank at the cut is dropped
            shownFrom += q;
        } else {
            const qsizetype cut = wholeCharacter(t, std::clamp<qsizetype>(c, 0, t.size()));
            const qsizetype to = shown.indexBefore(shownFrom + cut, s.size());
            part.text = breakLine(s.mid(from, to - from));
            from = to;
            shownFrom += cut;
        }
        out.push_back(std::move(part));
    }
    const QString rest = s.mid(from);
    cue.start = difference(cue.end, d);
    cue.text = breakLine(rest);
    out.push_back(std::move(cue));
}

void CueList::splitCue(Cue &cue, std::vector<Cue> &out) const
{
    if (mayHoldTags(cue.text)) {
        splitTaggedCue(cue, out);
        return;
    }
    const auto parts = static_cast<std::int64_t>(double(cue.text.size()) / double(maxCueLength)) + 1;
    const std::int64_t d = roundHalfEven(double(difference(cue.end, cue.start)) / double(parts));
    const std::int64_t s0 = cue.start;
    // The rest is a view into the text: cutting a part off copies only the part.
    QStringView t = cue.text;
    // Once the rest lies beyond the last blank, a search would walk the whole
    // rest for every part and find nothing: a long text without blanks would
    // take time quadratic in its length.
    const qsizetype lastBlank = cue.text.lastIndexOf(u' ');
    for (std::int64_t i = 1; i < parts; ++i) {
        const auto c = static_cast<std::int32_t>(roundHalfEven(double(t.size()) / double(parts - i + 1)));
        const bool blankLeft = cue.text.size() - t.size() <= lastBlank;
        const std::int32_t q = blankLeft ? findBlank(t, c) : c;
        Cue part;
        part.number = -1;
        part.start = sum(s0, (i - 1) * d);
        part.end = sum(s0, i * d);
        if (isBlankAt(t, q)) {
            part.text = breakLine(t.first(q - 1).toString());
            t = t.sliced(q); // the blank at the cut is dropped
        } else {
            // No blank: cut after c characters and keep them all.
            const qsizetype cut = wholeCharacter(t, std::clamp<qsizetype>(c, 0, t.size()));
            part.text = breakLine(t.first(cut).toString());
            t = t.sliced(cut);
        }
        out.push_back(std::move(part));
    }
    const QString rest = t.toString();
    cue.start = difference(cue.end, d);
    cue.text = breakLine(rest);
    out.push_back(std::move(cue));
}

void CueList::shape()
{
    for (Cue &cue : cues)
        cue.text = cleanCueText(cue.text);

    // The parts go into a new array in order: inserting them one by one into
    // the cues would move every later cue for each part.
    // Tags do not count toward a text's length.
    size_t total = cues.size();
    for (const Cue &cue : cues)
        if (double(shownLength(cue.text)) > double(maxCueLength))
            total += static_cast<size_t>(double(shownLength(cue.text)) / double(maxCueLength));
    std::vector<Cue> out;
    out.reserve(total);
    for (Cue &cue : cues) {
        if (double(shownLength(cue.text)) <= double(maxCueLength)) {
            cue.text = breakLine(cue.text);
            out.push_back(std::move(cue));
        } else {
            splitCue(cue, out);
        }
    }
    cues = std::move(out);

    for (size_t i = 0; i < cues.size(); ++i)
        cues[i].number = static_cast<std::int32_t>(i + 1);
}

void CueList::widen(std::int64_t before, std::int64_t after)
{
    const size_t n = cues.size();
    if (n == 0)
        return;
    cues[0].start = cues[0].start > before ? cues[0].start - before : 0;
    const std::int64_t both = sum(before, after);
    for (size_t i = 1; i < n; ++i) {
        Cue &previous = cues[i - 1];
        Cue &next = cues[i];
        const std::int64_t g = difference(next.start, previous.end);
        if (g > both) {
            previous.end = sum(previous.end, after);
            next.start = difference(next.start, before);
        } else if (both != 0) {
            // The quotients first, then times g; truncated toward zero.
            previous.end = sum(previous.end, truncated(double(g) * (double(after) / double(both))));
            next.start = difference(next.start, truncated(double(g) * (double(before) / double(both))));
        }
        // With before + after = 0 and no gap there is nothing to share: the pair stays.
    }
    cues[n - 1].end = sum(cues[n - 1].end, after);
}

void CueList::dropEmptyCues()
{
    std::erase_if(cues, [](const Cue &cue) { return cue.text.isEmpty(); });
}

void CueList::resolveOverlaps()
{
    const size_t n = cues.size();
    for (size_t i = 0; i + 1 < n; ++i) {
        if (cues[i].end > cues[i + 1].start) {
            // The middle, kept between the earlier cue's start and the later
            // cue's end: a cue inside a long one, or cues out of order, would
            // otherwise end before they start.
            const std::int64_t m = std::max(cues[i].start, std::min(middle(cues[i].end, cues[i + 1].start), cues[i + 1].end));
            cues[i].end = m;
            cues[i + 1].start = m;
        }
    }
}

QStringList CueList::srtLines()
{
    resolveOverlaps();
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(cues.size() * 5));
    for (size_t i = 0; i < cues.size(); ++i) {
        lines << decimalText(static_cast<std::int64_t>(i + 1)) << timeLine(cues[i], u',');
        appendTextLines(lines, cues[i].text);
        lines << QString();
    }
    return lines;
}

QStringList CueList::webVttLines()
{
    resolveOverlaps();
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(2 + cues.size() * 4));
    lines << QStringLiteral("WEBVTT") << QString();
    for (const Cue &cue : cues) {
        lines << timeLine(cue, u'.'); // WebVTT wants "." where SRT has ","
        appendTextLines(lines, cue.text);
        lines << QString();
    }
    return lines;
}
