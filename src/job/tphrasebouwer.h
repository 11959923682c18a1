#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

class TTekstTabel;

// Cuts a word table into phrases: runs of words that end at a word whose last
// character is ".", "!" or "?". One pass over the rows and one over the
// phrases, so a million words cost a million steps.
class TPhraseBouwer
{
public:
    // zonderSterwoorden: leave words holding "*" out of the text;
    // zonderSIL: blank the token "SIL" in the shown text.
    TPhraseBouwer(bool zonderSterwoorden, bool zonderSIL);

    // The phrase lines "start|end|text" of word table rows (columns 1, 2, 3).
    QStringList maakCues(const TTekstTabel &woorden) const;
    // The cells of the phrase table for those lines, five a row:
    // number, start and end ("." shown as ","), length of the text, shown text.
    std::vector<QString> maakCellen(const QStringList &cues) const;

    // Every token "SIL" (a blank or an end of the text on each side) becomes
    // one blank; "SIL" inside a word such as "BASIL" stays.
    static QString zonderSILTokens(QStringView t);
    // Every run of blanks becomes one blank (tabs are not blanks).
    static QString enkeleBlanks(QStringView t);
    // The width of the Text column: what the table leaves beside the other
    // columns, less 10, but never under 50.
    static int tekstBreedte(const TTekstTabel &phrases);

private:
    bool zonderSterwoorden;
    bool zonderSIL;
};
