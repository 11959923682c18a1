#include "job/subtitlesteps.h"

#include "base/numbers.h"
#include "job/cuefitting.h"
#include "job/phrasebuilder.h"
#include "job/subtitlewords.h"

#include <cstdint>

std::vector<PhraseRow> buildPhrases(std::span<const WordRow> rows, const GlueSettings &settings)
{
    return PhraseBuilder(settings.skipStarWords, settings.blankSilence,
                         settings.endPhrasesAtPauses ? settings.phrasePauseMs : 0)
        .build(rows);
}

namespace {

// The milliseconds of a phrase's time cell, read as the SRT step has always
// read the cell's text: a decimal number, rounded half to even. A number cell
// beyond 2^53 goes the same way, since a double does not hold it exactly.
std::int64_t cueTime(const PhraseRow &phrase, PhraseRow::Column column)
{
    const std::int64_t ms = column == PhraseRow::Start ? phrase.start : phrase.end;
    constexpr std::int64_t exact = std::int64_t(1) << 53;
    if (!phrase.isTyped(column) && ms >= -exact && ms <= exact)
        return ms;
    return roundHalfEven(parseFloat(phrase.cell(column)));
}

} // namespace

void fillCues(CueList &cues, const std::vector<PhraseRow> &phrases, const GlueSettings &settings)
{
    const std::size_t n = phrases.size();
    cues.cues.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        Cue &cue = cues.cues[i];
        cue.number = static_cast<std::int32_t>(i + 1);
        cue.start = cueTime(phrases[i], PhraseRow::Start);
        cue.end = cueTime(phrases[i], PhraseRow::End);
        cue.text = phrases[i].text;
    }
    cues.shape();
    if (settings.widenCues)
        cues.widen(settings.msBefore, settings.msAfter);
}

void makeCues(CueList &cues, std::span<const WordRow> rows, const std::vector<PhraseRow> &phrases,
              const GlueSettings &settings)
{
    const SubtitleProfile &profile = settings.profile();
    if (profile.classic) {
        fillCues(cues, phrases, settings);
        return;
    }
    CueTiming timing;
    if (settings.widenCues) {
        timing.lead = settings.msBefore;
        timing.tail = settings.msAfter;
    }
    timing.framesPerSecond = settings.framesPerSecond;
    fitCues(cues, subtitleWords(rows, phrases, settings), profile, timing);
}
