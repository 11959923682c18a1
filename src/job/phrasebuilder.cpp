#include "job/phrasebuilder.h"

#include "base/numbers.h"
#include "base/text.h"
#include "base/twothreads.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

bool isPhraseEnd(QChar c)
{
    return c == u'.' || c == u'!' || c == u'?';
}

// A time cell of the word table as the phrase builder reads it: the row it
// belongs to (none beyond the last row, where the cell reads as empty).
struct TimeCell
{
    const WordRow *row = nullptr;
    WordRow::Column column = WordRow::Start;

    // A cell that shows its number (nearly all): no text needs to be made.
    bool isNumber() const { return row && !row->isTyped(column); }
    std::int64_t number() const { return column == WordRow::Start ? row->start : row->end; }
    // The trimmed text of a typed or missing cell.
    QStringView typedText() const { return row ? trimmedView((*row->typed)[column]) : QStringView(); }
    QString text() const { return isNumber() ? decimalText(number()) : typedText().toString(); }
};

// The shown text of a phrase: with blankSilence every "SIL" token (judged on
// the text as it came in, so in "SIL SIL" both go) becomes a blank, and every
// run of blanks becomes one. One pass doing withoutSilTokens, then singleBlanks.
QString shownText(QStringView t, bool blankSilence)
{
    const qsizetype n = t.size();
    QString out(n, Qt::Uninitialized);
    char16_t *const begin = reinterpret_cast<char16_t *>(out.data());
    char16_t *o = begin;
    for (qsizetype i = 0; i < n;) {
        char16_t c = t[i].unicode();
        if (blankSilence && c == u'S' && i + 3 <= n && t[i + 1] == u'I' && t[i + 2] == u'L'
            && (i == 0 || t[i - 1] == u' ') && (i + 3 == n || t[i + 3] == u' ')) {
            c = u' ';
            i += 3;
        } else {
            ++i;
        }
        if (c != u' ' || o == begin || o[-1] != u' ')
            *o++ = c;
    }
    out.resize(o - begin);
    return out;
}

void setTime(PhraseRow &phrase, PhraseRow::Column column, QStringView text)
{
    phrase.setCell(column, text.toString().replace(u'.', u','));
}

// a - b, kept inside the 64-bit range: times from a nonsense file must not
// wrap around.
std::int64_t difference(std::int64_t a, std::int64_t b)
{
    std::int64_t r;
    if (__builtin_sub_overflow(a, b, &r))
        return b < 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
    return r;
}

bool isSilence(QStringView word)
{
    return word == u"SIL";
}

