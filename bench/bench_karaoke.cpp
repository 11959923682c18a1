// Time of building the karaoke page and writing it for word tables of
// 100,000 and 1,000,000 rows, and their ratio: the walk is linear, so the
// ratio should stay near 10. Timed twice: the page built in memory and then
// written (karaokePage + writeTextFile), and the page streamed to the file
// as Save writes it (writeKaraokePage). Run by hand; never part of the tests.
#include "base/atomicfile.h"
#include "base/textfile.h"
#include "formats/karaokebody.h"
#include "formats/wordrow.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

std::vector<WordRow> makeRows(int n)
{
    static const QString words[] = {QStringLiteral("well"), QStringLiteral("I"),
                                    QStringLiteral("think"), QStringLiteral("so."),
                                    QStringLiteral("SIL"), QStringLiteral("<unk>")};
    std::vector<WordRow> rows(static_cast<std::size_t>(n));
    for (int r = 0; r < n; ++r) {
        WordRow &row = rows[static_cast<std::size_t>(r)];
        row.number = r + 1;
        row.start = static_cast<std::int64_t>(r) * 300;
        row.end = static_cast<std::int64_t>(r) * 300 + 250;
        row.text = words[r % 6];
        row.confidence = 0.9f;
        row.speaker = r % 12 < 6 ? QStringLiteral("Interviewer") : QStringLiteral("Respondent");
    }
    return rows;
}

// The median of five runs of work, in ms.
double medianOfFive(const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

struct Times
{
    double inMemory = 0; // karaokePage, then writeTextFile
    double streamed = 0; // writeKaraokePage
};

Times measure(int n, const QString &folder)
{
    const std::vector<WordRow> rows = makeRows(n);
    const QString title = QStringLiteral("bench");
    const QString audio = folder + "/b.wav";
    const QString page = folder + "/b.html";
    Times times;
    times.inMemory = medianOfFive([&] { writeTextFile(page, karaokePage(rows, title, audio)); });
    times.streamed = medianOfFive([&] {
        AtomicFile out(page);
        writeKaraokePage(out, rows, title, audio);
        out.commit();
    });
    return times;
}

} // namespace

int main()
{
    QTemporaryDir folder;
    const Times small = measure(100000, folder.path());
    const Times large = measure(1000000, folder.path());
    std::printf("karaoke page, 100k rows: %.1f ms (median of 5)\n", small.inMemory);
    std::printf("karaoke page,   1M rows: %.1f ms (median of 5)\n", large.inMemory);
    std::printf("ratio 1M / 100k: %.2f (linear: about 10)\n", large.inMemory / small.inMemory);
    std::printf("karaoke page streamed, 100k rows: %.1f ms (median of 5)\n", small.streamed);
    std::printf("karaoke page streamed,   1M rows: %.1f ms (median of 5)\n", large.streamed);
    std::printf("ratio streamed 1M / 100k: %.2f (linear: about 10)\n", large.streamed / small.streamed);
    return 0;
}
