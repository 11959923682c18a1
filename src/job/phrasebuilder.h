#pragma once

#include "formats/wordrow.h"
#include "job/phraserow.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <span>
#include <vector>

// Cuts the rows of a word table into phrases: runs of words that end at a
// word whose last character is ".", "!" or "?". One pass over the rows, so a
// million words cost a million steps.
//
// A phrase starts at the start cell of its first row and ends at the end cell
// of its last row, both as the table shows them, trimmed, with "." shown as
// ",". Its text is the words joined by blanks; "#Chars" counts that text
// before the shown text loses its double blanks (and, on request, its "SIL"
// tokens). The words after the last phrase end form one more phrase, which
// ends with its last word that is not "SIL" (nor empty, nor left out);
// nothing is added when no such word follows.
//
// With a pause of pauseMs (0: off), a "SIL" row that long, or a gap that long
// between the end of one row and the start of the next, ends the phrase
// before it the same way; such a "SIL" row belongs to no phrase.
class PhraseBuilder
{
public:
    // skipStarWords: leave words holding "*" out of the text;
    // blankSilence: blank the token "SIL" in the shown text.
    PhraseBuilder(bool skipStarWords, bool blankSilence, std::int64_t pauseMs = 0);

    std::vector<PhraseRow> build(std::span<const WordRow> rows) const;

    // Every token "SIL" (a blank or an end of the text on each side) becomes
    // one blank; "SIL" inside a word such as "BASIL" stays.
    static QString withoutSilTokens(QStringView text);
    // Every run of blanks becomes one blank (tabs are not blanks).
    static QString singleBlanks(QStringView text);

private:
    bool skipStarWords;
    bool blankSilence;
    std::int64_t pauseMs;
};
