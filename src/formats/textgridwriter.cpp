#include "formats/textgridwriter.h"

#include "base/timetext.h"
#include "base/utf8writer.h"
#include "formats/annotatedinterview.h"
#include "formats/tieritems.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

// What the count pass learns of a tier: its intervals (gaps included, up to
// its last item) and where its last item ends.
struct TierExtent
{
    std::int64_t intervals = 0;
    std::int64_t end = 0;
};

// Walks a tier's intervals from 0 to xmax, gaps as empty texts; the last
// gap only when xmax is given (the count pass does not know it yet).
void walkIntervals(const TierItems &items, std::int64_t xmax, const TierItemSink &interval)
{
    TierLayout layout;
    items([&](std::int64_t start, std::int64_t end, QStringView text) {
        const std::int64_t gapStart = layout.end();
        const auto [from, to] = layout.place(start, end);
        if (from > gapStart)
            interval(gapStart, from, {});
        interval(from, to, text);
    });
    if (xmax > layout.end())
        interval(layout.end(), xmax, {});
}

TierExtent extentOf(const TierItems &items)
{
    TierExtent extent;
    walkIntervals(items, 0, [&](std::int64_t, std::int64_t end, QStringView) {
        ++extent.intervals;
        extent.end = end;
    });
    return extent;
}

QString seconds(std::int64_t ms)
{
    QString text;
    appendSecondsText(text, ms);
    return text;
}

// A TextGrid text is quoted; a quote inside it is doubled.
QString quoted(QStringView text)
{
    QString out = u"\""_s;
    out.reserve(text.size() + 2);
    for (QChar c : text) {
        out += c;
        if (c == u'"')
            out += c;
    }
    out += u'"';
    return out;
}

} // namespace

void writeTextGrid(AtomicFile &out, const AnnotatedInterview &interview)
{
    std::vector<NamedTier> tiers{{u"phrases"_s, phraseItems(interview)}, {u"words"_s, wordItems(interview)}};
    if (const std::vector<QString> speakers = interview.speakers(); speakers.size() >= 2)
        for (const QString &speaker : speakers)
            tiers.push_back({speaker + u" - words"_s, speakerWordItems(interview, speaker)});

    // The count of every tier's intervals comes before them, and the end
    // of the grid before every tier: one pass to count, one to write.
    std::vector<TierExtent> extents;
    std::int64_t xmax = std::max<std::int64_t>(interview.lengthMs, 0);
    for (const NamedTier &tier : tiers) {
        extents.push_back(extentOf(tier.items));
        xmax = std::max(xmax, extents.back().end);
    }
    const QString end = seconds(xmax);

    Utf8Writer w(out);
    w << "File type = \"ooTextFile\"\nObject class = \"TextGrid\"\n\nxmin = 0 \nxmax = " << end
      << " \ntiers? <exists> \nsize = " << QString::number(tiers.size()) << " \nitem []: \n";
    for (std::size_t t = 0; t < tiers.size(); ++t) {
        const std::int64_t count = extents[t].intervals + (xmax > extents[t].end ? 1 : 0);
        w << "    item [" << QString::number(t + 1) << "]:\n        class = \"IntervalTier\" \n        name = "
          << quoted(tiers[t].name) << " \n        xmin = 0 \n        xmax = " << end
          << " \n        intervals: size = " << QString::number(count) << " \n";
        std::int64_t k = 0;
        walkIntervals(tiers[t].items, xmax, [&](std::int64_t from, std::int64_t to, QStringView text) {
            w << "        intervals [" << QString::number(++k) << "]:\n            xmin = " << seconds(from)
              << " \n            xmax = " << seconds(to) << " \n            text = " << quoted(text) << " \n";
        });
    }
    w.flush();
}
