// Reads a CTM file of 1,000,000 lines into a word list, as Open CTM does
// (the file's bytes, then parseWordFile), and compares the time with `wc -l`
// on the same file, and the peak memory with the file's size.
//
//   bench_ctm [lines]
#include "base/textfile.h"
#include "formats/wordfile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <sys/resource.h>

namespace {

long peakMemoryKB()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    const int lineCount = argc > 1 ? std::atoi(argv[1]) : 1000000;
    QTemporaryDir dir;
    const QString path = dir.filePath("large.ctm");
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        QByteArray block;
        for (int i = 0; i < lineCount; ++i) {
            const double start = i * 0.31;
            block += QByteArray("interview_part1 1 ") + QByteArray::number(start, 'f', 3) + ' ' +
                     QByteArray::number(start + 0.25, 'f', 3) + " word" + QByteArray::number(i % 977) +
                     " 0." + QByteArray::number(10 + i % 90) + (i % 2 ? " SP_01\n" : " SP_02\n");
            if (block.size() > (1 << 20)) {
                f.write(block);
                block.clear();
            }
        }
        f.write(block);
    }
    const double fileSize = QFileInfo(path).size();
    const long before = peakMemoryKB();

    std::vector<double> wc, reader;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer t;
        t.start();
        QProcess::execute("sh", {"-c", "wc -l < '" + path + "' > /dev/null"});
        wc.push_back(t.nsecsElapsed() / 1e6);

        t.start();
        const std::vector<Word> words = parseWordFile(readFileBytes(path), u' ');
        reader.push_back(t.nsecsElapsed() / 1e6);
        if (words.size() != static_cast<std::size_t>(lineCount))
            return 2;
    }
    const long peak = peakMemoryKB();
    std::printf("CTM file: %d lines, %.1f MB\n", lineCount, fileSize / 1e6);
    std::printf("wc -l:         median %.1f ms\n", median(wc));
    std::printf("parseWordFile: median %.1f ms\n", median(reader));
    std::printf("time ratio (parseWordFile / wc -l): %.2f (aim <= 15)\n", median(reader) / median(wc));
    std::printf("peak memory: %.1f MB, %.2f x the file (aim <= 5; %.1f MB before reading)\n",
                peak / 1e3, peak * 1e3 / fileSize, before / 1e3);
    return 0;
}
