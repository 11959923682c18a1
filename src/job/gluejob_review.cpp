// The review list of the glued interview and the fill of unknown words
// from the transcript.

#include "job/gluejob.h"

#include "formats/samples16k.h"

using namespace Qt::Literals::StringLiterals;

const ReviewList &GlueJob::review() const
{
    if (reviewMade)
        return *reviewMade;
    std::vector<PartUnderReview> under;
    if (isGlued()) {
        for (std::size_t k = 0; k < placed.size(); ++k) {
            const std::int64_t start = partOffset(k);
            under.push_back({joined.partRows(k), joined.firstRowOf(k), &parts[k].text, start,
                             start + msAt16k(placed[k].joinedFrames), parts[k].filled});
        }
    }
    reviewMade = reviewParts(under, settings);
    return *reviewMade;
}

void GlueJob::dropReview()
{
    reviewMade.reset();
    person.reviewChanged();
}

Correction GlueJob::fillUnknownWords()
{
    if (!isGlued())
        return {};
    const std::vector<UnknownFill> fills = review().fills;
    if (fills.empty())
        return {};
    // One splice a row, each part's marks before and after on its first.
    Correction correction;
    std::vector<std::vector<FilledMark>> marks(parts.size());
    for (std::size_t k = 0; k < parts.size(); ++k)
        marks[k] = parts[k].filled;
    std::vector<std::size_t> firstSpliceOf(parts.size(), fills.size());
    for (const UnknownFill &fill : fills) {
        const std::size_t k = joined.partOf(fill.row);
        const std::size_t r = fill.row - joined.firstRowOf(k);
        std::vector<WordRow> row = partRowsAsRead(k, r, 1);
        marks[k].push_back({r, row.front().text, fill.word});
        row.front().text = fill.word;
        if (firstSpliceOf[k] == fills.size())
            firstSpliceOf[k] = correction.splices.size();
        correction.splices.push_back(makeSplice(k, r, 1, std::move(row)));
    }
    for (std::size_t k = 0; k < parts.size(); ++k)
        if (firstSpliceOf[k] < fills.size()) {
            RowSplice &first = correction.splices[firstSpliceOf[k]];
            first.filledBefore = parts[k].filled;
            first.filledAfter = std::move(marks[k]);
        }
    redoCorrection(correction);
    log(u"Filled %1 unknown words from the transcript"_s.arg(fills.size()));
    rebuildDerived();
    return correction;
}
