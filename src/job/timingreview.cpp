#include "job/timingreview.h"

#include <array>
#include <optional>

namespace {

// The kinds judged row by row, each reported once per run of rows.
constexpr std::array runKinds{ReviewKind::ZeroLength, ReviewKind::LongWord, ReviewKind::LowConfidence,
                              ReviewKind::Backwards, ReviewKind::BeyondRecording};

// A run of rows of one kind.
struct Run
{
    std::size_t first = 0;
    RunWords words;
};

bool untimed(const WordRow &row)
{
    return row.isTyped(WordRow::Start) || row.isTyped(WordRow::End);
}

} // namespace

void reviewTimes(const PartUnderReview &part, int number, const GlueSettings &settings, std::vector<ReviewRow> &out)
{
    const std::span<const WordRow> rows = part.rows;
    auto add = [&](std::size_t i, ReviewKind kind, QString words, std::int64_t time) {
        out.push_back({number, time, part.firstRow + i, kind, std::move(words), QString()});
    };

    // Three or more rows with one start; their zero lengths are no news then.
    std::vector<bool> stacked(rows.size(), false);
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t end = i + 1;
        while (!untimed(rows[i]) && end < rows.size() && !untimed(rows[end]) && rows[end].start == rows[i].start)
            ++end;
        if (end - i >= 3) {
            RunWords words;
            for (std::size_t j = i; j < end; ++j) {
                words.add(rows[j].text);
                stacked[j] = true;
            }
            add(i, ReviewKind::Stacked, words.text(), rows[i].start);
        }
        i = end;
    }

    std::array<std::optional<Run>, runKinds.size()> runs;
    auto close = [&](std::size_t k) {
        if (!runs[k])
            return;
        // One doubtful word among sure ones is what the page marks; a run is news.
        const int least = runKinds[k] == ReviewKind::LowConfidence ? 2 : 1;
        if (runs[k]->words.count() >= least)
            add(runs[k]->first, runKinds[k], runs[k]->words.text(), rows[runs[k]->first].start);
        runs[k].reset();
    };
    std::optional<std::size_t> previous;     // the row before, timed
    std::optional<std::size_t> previousWord; // the word before, timed, no silence
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const WordRow &row = rows[i];
        if (untimed(row)) {
            for (std::size_t k = 0; k < runs.size(); ++k)
                close(k);
            continue;
        }
        const bool silence = isSilenceWord(row.text);
        const std::array<bool, runKinds.size()> is{
            row.end == row.start && !stacked[i],
            !silence && row.end - row.start > settings.longWordMs,
            !silence && row.confidence < settings.lowConfidence,
            row.end < row.start || (previous && row.start < rows[*previous].start),
            part.recordingEndMs >= 0 && row.end > part.recordingEndMs,
        };
        for (std::size_t k = 0; k < runs.size(); ++k) {
            if (!is[k]) {
                close(k);
                continue;
            }
            if (!runs[k])
                runs[k] = Run{i, {}};
            runs[k]->words.add(row.text);
        }
        if (!silence) {
            if (previousWord) {
                const WordRow &before = rows[*previousWord];
                if (before.speaker == row.speaker && row.start - before.end > settings.longGapMs)
                    add(*previousWord, ReviewKind::LongGap, before.text + QStringLiteral(" \u2026 ") + row.text, before.end);
            }
            previousWord = i;
        }
        previous = i;
    }
    for (std::size_t k = 0; k < runs.size(); ++k)
        close(k);
}
