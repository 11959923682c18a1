#include "formats/awsreader.h"

#include "formats/foundwords.h"
#include "formats/jsonfields.h"
#include "formats/wordreaders.h"

#include <QHash>
#include "formats/jsontree.h"

using namespace Qt::StringLiterals;

bool isAws(const WordSource &source)
{
    return source.json.object().value("results"_L1).toObject().value("items"_L1).isArray();
}

void readAws(const WordSource &source, FoundWords &found)
{
    const JsonValue results = source.json.object().value("results"_L1).toObject();
    // The speaker of each word's start time, as speaker_labels lists them.
    QHash<std::int64_t, QString> speakers;
    for (const JsonValue &segment : results.value("speaker_labels"_L1).toObject().value("segments"_L1).toArray())
        for (const JsonValue &value : segment.toObject().value("items"_L1).toArray()) {
            const JsonValue item = value.toObject();
            if (const auto start = secondsField(item.value("start_time"_L1)))
                speakers.insert(*start, item.value("speaker_label"_L1).toString());
        }
    for (const JsonValue &value : results.value("items"_L1).toArray()) {
        const JsonValue item = value.toObject();
        const JsonValue best = item.value("alternatives"_L1).toArray().at(0).toObject();
        const QString text = best.value("content"_L1).toString().trimmed();
        if (text.isEmpty())
            continue;
        if (item.value("type"_L1).toString() == "punctuation"_L1) {
            found.appendToLast(text);
            continue;
        }
        const auto span = spanOf(secondsField(item.value("start_time"_L1)), secondsField(item.value("end_time"_L1)));
        QString speaker = item.value("speaker_label"_L1).toString();
        if (speaker.isEmpty() && span)
            speaker = speakers.value(span->start);
        if (span)
            found.add(text, span->start, span->end, confidenceField(best.value("confidence"_L1)), speaker);
        else
            found.addUntimed(text, speaker);
    }
    found.holdsTranscript();
}
