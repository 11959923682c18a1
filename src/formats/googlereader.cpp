#include "formats/googlereader.h"

#include "base/numbers.h"
#include "formats/foundwords.h"
#include "formats/jsonfields.h"
#include "formats/wordreaders.h"

#include <QJsonArray>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {

// The first of the keys a word holds: the REST API's camelCase, the client
// libraries' snake_case, v2's offsets.
QJsonValue fieldOf(const QJsonObject &w, std::initializer_list<QLatin1StringView> keys)
{
    for (QLatin1StringView key : keys)
        if (w.contains(key))
            return w.value(key);
    return QJsonValue(QJsonValue::Undefined);
}

// "12.900s", or {seconds, nanos} with seconds a number or a text and nanos
// left out on whole seconds.
std::optional<std::int64_t> timeOf(const QJsonValue &value)
{
    if (!value.isObject())
        return secondsField(value);
    const QJsonObject time = value.toObject();
    const QJsonValue seconds = time.value("seconds"_L1);
    const std::int64_t whole = seconds.isString() ? secondsToMs(seconds.toString()) : msOfSeconds(seconds.toDouble());
    return whole + msOfSeconds(time.value("nanos"_L1).toDouble() / 1e9);
}

QJsonArray wordsOfResult(const QJsonValue &result)
{
    return result.toObject().value("alternatives"_L1).toArray().at(0).toObject().value("words"_L1).toArray();
}

QJsonValue speakerOf(const QJsonObject &w)
{
    return fieldOf(w, {"speakerTag"_L1, "speaker_tag"_L1, "speakerLabel"_L1, "speaker_label"_L1});
}

} // namespace

bool isGoogle(const WordSource &source)
{
    const QJsonArray results = source.json.object().value("results"_L1).toArray();
    return !results.isEmpty() && results.at(0).toObject().contains("alternatives"_L1);
}

void readGoogle(const WordSource &source, FoundWords &found)
{
    QJsonArray results = source.json.object().value("results"_L1).toArray();
    // With speaker tags the last result repeats every word with its tag.
    const QJsonArray last = results.isEmpty() ? QJsonArray() : wordsOfResult(results.last());
    if (!last.isEmpty() && speakerOf(last.at(0).toObject()).toInt() > 0)
        results = QJsonArray{results.last()};
    for (const QJsonValue &result : results)
        for (const QJsonValue &value : wordsOfResult(result)) {
            const QJsonObject w = value.toObject();
            const QString text = w.value("word"_L1).toString().trimmed();
            if (text.isEmpty())
                continue;
            const QJsonValue tag = speakerOf(w);
            const QString speaker = tag.isDouble() && tag.toInt() == 0 ? QString() : speakerField(tag, u"speaker"_s);
            const auto span = spanOf(timeOf(fieldOf(w, {"startTime"_L1, "start_time"_L1, "startOffset"_L1})),
                                     timeOf(fieldOf(w, {"endTime"_L1, "end_time"_L1, "endOffset"_L1})));
            if (span)
                found.add(text, span->start, span->end, confidenceField(w.value("confidence"_L1)), speaker);
            else
                found.addUntimed(text, speaker);
        }
    found.holdsTranscript();
}
