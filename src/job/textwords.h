#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <vector>

// The words of a transcript text as the pairing with the word rows sees
// them: where each stands in the text's lines (no copy of its characters),
// and keys that are equal for words equal but for case and punctuation.

// A word of a text: its line and its characters in that line.
struct TextWord
{
    std::int32_t line = 0;
    std::int32_t from = 0;
    std::int32_t length = 0;
};

// The words of lines, split at white space. Marker lines ("[StartTime: ...]",
// "[Speaker: ...]", "[EndTime: ...]": a line in square brackets) and notes
// in square brackets ("[laughs]") are no words.
std::vector<TextWord> wordsOfText(const QStringList &lines);

// The word as the text writes it: case and attached punctuation kept.
inline QStringView textOf(const QStringList &lines, TextWord word)
{
    return QStringView(lines[word.line]).mid(word.from, word.length);
}

// The word for comparison only: case folded, only letters, digits and marks
// kept ("Zwolle." and "zwolle" are one word); empty for a word of
// punctuation alone.
QString foldedWord(QStringView word);

// A number per folded word, from 0 up, the same for equal words.
class WordKeys
{
public:
    // -1 for a word that folds to nothing.
    std::int32_t keyOf(QStringView word);

private:
    QHash<QString, std::int32_t> keys;
};
