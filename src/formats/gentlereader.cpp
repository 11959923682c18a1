#include "formats/gentlereader.h"

#include "formats/foundwords.h"
#include "formats/jsonfields.h"
#include "formats/wordreaders.h"

#include "formats/jsontree.h"

using namespace Qt::StringLiterals;

namespace {

JsonValue wordsOf(const JsonValue &top)
{
    return top.contains("words"_L1) ? top.value("words"_L1).toArray() : top.value("tokens"_L1).toArray();
}

} // namespace

bool isGentle(const WordSource &source)
{
    const JsonValue top = source.json.object();
    const JsonValue words = wordsOf(top);
    if (words.isEmpty())
        return top.value("transcript"_L1).isString() && top.value("words"_L1).isArray();
    const JsonValue first = words.at(0).toObject();
    return first.contains("case"_L1) || first.contains("alignedWord"_L1);
}

void readGentle(const WordSource &source, FoundWords &found)
{
    const JsonValue top = source.json.object();
    const QString transcript = top.value("transcript"_L1).toString();
    for (QStringView line : QStringView(transcript).split(u'\n'))
        found.addLine(line, QString(), 0);
    for (const JsonValue &value : wordsOf(top)) {
        const JsonValue w = value.toObject();
        const QString text = w.value("word"_L1).toString().trimmed();
        if (text.isEmpty())
            continue;
        // not-found-in-audio has no times; success and not-found-in-transcript have.
        if (const auto span = spanOf(secondsField(w.value("start"_L1)), secondsField(w.value("end"_L1))))
            found.add(text, span->start, span->end, 1);
        else
            found.addUntimed(text);
    }
}
