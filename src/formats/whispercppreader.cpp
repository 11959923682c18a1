#include "formats/whispercppreader.h"

#include "base/timetext.h"
#include "formats/foundwords.h"
#include "formats/jsonfields.h"
#include "formats/wordreaders.h"

#include "formats/jsontree.h"

#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The times of a segment or token: offsets in ms, else its timestamps.
std::optional<Span> spanOfPiece(const JsonValue &piece)
{
    const JsonValue offsets = piece.value("offsets"_L1).toObject();
    if (auto span = spanOf(millisecondsField(offsets.value("from"_L1)), millisecondsField(offsets.value("to"_L1))))
        return span;
    const JsonValue stamps = piece.value("timestamps"_L1).toObject();
    const JsonValue from = stamps.value("from"_L1), to = stamps.value("to"_L1);
    if (!from.isString() || !to.isString())
        return std::nullopt;
    return Span{parseTimeText(from.toString()), parseTimeText(to.toString())};
}

// [_BEG_], [_TT_150], [_SOT_] ...: marks of the decoder, no speech.
bool isSpecial(const QString &token)
{
    return token.startsWith("[_"_L1) && token.endsWith(u']');
}

} // namespace

bool isWhisperCpp(const WordSource &source)
{
    return source.json.object().value("transcription"_L1).isArray();
}

void readWhisperCpp(const WordSource &source, FoundWords &found)
{
    for (const JsonValue &value : source.json.object().value("transcription"_L1).toArray()) {
        const JsonValue segment = value.toObject();
        const QString text = segment.value("text"_L1).toString();
        const std::optional<Span> span = spanOfPiece(segment);
        found.addLine(text, QString(), span ? span->start : 0);
        std::vector<Piece> words;
        bool any = false;
        for (const JsonValue &t : segment.value("tokens"_L1).toArray()) {
            const JsonValue token = t.toObject();
            const QString piece = token.value("text"_L1).toString();
            if (isSpecial(piece) || piece.isEmpty())
                continue;
            any = true;
            addPiece(words, piece, spanOfPiece(token), confidenceField(token.value("p"_L1)));
        }
        addPieces(found, words);
        if (!any && span)
            found.addStretch(text, span->start, span->end);
    }
}
