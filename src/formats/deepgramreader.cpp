#include "formats/deepgramreader.h"

#include "formats/foundwords.h"
#include "formats/jsonfields.h"
#include "formats/wordreaders.h"

#include "formats/jsontree.h"

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

struct ChannelWord
{
    QString text;
    Span span;
    double confidence;
    QString speaker;
};

JsonValue channelsOf(const WordSource &source)
{
    return source.json.object().value("results"_L1).toObject().value("channels"_L1).toArray();
}

} // namespace

bool isDeepgram(const WordSource &source)
{
    return source.json.object().value("results"_L1).toObject().value("channels"_L1).isArray();
}

void readDeepgram(const WordSource &source, FoundWords &found)
{
    const JsonValue channels = channelsOf(source);
    std::vector<ChannelWord> words;
    for (qsizetype c = 0; c < channels.size(); ++c) {
        const JsonValue best = channels.at(c).toObject().value("alternatives"_L1).toArray().at(0).toObject();
        for (const JsonValue &value : best.value("words"_L1).toArray()) {
            const JsonValue w = value.toObject();
            QString text = w.value("punctuated_word"_L1).toString();
            if (text.isEmpty())
                text = w.value("word"_L1).toString();
            text = text.trimmed();
            if (text.isEmpty())
                continue;
            QString speaker = speakerField(w.value("speaker"_L1), u"speaker"_s);
            if (speaker.isEmpty() && channels.size() > 1)
                speaker = u"channel_%1"_s.arg(c);
            const auto span = spanOf(secondsField(w.value("start"_L1)), secondsField(w.value("end"_L1)));
            words.push_back({text, span.value_or(Span{}), confidenceField(w.value("confidence"_L1)), speaker});
        }
    }
    // The channels of a stereo call speak in turns: one list in order of start.
    std::stable_sort(words.begin(), words.end(),
                     [](const ChannelWord &a, const ChannelWord &b) { return a.span.start < b.span.start; });
    for (const ChannelWord &w : words)
        found.add(w.text, w.span.start, w.span.end, w.confidence, w.speaker);
    found.holdsTranscript();
}
