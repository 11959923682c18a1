#include "formats/whisperxreader.h"

#include "formats/foundwords.h"
#include "formats/jsonfields.h"
#include "formats/wordreaders.h"

#include "formats/jsontree.h"

using namespace Qt::StringLiterals;

namespace {

void readWord(const JsonValue &w, const QString &segmentSpeaker, SpeakerField &speakerOf, FoundWords &found)
{
    const QString text = w.value("word"_L1).toString().trimmed();
    if (text.isEmpty())
        return;
    const QString &wordSpeaker = speakerOf(w.value("speaker"_L1));
    const QString &speaker = wordSpeaker.isEmpty() ? segmentSpeaker : wordSpeaker;
    if (const auto span = spanOf(secondsField(w.value("start"_L1)), secondsField(w.value("end"_L1))))
        found.add(text, span->start, span->end, confidenceField(w.value("score"_L1)), speaker);
    else
        found.addUntimed(text, speaker);
}

} // namespace

bool isWhisperX(const WordSource &source)
{
    const JsonValue top = source.json.object();
    if (top.contains("word_segments"_L1))
        return true;
    for (const JsonValue &segment : top.value("segments"_L1).toArray()) {
        const JsonValue words = segment.toObject().value("words"_L1).toArray();
        if (!words.isEmpty())
            return words.at(0).toObject().contains("score"_L1);
    }
    return false;
}

void readWhisperX(const WordSource &source, FoundWords &found)
{
    SpeakerField speakerOf(u"SPEAKER"_s);
    const JsonValue top = source.json.object();
    const JsonValue segments = top.value("segments"_L1).toArray();
    if (segments.isEmpty()) {
        const JsonValue words = top.value("word_segments"_L1).toArray();
        found.reserve(static_cast<std::size_t>(words.size()));
        for (const JsonValue &w : words)
            readWord(w.toObject(), QString(), speakerOf, found);
        found.holdsTranscript();
        return;
    }
    std::size_t count = 0;
    for (const JsonValue &segment : segments)
        count += static_cast<std::size_t>(segment.toObject().value("words"_L1).toArray().size());
    found.reserve(count);
    for (const JsonValue &value : segments) {
        const JsonValue segment = value.toObject();
        const QString speaker = speakerField(segment.value("speaker"_L1), u"SPEAKER"_s);
        const QString text = segment.value("text"_L1).toString();
        const auto span = spanOf(secondsField(segment.value("start"_L1)), secondsField(segment.value("end"_L1)));
        found.addLine(text, speaker, span ? span->start : 0);
        const JsonValue words = segment.value("words"_L1).toArray();
        if (!words.isEmpty()) {
            for (const JsonValue &w : words)
                readWord(w.toObject(), speaker, speakerOf, found);
        } else if (span) {
            found.addStretch(text, span->start, span->end, speaker);
        } else {
            for (const QString &word : blankSeparatedWords(text))
                found.addUntimed(word, speaker);
        }
    }
}
