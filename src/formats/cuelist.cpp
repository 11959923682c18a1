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

// The tags open at a point of a text: its openers not closed yet, each with
// its own text to open it again.
class OpenTags
{
public:
    void take(const CuePiece &piece, QStringView tag)
    {
        if (piece.kind == CuePiece::Opener) {
            open.push_back({piece.name, tag});
        } else if (piece.kind == CuePiece::Closer) {
            // The nearest opener of that name; a closer of none closes nothing.
            const auto it = std::find_if(open.rbegin(), open.rend(), [&](const Open &o) {
                return o.name.compare(piece.name, Qt::CaseInsensitive) == 0;
            });
            if (it != open.rend())
                open.erase(std::next(it).base());
        }
    }

    QString closers() const
    {
        QString r;
        for (auto it = open.rbegin(); it != open.rend(); ++it)
            r.append(u"</").append(it->name).append(u'>');
        return r;
    }

    QString openers() const
    {
        QString r;
        for (const Open &o : open)
            r += o.tag;
        return r;
    }

private:
    struct Open
    {
        QStringView name;
        QStringView tag;
    };
    std::vector<Open> open;
};

// The tags of a text in order, each with its index.
struct TagAt
{
    qsizetype at;
    CuePiece piece;
};

std::vector<TagAt> tagsOf(QStringView s, CueMarkup markup)
{
    std::vector<TagAt> tags;
    for (qsizetype i = 0; i < s.size();) {
        const CuePiece piece = cuePieceAt(s, i, markup);
        if (piece.kind != CuePiece::Character)
            tags.push_back({i, piece});
        i += piece.length;
    }
    return tags;
}

// The duration of each of the parts of a cue: its duration divided by parts,
// rounded, made shorter where rounding up would carry the parts beyond the
// cue's end (a long text in a short cue), so the parts stay in order within
// the cue.
std::int64_t partDuration(const Cue &cue, std::int64_t parts)
{
    const std::int64_t length = std::max<std::int64_t>(0, difference(cue.end, cue.start));
    const std::int64_t d = roundHalfEven(double(length) / double(parts));
    return parts > 1 && d > length / (parts - 1) ? length / parts : d;
}

void endNotBeforeStart(Cue &cue)
{
    cue.end = std::max(cue.end, cue.start);
}

} // namespace

QString webVttTimeText(std::int64_t ms)
{
    if (ms >= 86400000)
        return longTimeText(ms, u'.');
    QString text = timeText(ms);
    text[8] = u'.';
    return text;
}