// The phrases of rows [from, to): the walk starts with an empty text and the
// start cell start, as it does at the top of the table and after every phrase end.
void buildRange(std::span<const WordRow> rows, std::size_t from, std::size_t to, bool skipStarWords,
                bool blankSilence, std::int64_t pauseMs, std::vector<PhraseRow> &out)
{
    const std::size_t n = rows.size();
    const auto startCell = [&](std::size_t r) {
        return TimeCell{r < n ? &rows[r] : nullptr, WordRow::Start};
    };
    // P is kept trimmed, so "P, a blank and W, trimmed" is P, W or both with
    // one blank between: appending keeps the walk linear in the text.
    QString P;
    TimeCell S = startCell(from);
    // The last row of the phrase so far whose word is kept and not "SIL",
    // and the length of P up to that word: a phrase ended by a pause or by
    // the end of the table ends there.
    std::size_t lastWordRow = n;
    qsizetype lengthAtLastWord = 0;

    const auto addPhrase = [&](const TimeCell &E, QStringView text) {
        PhraseRow &phrase = out.emplace_back();
        phrase.lastWord = static_cast<std::size_t>(E.row - rows.data());
        phrase.firstWord = S.row ? std::min(static_cast<std::size_t>(S.row - rows.data()), phrase.lastWord)
                                 : phrase.lastWord;
        const bool splitCells = (!S.isNumber() && S.typedText().contains(u'|'))
                                || (!E.isNumber() && E.typedText().contains(u'|'));
        if (!splitCells) {
            if (S.isNumber())
                phrase.start = S.number();
            else
                setTime(phrase, PhraseRow::Start, S.typedText());
            if (E.isNumber())
                phrase.end = E.number();
            else
                setTime(phrase, PhraseRow::End, E.typedText());
            phrase.charCount = text.size();
            phrase.text = shownText(text, blankSilence);
        } else {
            // A hand-edited time cell holding "|": start, end and text are
            // cut from "start|end|text" at its first two "|", as they stand.
            const QString line = S.text() + u'|' + E.text() + u'|' + text.toString();
            const QStringView all = line;
            const qsizetype p1 = all.indexOf(u'|');
            const QStringView rest = all.sliced(p1 + 1);
            const qsizetype p2 = rest.indexOf(u'|');
            setTime(phrase, PhraseRow::Start, all.first(p1));
            setTime(phrase, PhraseRow::End, rest.first(p2));
            const QStringView T = rest.sliced(p2 + 1);
            phrase.charCount = T.size();
            phrase.text = shownText(T, blankSilence);
        }
    };
    // Ends the phrase so far at its last word that is not "SIL"; nothing is
    // added when it has none. The next phrase starts at row next.
    const auto endAtLastWord = [&](std::size_t next) {
        if (lastWordRow != n)
            addPhrase(TimeCell{&rows[lastWordRow], WordRow::End}, QStringView(P).first(lengthAtLastWord));
        P.resize(0);
        lastWordRow = n;
        S = startCell(next);
    };

    for (std::size_t r = from; r < to; ++r) {
        QStringView W = trimmedView(rows[r].text);
        if (pauseMs > 0) {
            // A long silence ends the phrase before it and belongs to none.
            if (isSilence(W) && difference(rows[r].end, rows[r].start) >= pauseMs) {
                endAtLastWord(r + 1);
                continue;
            }
            // So does a long gap between two words.
            if (r > from && difference(rows[r].start, rows[r - 1].end) >= pauseMs && lastWordRow != n)
                endAtLastWord(r);
        }
        const bool ends = !W.isEmpty() && isPhraseEnd(W.back());
        // A left-out word still ends its phrase (ends was noted before).
        if (skipStarWords && W.contains(u'*'))
            W = QStringView();
        if (!W.isEmpty()) {
            if (!P.isEmpty())
                P += u' ';
            P += W;
            if (!isSilence(W)) {
                lastWordRow = r;
                lengthAtLastWord = P.size();
            }
        }
        // A phrase that would begin with "SIL" starts again at the next row.
        if (P == u"SIL") {
            P.resize(0);
            S = startCell(r + 1);
        }
        if (!ends)
            continue;

        const TimeCell E{&rows[r], WordRow::End};
        addPhrase(E, P);
        P.resize(0);
        lastWordRow = n;
        if (r != n - 1)
            S = startCell(r + 1);
    }
    // The words after the last phrase end form one more phrase.
    if (to == n)
        endAtLastWord(n);
}

} // namespace

PhraseBuilder::PhraseBuilder(bool skipStarWords, bool blankSilence, std::int64_t pauseMs)
    : skipStarWords(skipStarWords), blankSilence(blankSilence), pauseMs(pauseMs)
{
}

std::vector<PhraseRow> PhraseBuilder::build(std::span<const WordRow> rows) const
{
    const std::size_t n = rows.size();
    std::vector<PhraseRow> phrases;
    // After a phrase end the walk holds no text and starts at the next row,
    // whatever came before: a long table is cut after the first phrase end
    // past its middle and both parts are walked at once.
    std::size_t cut = n;
    if (n >= 100000) {
        for (std::size_t r = n / 2; r + 1 < n; ++r) {
            const QStringView W = trimmedView(rows[r].text);
            if (!W.isEmpty() && isPhraseEnd(W.back())) {
                cut = r + 1;
                break;
            }
        }
    }
    if (cut == n) {
        buildRange(rows, 0, n, skipStarWords, blankSilence, pauseMs, phrases);
    } else {
        std::vector<PhraseRow> second;
        runOnTwoThreads([&] { buildRange(rows, 0, cut, skipStarWords, blankSilence, pauseMs, phrases); },
                        [&] { buildRange(rows, cut, n, skipStarWords, blankSilence, pauseMs, second); });
        phrases.reserve(phrases.size() + second.size());
        for (PhraseRow &phrase : second)
            phrases.push_back(std::move(phrase));
    }
    for (std::size_t i = 0; i < phrases.size(); ++i)
        phrases[i].number = static_cast<std::int64_t>(i) + 1;
    return phrases;
}

QString PhraseBuilder::withoutSilTokens(QStringView t)
{
    QString out;
    out.reserve(t.size());
    const qsizetype n = t.size();
    for (qsizetype i = 0; i < n;) {
        // Both sides are judged on the text as it came in, so in "SIL SIL"
        // both tokens go.
        if (t.sliced(i).startsWith(u"SIL") && (i == 0 || t[i - 1] == u' ')
            && (i + 3 == n || t[i + 3] == u' ')) {
            out += u' ';
            i += 3;
        } else {
            out += t[i];
            ++i;
        }
    }
    return out;
}

QString PhraseBuilder::singleBlanks(QStringView t)
{
    QString out;
    out.reserve(t.size());
    for (qsizetype i = 0; i < t.size(); ++i)
        if (t[i] != u' ' || out.isEmpty() || out.back() != u' ')
            out += t[i];
    return out;
}
