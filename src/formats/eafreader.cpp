#include "formats/eafreader.h"

#include "base/error.h"
#include "base/numbers.h"
#include "formats/foundwords.h"
#include "formats/tierchoice.h"
#include "formats/wordreaders.h"

#include <QHash>
#include <QXmlStreamReader>

#include <algorithm>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

struct Annotation
{
    QString id;
    QString slot1, slot2; // an alignable annotation's
    QString ref;          // a reference annotation's
    QString value;
};

struct Tier
{
    QString id, participant, parent;
    bool timed = false; // holds alignable annotations
    std::vector<Annotation> annotations;
};

struct Document
{
    QHash<QString, std::optional<std::int64_t>> timeSlots;
    std::vector<Tier> tiers;
};

QString attribute(const QXmlStreamReader &xml, QLatin1StringView name)
{
    return xml.attributes().value(name).toString();
}

Document readDocument(QByteArrayView utf8)
{
    Document doc;
    QXmlStreamReader xml(QByteArray::fromRawData(utf8.data(), utf8.size()));
    Tier *tier = nullptr;
    Annotation *annotation = nullptr;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringView name = xml.name();
        if (name == "TIME_SLOT"_L1) {
            const QString value = attribute(xml, "TIME_VALUE"_L1);
            doc.timeSlots.insert(attribute(xml, "TIME_SLOT_ID"_L1),
                             value.isEmpty() ? std::nullopt : std::optional<std::int64_t>(roundHalfEven(parseFloat(value))));
        } else if (name == "TIER"_L1) {
            doc.tiers.push_back({attribute(xml, "TIER_ID"_L1), attribute(xml, "PARTICIPANT"_L1).trimmed(),
                                 attribute(xml, "PARENT_REF"_L1), false, {}});
            tier = &doc.tiers.back();
        } else if (tier && name == "ALIGNABLE_ANNOTATION"_L1) {
            tier->timed = true;
            tier->annotations.push_back({attribute(xml, "ANNOTATION_ID"_L1), attribute(xml, "TIME_SLOT_REF1"_L1),
                                         attribute(xml, "TIME_SLOT_REF2"_L1), QString(), QString()});
            annotation = &tier->annotations.back();
        } else if (tier && name == "REF_ANNOTATION"_L1) {
            tier->annotations.push_back({attribute(xml, "ANNOTATION_ID"_L1), QString(), QString(),
                                         attribute(xml, "ANNOTATION_REF"_L1), QString()});
            annotation = &tier->annotations.back();
        } else if (annotation && name == "ANNOTATION_VALUE"_L1) {
            annotation->value = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        }
    }
    if (xml.hasError())
        throw Error(u"line %1: %2"_s.arg(xml.lineNumber()).arg(xml.errorString()));
    return doc;
}

struct Timed
{
    std::optional<std::int64_t> start, end;
};

// Where every annotation lies: an alignable one at its timeSlots, a reference
// at what it refers to.
class Times
{
public:
    explicit Times(const Document &doc) : doc(doc)
    {
        for (const Tier &tier : doc.tiers)
            for (const Annotation &a : tier.annotations)
                byId.insert(a.id, &a);
    }

    Timed of(const Annotation &a) const
    {
        const Annotation *at = &a;
        // A chain of references ends at an alignable annotation; a loop is damage.
        for (int depth = 0; !at->ref.isEmpty(); ++depth) {
            at = byId.value(at->ref);
            if (!at || depth > 64)
                return {};
        }
        return {doc.timeSlots.value(at->slot1), doc.timeSlots.value(at->slot2)};
    }

private:
    const Document &doc;
    QHash<QString, const Annotation *> byId;
};

struct Item
{
    std::int64_t order; // the start, or the start before an untimed item
    Timed time;
    QStringList words;
    QString speaker;
};

void addItem(FoundWords &found, const Item &item)
{
    if (item.time.start && item.time.end) {
        if (item.words.size() == 1)
            found.add(item.words.front(), *item.time.start, *item.time.end, 1, item.speaker);
        else
            found.addStretch(item.words, *item.time.start, *item.time.end, item.speaker);
    } else {
        for (const QString &word : item.words)
            found.addUntimed(word, item.speaker);
    }
}

} // namespace

bool isEaf(const WordSource &source)
{
    QXmlStreamReader xml(QByteArray::fromRawData(source.utf8.data(), source.utf8.size()));
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement)
            return xml.name() == "ANNOTATION_DOCUMENT"_L1;
    return false;
}

void readEaf(const WordSource &source, FoundWords &found)
{
    const Document doc = readDocument(source.utf8);
    const Times times(doc);
    QStringList names;
    std::vector<bool> timed;
    for (const Tier &tier : doc.tiers) {
        names << tier.id;
        timed.push_back(tier.timed);
    }
    std::vector<Item> items;
    std::vector<Item> lines;
    for (const ChosenTier &chosen : chooseWordTiers(names, timed, source.tier)) {
        const Tier &tier = doc.tiers[static_cast<std::size_t>(chosen.index)];
        QString speaker = tier.participant;
        if (speaker.isEmpty())
            speaker = chosen.speaker;
        if (speaker.isEmpty() && tier.id.compare(u"words", Qt::CaseInsensitive) != 0
            && tier.id.compare(u"word", Qt::CaseInsensitive) != 0)
            speaker = tier.id;
        std::int64_t order = 0;
        QString lastRef;
        // Annotations of a time subdivision that meet at slots without a
        // value: one stretch from the first known time to the next.
        std::optional<Item> open;
        for (const Annotation &a : tier.annotations) {
            const QStringList words = blankSeparatedWords(a.value);
            if (words.isEmpty())
                continue;
            const Timed time = times.of(a);
            if (open && !time.start) {
                open->words << words;
                if (time.end) {
                    open->time.end = time.end;
                    items.push_back(std::move(*open));
                    open.reset();
                }
                continue;
            }
            if (open) { // the run ended at a slot with a value of its own: its words stay untimed
                open->time.end.reset();
                items.push_back(std::move(*open));
                open.reset();
            }
            if (time.start)
                order = *time.start;
            if (time.start && !time.end && a.ref.isEmpty()) {
                open = Item{order, time, words, speaker};
                continue;
            }
            // The words of one symbolic subdivision share their parent's time.
            if (!a.ref.isEmpty() && a.ref == lastRef && !tier.timed) {
                items.back().words << words;
                continue;
            }
            lastRef = a.ref;
            items.push_back({order, time, words, speaker});
        }
        if (open) {
            open->time.end.reset();
            items.push_back(std::move(*open));
        }
        for (const Tier &parent : doc.tiers)
            if (!tier.parent.isEmpty() && parent.id == tier.parent)
                for (const Annotation &a : parent.annotations)
                    lines.push_back({times.of(a).start.value_or(0), {}, {a.value}, speaker});
    }
    // Tiers of several speakers: one list in order of start.
    std::stable_sort(items.begin(), items.end(), [](const Item &a, const Item &b) { return a.order < b.order; });
    for (const Item &item : items)
        addItem(found, item);
    std::stable_sort(lines.begin(), lines.end(), [](const Item &a, const Item &b) { return a.order < b.order; });
    for (const Item &line : lines)
        found.addLine(line.words.front(), line.speaker, line.order);
    found.holdsTranscript();
}
