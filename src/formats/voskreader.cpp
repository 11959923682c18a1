#include "formats/voskreader.h"

#include "formats/foundwords.h"
#include "formats/jsonfields.h"
#include "formats/wordreaders.h"

#include "formats/jsontree.h"

#include <vector>

using namespace Qt::StringLiterals;

namespace {

JsonValue wordsOf(const JsonValue &utterance)
{
    return utterance.contains("result"_L1) ? utterance.value("result"_L1).toArray()
                                           : utterance.value("words"_L1).toArray();
}

bool isVoskWord(const JsonValue &value)
{
    const JsonValue w = value.toObject();
    return w.contains("word"_L1) && w.contains("start"_L1);
}

// The utterances: one object, or a list of them.
std::vector<JsonValue> utterancesOf(const WordSource &source)
{
    if (!source.json.isArray())
        return {source.json.object()};
    std::vector<JsonValue> list;
    for (const JsonValue &utterance : source.json.array())
        list.push_back(utterance);
    return list;
}

} // namespace

bool isVosk(const WordSource &source)
{
    for (const JsonValue &utterance : utterancesOf(source)) {
        const JsonValue words = wordsOf(utterance.toObject());
        if (!words.isEmpty())
            return isVoskWord(words.at(0));
    }
    return false;
}

void readVosk(const WordSource &source, FoundWords &found)
{
    for (const JsonValue &utterance : utterancesOf(source)) {
        const JsonValue words = wordsOf(utterance.toObject());
        bool first = true;
        for (const JsonValue &value : words) {
            const JsonValue w = value.toObject();
            const QString text = w.value("word"_L1).toString().trimmed();
            if (text.isEmpty())
                continue;
            const auto span = spanOf(secondsField(w.value("start"_L1)), secondsField(w.value("end"_L1)));
            if (first)
                found.addLine(utterance.toObject().value("text"_L1).toString(), QString(), span ? span->start : 0);
            first = false;
            if (span)
                found.add(text, span->start, span->end, confidenceField(w.value("conf"_L1)));
            else
                found.addUntimed(text);
        }
    }
}
