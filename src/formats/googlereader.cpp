#include "formats/googlereader.h"

#include "base/numbers.h"
#include "formats/foundwords.h"
#include "formats/jsonfields.h"
#include "formats/wordreaders.h"

#include "formats/jsontree.h"

using namespace Qt::StringLiterals;

namespace {

// The first of the keys a word holds: the REST API's camelCase, the client
// libraries' snake_case, v2's offsets.
JsonValue fieldOf(const JsonValue &w, std::initializer_list<QLatin1StringView> keys)
{
    for (QLatin1StringView key : keys)
        if (w.contains(key))
            return w.value(key);
    return JsonValue();
}

// "12.900s", or {seconds, nanos} with seconds a number or a text and nanos
// left out on whole seconds.
std::optional<std::int64_t> timeOf(const JsonValue &value)
{
    if (!value.isObject())
        return secondsField(value);
    const JsonValue time = value.toObject();
    const JsonValue seconds = time.value("seconds"_L1);
    const std::int64_t whole = seconds.isString() ? secondsToMs(seconds.toString()) : msOfSeconds(seconds.toDouble());
    return whole + msOfSeconds(time.value("nanos"_L1).toDouble() / 1e9);
}

JsonValue wordsOfResult(const JsonValue &result)
{
    return result.toObject().value("alternatives"_L1).toArray().at(0).toObject().value("words"_L1).toArray();
}

JsonValue speakerOf(const JsonValue &w)
{
    return fieldOf(w, {"speakerTag"_L1, "speaker_tag"_L1, "speakerLabel"_L1, "speaker_label"_L1});
}

void readWord(const JsonValue &w, FoundWords &found)
{
    const QString text = w.value("word"_L1).toString().trimmed();
    if (text.isEmpty())
        return;
    const JsonValue tag = speakerOf(w);
    const QString speaker = tag.isDouble() && tag.toInt() == 0 ? QString() : speakerField(tag, u"speaker"_s);
    const auto span = spanOf(timeOf(fieldOf(w, {"startTime"_L1, "start_time"_L1, "startOffset"_L1})),
                             timeOf(fieldOf(w, {"endTime"_L1, "end_time"_L1, "endOffset"_L1})));
    if (span)
        found.add(text, span->start, span->end, confidenceField(w.value("confidence"_L1)), speaker);
    else
        found.addUntimed(text, speaker);
}

} // namespace

bool isGoogle(const WordSource &source)
{
    const JsonValue results = source.json.object().value("results"_L1).toArray();
    return !results.isEmpty() && results.at(0).toObject().contains("alternatives"_L1);
}

void readGoogle(const WordSource &source, FoundWords &found)
{
    const JsonValue results = source.json.object().value("results"_L1).toArray();
    // With speaker tags the last result repeats every word with its tag: it alone is read.
    const JsonValue last = wordsOfResult(results.last());
    if (!last.isEmpty() && speakerOf(last.at(0).toObject()).toInt() > 0) {
        for (const JsonValue &value : last)
            readWord(value.toObject(), found);
    } else {
        for (const JsonValue &result : results)
            for (const JsonValue &value : wordsOfResult(result))
                readWord(value.toObject(), found);
    }
    found.holdsTranscript();
}
