#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <functional>
#include <vector>

struct AnnotatedInterview;

// The items of one tier of an annotation file, walked as often as its
// writer needs (a count first, then the text), never held: put(start, end,
// text) for each, in order, times in ms as the rows hold them.
using TierItemSink = std::function<void(std::int64_t start, std::int64_t end, QStringView text)>;
using TierItems = std::function<void(const TierItemSink &put)>;

struct NamedTier
{
    QString name;
    TierItems items;
};

// Every phrase, from its first row's start to its last row's end.
TierItems phraseItems(const AnnotatedInterview &interview);
// Every row that holds a word (holdsWord), of every speaker or of one.
TierItems wordItems(const AnnotatedInterview &interview);
TierItems speakerWordItems(const AnnotatedInterview &interview, const QString &speaker);
