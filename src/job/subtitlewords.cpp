#include "job/subtitlewords.h"

#include "base/numbers.h"
#include "base/text.h"
#include "formats/cuemarkup.h"

namespace {

std::int64_t rowTime(const WordRow &row, WordRow::Column column)
{
    if (!row.isTyped(column))
        return column == WordRow::Start ? row.start : row.end;
    return roundHalfEven(parseFloat(row.cell(column)));
}

// The part of a word outside bracketed remarks, which may run over several
// words ("[long", "laugh]"); inRemark carries that from word to word.
QStringView outsideRemarks(QStringView word, bool &inRemark)
{
    if (inRemark) {
        const qsizetype close = word.indexOf(u']');
        if (close < 0)
            return {};
        inRemark = false;
        word = word.sliced(close + 1);
    }
    const qsizetype open = word.indexOf(u'[');
    if (open < 0)
        return word;
    const qsizetype close = word.indexOf(u']', open);
    if (open > 0)
        inRemark = close < 0;
    else if (close < 0)
        inRemark = true;
    // What stands before the remark is the word; a word that is only a
    // remark keeps what follows it ("[laughs]yes" shows "yes").
    return open > 0 ? word.first(open) : (close < 0 ? QStringView() : word.sliced(close + 1));
}

} // namespace

std::vector<TimedWord> subtitleWords(std::span<const WordRow> rows, const std::vector<PhraseRow> &phrases,
                                     const GlueSettings &settings)
{
    std::vector<TimedWord> words;
    words.reserve(rows.size());
    const QString *speaker = nullptr;
    for (const PhraseRow &phrase : phrases) {
        bool inRemark = false;
        const std::size_t shownBefore = words.size();
        for (std::size_t r = phrase.firstWord; r <= phrase.lastWord && r < rows.size(); ++r) {
            const WordRow &row = rows[r];
            QStringView w = trimmedView(row.text);
            if (w.isEmpty() || (settings.skipStarWords && w.contains(u'*'))
                || (settings.blankSilence && w == u"SIL"))
                continue;
            w = trimmedView(outsideRemarks(w, inRemark));
            if (w.isEmpty())
                continue;
            TimedWord &word = words.emplace_back();
            word.text = w;
            word.length = static_cast<int>(shownLength(w, CueMarkup::Srt));
            word.start = rowTime(row, WordRow::Start);
            word.end = rowTime(row, WordRow::End);
            word.newSpeaker = speaker && *speaker != row.speaker;
            speaker = &row.speaker;
        }
        if (words.size() > shownBefore)
            words.back().endsPhrase = true;
    }
    return words;
}
