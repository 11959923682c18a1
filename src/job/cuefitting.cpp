#include "job/cuefitting.h"

#include "formats/cuelines.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr std::int64_t never = std::numeric_limits<std::int64_t>::max() / 4;

// a + b and a - b, kept inside the 64-bit range: times from a nonsense file
// must not wrap around.
std::int64_t plus(std::int64_t a, std::int64_t b)
{
    std::int64_t r;
    if (__builtin_add_overflow(a, b, &r))
        return b > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
    return r;
}

std::int64_t minus(std::int64_t a, std::int64_t b)
{
    std::int64_t r;
    if (__builtin_sub_overflow(a, b, &r))
        return b < 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
    return r;
}

// The costs of a cut, in points. A rule broken costs more than any choice
// of where to cut; among cuts, punctuation and pauses come first.
constexpr double perCue = 100;
constexpr double tooFast = 1e6;       // plus 100 per ms missing
constexpr double tooLong = 1e6;       // plus 100 per ms too many
constexpr double tooShort = 1e5;      // plus 10 per ms missing
constexpr double twoSpeakers = 5000;  // per change of speaker inside a cue
constexpr double twoPhrases = 600;    // per phrase end inside a cue
constexpr double cutAtClause = 200;   // after a comma, a dash ...
constexpr double cutAtPause = 300;    // before a pause of pauseMs
constexpr double cutAnywhere = 1000;  // at any other blank
constexpr double unevenCut = 0.1;     // times the square of the room left in a cue cut mid-phrase
constexpr std::int64_t pauseMs = 300;

struct Limits
{
    int lineChars;
    int lines;
    int cueChars;
    double cps;
    std::int64_t minMs;
    std::int64_t maxMs; // never for none
    std::int64_t gapMs;
};

// The cheapest cut of the words into cues: dynamic programming over the
// word boundaries, each cue at most as many words as fit its lines.
std::vector<std::size_t> cueStarts(std::span<const TimedWord> words, const Limits &limits)
{
    const std::size_t n = words.size();
    std::vector<double> best(n + 1, std::numeric_limits<double>::infinity());
    std::vector<std::size_t> from(n + 1, 0);
    best[0] = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (best[i] == std::numeric_limits<double>::infinity())
            continue;
        const bool midStart = i > 0 && !words[i - 1].endsPhrase;
        int lines = 1;
        int lineLength = 0;
        int chars = -1;
        int phraseEnds = 0;
        int speakerChanges = 0;
        for (std::size_t j = i + 1; j <= n; ++j) {
            const TimedWord &last = words[j - 1];
            // The words laid out greedily: the fewest lines they need.
            if (lineLength == 0)
                lineLength = last.length;
            else if (lineLength + 1 + last.length <= limits.lineChars)
                lineLength += 1 + last.length;
            else {
                ++lines;
                lineLength = last.length;
            }
            chars += 1 + last.length;
            if (j > i + 1) {
                if (lines > limits.lines || chars > limits.cueChars)
                    break;
                speakerChanges += last.newSpeaker ? 1 : 0;
                phraseEnds += words[j - 2].endsPhrase ? 1 : 0;
            }
            const std::int64_t start = words[i].start;
            const std::int64_t speech = minus(last.end, start);
            const std::int64_t nextStart = j < n ? words[j].start : never;
            std::int64_t room = std::min(minus(minus(nextStart, limits.gapMs), start), limits.maxMs);
            room = std::max<std::int64_t>({room, minus(last.start, start), 1});
            double cost = perCue + twoSpeakers * speakerChanges + twoPhrases * phraseEnds;
            if (limits.cps > 0) {
                const double need = chars * 1000.0 / limits.cps;
                if (double(room) < need)
                    cost += tooFast + (need - double(room)) * 100;
            }
            if (speech > limits.maxMs)
                cost += tooLong + double(speech - limits.maxMs) * 100;
            if (room < limits.minMs)
                cost += tooShort + double(limits.minMs - room) * 10;
            if (j < n && !last.endsPhrase && !words[j].newSpeaker) {
                if (endsClause(last.text))
                    cost += cutAtClause;
                else if (minus(nextStart, last.end) >= pauseMs)
                    cost += cutAtPause;
                else
                    cost += cutAnywhere;
            }
            if (midStart || (j < n && !last.endsPhrase)) {
                const double left = std::max(0, limits.cueChars - chars);
                cost += unevenCut * left * left;
            }
            if (best[i] + cost < best[j]) {
                best[j] = best[i] + cost;
                from[j] = i;
            }
            // Past the longest a cue may last, twice over, no cut is cheaper.
            if (speech > 2 * limits.maxMs && j > i + 1)
                break;
        }
    }
    std::vector<std::size_t> starts;
    for (std::size_t j = n; j > 0; j = from[j])
        starts.push_back(from[j]);
    std::reverse(starts.begin(), starts.end());
    return starts;
}

} // namespace

