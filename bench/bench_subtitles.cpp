// Times shaping and rendering of large cue lists, to show that both grow
// linearly with the number of cues, and sets them against reading and
// writing the same SRT file without shaping.
#include "base/textfile.h"
#include "formats/cuelist.h"
#include "formats/subtitlereader.h"
#include "job/reshape.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <malloc.h>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const char *const vocabulary[] = {"we",    "moved",   "to",      "the",     "city",    "in",     "spring",
                                  "my",    "father",  "found",   "work",    "at",      "harbour", "and",
                                  "all",   "thought", "that",    "life",    "would",   "be",     "easier",
                                  "there", "school",  "village", "morning", "brother", "walked", "dyke"};

// A third of the texts is longer than 95 characters; some carry a remark.
QString makeText(QRandomGenerator &random, int i)
{
    const int length = i % 3 == 0 ? 100 + int(random.bounded(200)) : 20 + int(random.bounded(70));
    QString t;
    if (i % 7 == 0)
        t += QStringLiteral("[laughs] ");
    while (t.size() < length) {
        t += QLatin1String(vocabulary[random.bounded(int(std::size(vocabulary)))]);
        t += u' ';
    }
    return t.trimmed();
}

void fill(CueList &list, int n)
{
    QRandomGenerator random(7);
    // Cues of an earlier run would be freed inside the timing.
    list.cues = std::vector<Cue>();
    list.cues.resize(static_cast<std::size_t>(n));
    qint64 t = 0;
    for (int i = 0; i < n; ++i) {
        Cue &c = list.cues[size_t(i)];
        c.number = i + 1;
        c.start = t;
        c.end = t + 1500 + random.bounded(6000);
        c.text = makeText(random, i);
        t = c.end + (i % 5 == 0 ? -40 : 200); // now and then an overlap
    }
}

struct Time
{
    double first; // the first run, in fresh memory
    double median;
};

// The first and the median of a few runs, in ms; prepare readies a run
// outside the timing.
Time measure(int runs, const std::function<void()> &prepare, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int k = 0; k < runs; ++k) {
        prepare();
        QElapsedTimer clock;
        clock.start();
        work();
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    const double first = times.front();
    std::sort(times.begin(), times.end());
    return {first, times[times.size() / 2]};
}

} // namespace

int main()
{
    // Keep freed memory in the process. Without this glibc hands the large
    // blocks of the million-cue runs back to the kernel after every run and
    // the next run pays a page fault for each fresh page, while the smaller
    // runs reuse theirs: the ratio would measure the allocator, not the code.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_MAX, 0); // large blocks from the heap too, so that they are kept

    QTemporaryDir folder;
    const int runs = 5;
    Time shaping[2] = {};
    const int counts[2] = {100000, 1000000};

    for (int j = 0; j < 2; ++j) {
        const int n = counts[j];
        CueList list;
        QStringList lines;
        shaping[j] = measure(runs, [&] {
            // Lines of an earlier run would be freed inside the timing.
            lines = QStringList();
            fill(list, n);
        }, [&] {
            list.shape();
            lines = list.srtLines();
        });
        std::printf("shape + render %8d cues -> %8zu cues: median %8.1f ms of %d, first run %8.1f ms\n", n,
                    list.cues.size(), shaping[j].median, runs, shaping[j].first);
    }
    std::printf("ratio 1,000,000 / 100,000: median %.2f, first run %.2f (linear is 10)\n",
                shaping[1].median / shaping[0].median, shaping[1].first / shaping[0].first);

    // The same 1,000,000 cues as an SRT file, unshaped.
    const QString file = folder.filePath("cues.srt");
    const QString copy = folder.filePath("copy.srt");
    {
        CueList list;
        fill(list, counts[1]);
        writeTextFile(file, list.srtLines());
    }
    const Time readWrite = measure(runs, [] {}, [&] {
        CueList list;
        list.cues = parseSubtitleLines(readTextFile(file));
        writeTextFile(copy, list.srtLines());
    });
    std::printf("read + write the SRT file of 1,000,000 cues, unshaped: median %8.1f ms of %d, first run %8.1f ms\n",
                readWrite.median, runs, readWrite.first);
    std::printf("ratio shape + render / read + write at 1,000,000: median %.2f, first run %.2f\n",
                shaping[1].median / readWrite.median, shaping[1].first / readWrite.first);

    const Time whole = measure(runs, [] {}, [&] { reshapeSubtitles(file, copy, ReshapeOptions{}); });
    std::printf("read + shape + render + write (reshape) of 1,000,000 cues: median %8.1f ms of %d\n",
                whole.median, runs);

    // One cue whose text has no blank at all (a run of CJK text, say): every
    // part is cut at a count of characters. Ten times the text should take
    // about ten times as long.
    Time longText[2] = {};
    const int lengths[2] = {200000, 2000000};
    for (int j = 0; j < 2; ++j) {
        CueList list;
        longText[j] = measure(runs, [&] {
            list.cues = std::vector<Cue>();
            list.cues.push_back({1, 0, 3600000, QString(lengths[j], u'x')});
        }, [&] { list.shape(); });
        std::printf("shape one cue of %8d characters without a blank -> %6zu cues: median %8.1f ms of %d\n",
                    lengths[j], list.cues.size(), longText[j].median, runs);
    }
    std::printf("ratio 2,000,000 / 200,000 characters: median %.2f (linear is 10)\n",
                longText[1].median / longText[0].median);
    return 0;
}
