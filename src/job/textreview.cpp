#include "job/textreview.h"

#include "job/alignmentpairing.h"

RowPairing pairRowsWithText(std::span<const WordRow> rows, const QStringList &lines, const QStringList &unknownWords)
{
    RowPairing p;
    WordKeys keys;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const QString &text = rows[i].text;
        if (isSilenceWord(text))
            continue;
        const bool unknown = unknownWords.contains(text);
        const std::int32_t key = unknown ? RowPairing::unknownKey : keys.keyOf(text);
        if (key < 0 && !unknown)
            continue;
        p.rowOf.push_back(static_cast<std::uint32_t>(i));
        p.wordKeys.push_back(key);
    }
    for (const TextWord &word : wordsOfText(lines)) {
        const std::int32_t key = keys.keyOf(textOf(lines, word));
        if (key < 0)
            continue;
        p.text.push_back(word);
        p.textKeys.push_back(key);
    }
    p.pairing = pairWords(p.wordKeys, p.textKeys);
    return p;
}

void reviewAgainstText(const PartUnderReview &part, int number, const GlueSettings &settings, ReviewList &list)
{
    const RowPairing p = pairRowsWithText(part.rows, *part.text, settings.unknownWords);
    const QStringList &lines = *part.text;
    auto row = [&](std::size_t i, ReviewKind kind, QString words, QString transcript) {
        const std::int64_t time = i < part.rows.size() ? part.rows[i].start : part.startMs;
        list.rows.push_back({number, time, part.firstRow + i, kind, std::move(words), std::move(transcript)});
    };

    // A stretch between two paired words: the words after previous up to
    // next, and the transcript's words after previousText up to nextText.
    const std::size_t none = std::size_t(-1);
    std::size_t previous = none, previousText = none;
    auto stretch = [&](std::size_t next, std::size_t nextText) {
        const std::size_t w0 = previous + 1, t0 = previousText + 1; // none + 1 is 0
        if (w0 == next && t0 == nextText)
            return;
        RunWords extra, extraText;
        std::size_t firstExtra = none;
        std::vector<bool> textTaken(nextText - t0, false);
        for (std::size_t w = w0; w < next; ++w) {
            const std::size_t i = p.rowOf[w];
            if (p.wordKeys[w] != RowPairing::unknownKey) {
                if (firstExtra == none)
                    firstExtra = i;
                extra.add(part.rows[i].text);
                continue;
            }
            QString said;
            if (p.pairing[w] >= 0) {
                const auto t = static_cast<std::size_t>(p.pairing[w]);
                textTaken[t - t0] = true;
                said = textOf(lines, p.text[t]).toString();
            }
            // Alone between two paired neighbours, with one transcript word
            // between them: that word is the one.
            if (next - w0 == 1 && nextText - t0 == 1 && previous != none && next < p.rowOf.size())
                list.fills.push_back({part.firstRow + i, said});
            row(i, ReviewKind::Unknown, part.rows[i].text, said);
        }
        for (std::size_t t = t0; t < nextText; ++t)
            if (!textTaken[t - t0])
                extraText.add(textOf(lines, p.text[t]));
        if (firstExtra != none)
            row(firstExtra, ReviewKind::Extra, extra.text(), extraText.text());
        else if (extraText.count() > 0)
            // Played from the word before them, where they should have been.
            row(previous != none ? p.rowOf[previous] : (next < p.rowOf.size() ? p.rowOf[next] : 0),
                ReviewKind::Skipped, QString(), extraText.text());
    };
    for (std::size_t w = 0; w < p.rowOf.size(); ++w) {
        if (!p.matched(w))
            continue;
        stretch(w, static_cast<std::size_t>(p.pairing[w]));
        previous = w;
        previousText = static_cast<std::size_t>(p.pairing[w]);
    }
    stretch(p.rowOf.size(), p.text.size());

    for (const FilledMark &mark : part.filled)
        if (mark.row < part.rows.size() && part.rows[mark.row].text == mark.word)
            row(mark.row, ReviewKind::Filled, mark.unknown, mark.word);
}
