#include "formats/whisperreader.h"

#include "formats/foundwords.h"
#include "formats/jsonfields.h"
#include "formats/wordreaders.h"

#include "formats/jsontree.h"

#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The words of a segment: whisper-timestamped's are whole words (text);
// openai-whisper's and faster-whisper's (word) are joined at leading blanks.
std::vector<Piece> wordsOf(const JsonValue &words)
{
    std::vector<Piece> out;
    for (const JsonValue &value : words) {
        const JsonValue w = value.toObject();
        const bool whole = w.contains("text"_L1);
        const QString text = w.value(whole ? "text"_L1 : "word"_L1).toString();
        const auto span = spanOf(secondsField(w.value("start"_L1)), secondsField(w.value("end"_L1)));
        const double confidence = confidenceField(w.value(whole ? "confidence"_L1 : "probability"_L1));
        // A whole word starts a word whatever it starts with.
        addPiece(out, whole ? u' ' + text : text, span, confidence);
    }
    return out;
}

} // namespace

bool isWhisper(const WordSource &source)
{
    return source.json.object().value("segments"_L1).isArray();
}

void readWhisper(const WordSource &source, FoundWords &found)
{
    for (const JsonValue &value : source.json.object().value("segments"_L1).toArray()) {
        const JsonValue segment = value.toObject();
        const QString speaker = speakerField(segment.value("speaker"_L1), u"SPEAKER"_s);
        const QString text = segment.value("text"_L1).toString();
        const auto span = spanOf(secondsField(segment.value("start"_L1)), secondsField(segment.value("end"_L1)));
        found.addLine(text, speaker, span ? span->start : 0);
        const std::vector<Piece> words = wordsOf(segment.value("words"_L1).toArray());
        if (words.empty() && span) {
            found.addStretch(text, span->start, span->end, speaker);
            continue;
        }
        addPieces(found, words, speaker);
    }
}
