// Times the SRT step of Glue on 1,000,000 words: cues cut to the streaming
// profile (every word timed, lines laid out) against the classic cues
// (a cue per phrase, shaped and split), both rendered as SRT lines. The
// phrases are built once, outside the timing: both steps start from them.
#include "job/subtitlesteps.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <malloc.h>
#include <vector>

namespace {

const char *const vocabulary[] = {"we",    "moved",   "to",      "the",     "city",    "in",     "spring",
                                  "my",    "father",  "found",   "work",    "at",      "harbour", "and",
                                  "all",   "thought", "that",    "life",    "would",   "be",     "easier",
                                  "there", "school",  "village", "morning", "brother", "walked", "dyke"};

// Words at 120 to 220 a minute, sentences of 3 to 25 words with now and then
// a comma, pauses of 0.1 to 2 s between sentences, two speakers.
std::vector<WordRow> makeWords(int n)
{
    QRandomGenerator random(28);
    const QString speakers[2] = {QStringLiteral("Interviewer"), QStringLiteral("Respondent")};
    std::vector<WordRow> rows(static_cast<std::size_t>(n));
    std::int64_t t = 0;
    int wpm = 170;
    int left = 0;
    int speaker = 0;
    for (int i = 0; i < n; ++i) {
        if (left == 0) {
            left = 3 + int(random.bounded(23));
            t += 100 + random.bounded(1900);
            if (random.bounded(6) == 0)
                speaker = 1 - speaker;
            if (random.bounded(10) == 0)
                wpm = 120 + int(random.bounded(101));
        }
        WordRow &row = rows[std::size_t(i)];
        row.number = i + 1;
        row.start = t;
        row.end = t + 60000 / wpm * 8 / 10;
        row.text = QLatin1String(vocabulary[random.bounded(int(std::size(vocabulary)))]);
        if (--left == 0)
            row.text += u'.';
        else if (random.bounded(8) == 0)
            row.text += u',';
        row.speaker = speakers[speaker];
        t += 60000 / wpm;
    }
    return rows;
}

// The fastest and the median of a few runs, in ms.
std::pair<double, double> measure(int runs, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int k = 0; k < runs; ++k) {
        QElapsedTimer clock;
        clock.start();
        work();
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {times.front(), times[times.size() / 2]};
}

} // namespace

int main(int argc, char *argv[])
{
    mallopt(M_TRIM_THRESHOLD, 1 << 30); // keep freed memory: runs alike, not the allocator
    const int words = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    const std::vector<WordRow> rows = makeWords(words);
    GlueSettings classic;
    GlueSettings streaming;
    streaming.subtitleProfile = 1;
    const std::vector<PhraseRow> phrases = buildPhrases(rows, classic);

    std::size_t cues[2] = {};
    std::pair<double, double> times[2];
    const GlueSettings *settings[2] = {&classic, &streaming};
    // In turn, so that a busy machine slows both alike.
    std::vector<double> each[2];
    for (int k = 0; k < runs; ++k) {
        for (int s = 0; s < 2; ++s) {
            const auto t = measure(1, [&] {
                CueList list;
                makeCues(list, rows, phrases, *settings[s]);
                const QStringList lines = list.srtLines();
                cues[s] = list.cues.size();
            });
            each[s].push_back(t.first);
        }
    }
    for (int s = 0; s < 2; ++s) {
        std::sort(each[s].begin(), each[s].end());
        times[s] = {each[s].front(), each[s][each[s].size() / 2]};
        std::printf("%-10s %d words, %zu phrases -> %8zu cues: fastest %8.1f ms, median %8.1f ms of %d\n",
                    s == 0 ? "classic" : "streaming", words, phrases.size(), cues[s], times[s].first,
                    times[s].second, runs);
    }
    std::printf("streaming / classic: fastest %.2f, median %.2f (aim: at most 1.5)\n",
                times[1].first / times[0].first, times[1].second / times[0].second);
    return 0;
}
