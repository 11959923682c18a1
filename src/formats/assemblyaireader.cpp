#include "formats/assemblyaireader.h"

#include "formats/foundwords.h"
#include "formats/jsonfields.h"
#include "formats/wordreaders.h"

#include "formats/jsontree.h"

using namespace Qt::StringLiterals;

bool isAssemblyAi(const WordSource &source)
{
    const JsonValue words = source.json.object().value("words"_L1).toArray();
    return !words.isEmpty() && words.at(0).toObject().contains("text"_L1);
}

void readAssemblyAi(const WordSource &source, FoundWords &found)
{
    const JsonValue top = source.json.object();
    for (const JsonValue &value : top.value("utterances"_L1).toArray()) {
        const JsonValue utterance = value.toObject();
        found.addLine(utterance.value("text"_L1).toString(), speakerField(utterance.value("speaker"_L1), u"speaker"_s),
                      millisecondsField(utterance.value("start"_L1)).value_or(0));
    }
    for (const JsonValue &value : top.value("words"_L1).toArray()) {
        const JsonValue w = value.toObject();
        const QString text = w.value("text"_L1).toString().trimmed();
        if (text.isEmpty())
            continue;
        const QString speaker = speakerField(w.value("speaker"_L1), u"speaker"_s);
        if (const auto span = spanOf(millisecondsField(w.value("start"_L1)), millisecondsField(w.value("end"_L1))))
            found.add(text, span->start, span->end, confidenceField(w.value("confidence"_L1)), speaker);
        else
            found.addUntimed(text, speaker);
    }
    found.holdsTranscript();
}
