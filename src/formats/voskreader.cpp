#include "formats/voskreader.h"

#include "formats/foundwords.h"
#include "formats/jsonfields.h"
#include "formats/wordreaders.h"

#include <QJsonArray>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {

QJsonArray wordsOf(const QJsonObject &utterance)
{
    return utterance.contains("result"_L1) ? utterance.value("result"_L1).toArray()
                                           : utterance.value("words"_L1).toArray();
}

bool isVoskWord(const QJsonValue &value)
{
    const QJsonObject w = value.toObject();
    return w.contains("word"_L1) && w.contains("start"_L1);
}

// The utterances: one object, or a list of them.
QJsonArray utterancesOf(const WordSource &source)
{
    return source.json.isArray() ? source.json.array() : QJsonArray{source.json.object()};
}

} // namespace

bool isVosk(const WordSource &source)
{
    for (const QJsonValue &utterance : utterancesOf(source)) {
        const QJsonArray words = wordsOf(utterance.toObject());
        if (!words.isEmpty())
            return isVoskWord(words.at(0));
    }
    return false;
}

void readVosk(const WordSource &source, FoundWords &found)
{
    for (const QJsonValue &utterance : utterancesOf(source)) {
        const QJsonArray words = wordsOf(utterance.toObject());
        bool first = true;
        for (const QJsonValue &value : words) {
            const QJsonObject w = value.toObject();
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
