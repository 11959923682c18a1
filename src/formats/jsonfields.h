#pragma once

#include "formats/jsontree.h"
#include <QString>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// The fields the JSON word files share, read as their tools write them.

// A time in seconds as a JSON number (float noise and all) or a decimal
// text ("0.44"; Google's "12.900s"), in ms; nothing when absent or null.
// Throws Error for another value.
std::optional<std::int64_t> secondsField(const JsonValue &value);
// A time in whole ms as a number or a decimal text; nothing when absent.
std::optional<std::int64_t> millisecondsField(const JsonValue &value);
// A confidence as a number or a decimal text; 1 when absent.
double confidenceField(const JsonValue &value);
// A speaker as a text, or a number named "prefix_N"; empty when absent.
QString speakerField(const JsonValue &value, const QString &prefix);
// speakerField for word after word: speakers repeat, and the text of one
// is made again only when its characters differ from the last one's.
class SpeakerField
{
public:
    explicit SpeakerField(QString prefix) : prefix(std::move(prefix)) {}
    const QString &operator()(const JsonValue &value);

private:
    QString prefix;
    QByteArrayView lastText; // in the tree: the characters last read as a text
    bool lastWasText = false;
    QString last;
};
// The time of a word as both of its fields give it; nothing unless both do.
struct Span
{
    std::int64_t start = 0;
    std::int64_t end = 0;
};
std::optional<Span> spanOf(std::optional<std::int64_t> start, std::optional<std::int64_t> end);

// A word as the pieces of a recogniser's tokens make it.
struct Piece
{
    QString text;
    std::optional<Span> span; // nothing unless every piece had times
    double confidence = 1;    // the least of its pieces'
};
// Adds a piece to words: a piece that starts with a blank (or the first)
// starts a word, one without continues the word before. Pieces only of
// blanks are dropped.
void addPiece(std::vector<Piece> &words, const QString &piece, std::optional<Span> span, double confidence);
// Adds the words to found, those without times untimed.
class FoundWords;
void addPieces(FoundWords &found, const std::vector<Piece> &words, const QString &speaker = QString());