QString webVttTimeLine(const Cue &cue)
{
    return timeLine(cue, u'.');
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
    if (mayHoldMarkup(s, markup)) {
        // The break goes where it would go in the shown text, never inside a tag.
        const ShownText shown(s, markup);
        if (!(double(shown.text.size()) > double(maxLineLength)))
            return s;
        const auto m = static_cast<std::int32_t>(roundHalfEven(double(shown.text.size()) / 2.0));
        const std::int32_t q = findBlank(shown.text, m);
        QString r = s;
        if (isBlankAt(shown.text, q))
            r[shown.at[static_cast<size_t>(q - 1)]] = u'|';
        else
            r.insert(shown.indexOf(wholeCharacter(shown.text, std::max(m - 1, 0)), s.size()), u'|');
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
    // As splitCue, the cuts chosen in the shown text. Of the tags between a
    // part's last character and the next part's first, the closers end the
    // part and the others start the next. The tags still open at a cut are
    // closed at the part's end and opened again at the next part's start,
    // after the overrides the cue starts with.
    const QString &s = cue.text;
    const ShownText shown(s, markup);
    const QString &plain = shown.text;
    const std::vector<TagAt> tags = tagsOf(s, markup);
    const auto tagText = [&](const TagAt &tag) { return QStringView(s).sliced(tag.at, tag.piece.length); };
    std::vector<QStringView> overrides;
    for (const TagAt &tag : tags)
        if (tag.at < shown.indexOf(0, s.size()) && s[tag.at] == u'{')
            overrides.push_back(tagText(tag));
    const auto parts = static_cast<std::int64_t>(double(plain.size()) / double(maxCueLength)) + 1;
    const std::int64_t d = partDuration(cue, parts);
    const std::int64_t s0 = cue.start;
    OpenTags open;
    size_t nextTag = 0;
    QString head;            // the tags the rest starts with ...
    qsizetype from = 0;      // ... then the text from this index ...
    qsizetype shownFrom = 0; // ... which is this shown character
    for (std::int64_t i = 1; i < parts; ++i) {
        const QStringView t = QStringView(plain).sliced(shownFrom);
        const auto c = static_cast<std::int32_t>(roundHalfEven(double(t.size()) / double(parts - i + 1)));
        const std::int32_t q = findBlank(t, c);
        // The part ends before shown character last; the next starts at next
        // (after the blank at the cut, which is dropped).
        qsizetype last = 0;
        qsizetype next = 0;
        if (isBlankAt(t, q)) {
            last = shownFrom + q - 1;
            next = last + 1;
        } else {
            // No blank: cut after c characters and keep them all.
            last = next = shownFrom + wholeCharacter(t, std::clamp<qsizetype>(c, 0, t.size()));
        }
        const qsizetype partEnd = last > shownFrom ? shown.end[static_cast<size_t>(last - 1)] : from;
        const qsizetype nextStart = shown.indexOf(next, s.size());
        for (; nextTag < tags.size() && tags[nextTag].at < partEnd; ++nextTag)
            open.take(tags[nextTag].piece, tagText(tags[nextTag]));
        QString tail;
        std::vector<size_t> starting; // the tags between that start the next part
        for (; nextTag < tags.size() && tags[nextTag].at < nextStart; ++nextTag) {
            if (tags[nextTag].piece.kind == CuePiece::Closer) {
                open.take(tags[nextTag].piece, tagText(tags[nextTag]));
                tail += tagText(tags[nextTag]);
            } else {
                starting.push_back(nextTag);
            }
        }
        Cue part;
        part.number = -1;
        part.start = sum(s0, (i - 1) * d);
        part.end = sum(s0, i * d);
        part.text = breakLine(QString(head).append(QStringView(s).sliced(from, partEnd - from)).append(tail).append(open.closers()));
        out.push_back(std::move(part));
        head.clear();
        for (const QStringView o : overrides)
            if (std::none_of(starting.begin(), starting.end(), [&](size_t k) { return tagText(tags[k]) == o; }))
                head.append(o); // the same override at the cut starts the part anyway
        head.append(open.openers());
        for (const size_t k : starting) {
            head += tagText(tags[k]);
            open.take(tags[k].piece, tagText(tags[k]));
        }
        from = nextStart;
        shownFrom = next;
    }
    cue.start = difference(cue.end, d);
    cue.text = breakLine(head.append(QStringView(s).sliced(from)));
    out.push_back(std::move(cue));
}

void CueList::splitCue(Cue &cue, std::vector<Cue> &out) const
{
    if (mayHoldMarkup(cue.text, markup)) {
        splitTaggedCue(cue, out);
        return;
    }
    const auto parts = static_cast<std::int64_t>(double(cue.text.size()) / double(maxCueLength)) + 1;
    const std::int64_t d = partDuration(cue, parts);
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
    for (Cue &cue : cues) {
        cue.text = cleanCueText(cue.text);
        endNotBeforeStart(cue); // so the parts of a split run forward
    }

    // The parts go into a new array in order: inserting them one by one into
    // the cues would move every later cue for each part.
    // Tags do not count toward a text's length.
    size_t total = cues.size();
    for (const Cue &cue : cues)
        if (double(shownLength(cue.text, markup)) > double(maxCueLength))
            total += static_cast<size_t>(double(shownLength(cue.text, markup)) / double(maxCueLength));
    std::vector<Cue> out;
    out.reserve(total);
    for (Cue &cue : cues) {
        if (double(shownLength(cue.text, markup)) <= double(maxCueLength)) {
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
    for (Cue &cue : cues)
        endNotBeforeStart(cue);
    const size_t n = cues.size();
    for (size_t i = 0; i + 1 < n; ++i) {
        Cue &earlier = cues[i];
        Cue &later = cues[i + 1];
        if (earlier.end <= later.start)
            continue;
        if (later.end <= earlier.start) {
            // Out of order, not overlapping: no middle lies within both.
            later.start = later.end = earlier.end;
            continue;
        }
        // The middle, kept between the earlier cue's start and the later
        // cue's end: a cue inside a long one would otherwise end before it
        // starts.
        const std::int64_t m = std::clamp(middle(earlier.end, later.start), earlier.start, later.end);
        earlier.end = m;
        later.start = m;
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
        appendTextLines(lines, markup == CueMarkup::Srt ? srtTextAsWebVtt(cue.text) : cue.text);
        lines << QString();
    }
    return lines;
}
