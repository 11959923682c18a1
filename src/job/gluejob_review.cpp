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

int GlueJob::fillUnknownWords()
{
    if (!isGlued())
        return 0;
    const std::vector<UnknownFill> fills = review().fills;
    if (fills.empty())
        return 0;
    bool partTwo = false;
    for (const UnknownFill &fill : fills) {
        WordRow &row = joined.row(fill.row);
        const std::size_t k = joined.partOf(fill.row);
        parts[k].filled.push_back({fill.row - joined.firstRowOf(k), row.text, fill.word});
        row.text = fill.word;
        partTwo = partTwo || k == 1;
    }
    // The fills come in the order of the rows.
    person.wordRowsChanged(WordTable::Main, static_cast<int>(fills.front().row), static_cast<int>(fills.back().row));
    if (partTwo)
        person.wordRowsChanged(WordTable::PartTwo, 0, static_cast<int>(joined.partRows(1).size()) - 1);
    const int count = static_cast<int>(fills.size());
    log(u"Filled %1 unknown words from the transcript"_s.arg(count));
    noteEdit();
    rebuildDerived();
    return count;
}