void fitCues(CueList &cues, std::span<const TimedWord> words, const SubtitleProfile &profile, const CueTiming &timing)
{
    const Limits limits{std::max(1, profile.charsPerLine),
                        std::max(1, profile.lines),
                        std::max(1, profile.cueChars()),
                        profile.charsPerSecond,
                        profile.minDurationMs,
                        profile.maxDurationMs > 0 ? std::int64_t(profile.maxDurationMs) : never,
                        profile.minGapMs(timing.framesPerSecond)};
    const std::vector<std::size_t> starts = cueStarts(words, limits);
    const std::size_t count = starts.size();
    cues.cues.assign(count, Cue());
    const auto firstWord = [&](std::size_t k) -> const TimedWord & { return words[starts[k]]; };
    const auto lastWord = [&](std::size_t k) -> const TimedWord & {
        return words[(k + 1 < count ? starts[k + 1] : words.size()) - 1];
    };

    // Starts: the first word's start, less the lead where the cue before
    // leaves its words and the gap room, and no longer than the cue may last.
    for (std::size_t k = 0; k < count; ++k) {
        const std::int64_t first = firstWord(k).start;
        std::int64_t start = std::max<std::int64_t>(minus(first, timing.lead), 0);
        if (k > 0)
            start = std::max(start, plus(lastWord(k - 1).end, limits.gapMs));
        start = std::max(start, minus(lastWord(k).end, limits.maxMs));
        cues.cues[k].start = std::min(start, first);
    }
    std::vector<QStringView> texts; // of one cue, reused
    std::vector<int> lengths;
    // Ends: the last word's end, lengthened for the shortest time and the
    // reading speed (taking back the next cue's lead if need be) and by the
    // tail, then shortened for the gap, never before the last word starts.
    for (std::size_t k = 0; k < count; ++k) {
        Cue &cue = cues.cues[k];
        const TimedWord &last = lastWord(k);
        const std::size_t end = k + 1 < count ? starts[k + 1] : words.size();
        int chars = -1;
        for (std::size_t w = starts[k]; w < end; ++w)
            chars += 1 + words[w].length;
        std::int64_t need = std::max(last.end, plus(cue.start, limits.minMs));
        if (limits.cps > 0)
            need = std::max(need, plus(cue.start, static_cast<std::int64_t>(std::ceil(chars * 1000.0 / limits.cps - 1e-9))));
        need = std::max(std::min(need, plus(cue.start, limits.maxMs)), last.end);
        std::int64_t wanted = std::max(std::min(plus(last.end, timing.tail), plus(cue.start, limits.maxMs)), need);
        if (k + 1 < count) {
            Cue &next = cues.cues[k + 1];
            if (plus(need, limits.gapMs) > next.start)
                next.start = std::min(firstWord(k + 1).start, plus(need, limits.gapMs));
            wanted = std::min(wanted, minus(next.start, limits.gapMs));
        }
        cue.end = std::max({wanted, last.start, cue.start});
        cue.number = static_cast<std::int32_t>(k + 1);

        texts.clear();
        lengths.clear();
        for (std::size_t w = starts[k]; w < end; ++w) {
            texts.push_back(words[w].text);
            lengths.push_back(words[w].length);
        }
        cue.text = layOutCueLines(texts, lengths, limits.lineChars, limits.lines);
    }
}
