// The interview file at 2 x WORDS words, with corrections:
//  1. opening it (readInterview, then openInterview) against opening its two
//     word files through the Open commands, fastest of RUNS each, and the
//     ratio (the aim: 1.5 at most);
//  2. the window (offscreen) writing its recovery copy: the longest wait of
//     its event loop (a 1 ms timer's ticks) while the copy is made and
//     written, the worst of RUNS (the aim: 100 ms at most), and how long
//     the writing took.
//
//   bench_interview [words] [runs]     (defaults: 500000 3)

#include "job/gluejob.h"
#include "job/interviewinputs.h"
#include "ui/mainwindow.h"
#include "ui/recoverycopy.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

bool writeWords(const QString &path, int count, int part)
{
    QByteArray b;
    b.reserve(static_cast<qsizetype>(count) * 56);
    char line[128];
    for (int i = 0; i < count; ++i) {
        const int n = std::snprintf(line, sizeof line, "part%d\t1\t%.3f\t%.3f\tword%d\t0.%02d\tSpeaker %d\r\n", part,
                                    i * 0.4, i * 0.4 + 0.35, i, i % 100, i % 3);
        b.append(line, n);
    }
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(b) == b.size();
}

double seconds(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int words = argc > 1 ? std::atoi(argv[1]) : 500000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    QTemporaryDir dir;
    const QString one = dir.filePath(QStringLiteral("part1.spk")), two = dir.filePath(QStringLiteral("part2.spk"));
    if (!writeWords(one, words, 1) || !writeWords(two, words, 2)) {
        std::fprintf(stderr, "cannot write the word files\n");
        return 1;
    }
    const QString interview = dir.filePath(QStringLiteral("bench.naadwerk"));
    Person quiet;
    {
        GlueJob job(quiet);
        job.openWordFile(1, one);
        job.openWordFile(2, two);
        // A correction every thousand words.
        for (int row = 0; row < words; row += 1000) {
            job.setWordCell(WordTable::Main, row, WordRow::Text, QStringLiteral("corrected"));
            job.setWordCell(WordTable::PartTwo, row, WordRow::Confidence, QStringLiteral("1"));
        }
        job.saveInterview(interview);
    }

    double wordFiles = 1e9, interviewFile = 1e9;
    for (int run = 0; run < runs; ++run) {
        {
            GlueJob job(quiet);
            QElapsedTimer timer;
            timer.start();
            job.openWordFile(1, one);
            job.openWordFile(2, two);
            wordFiles = std::min(wordFiles, seconds(timer));
        }
        {
            GlueJob job(quiet);
            QElapsedTimer timer;
            timer.start();
            job.openInterview(readInterview(interview), interview);
            interviewFile = std::min(interviewFile, seconds(timer));
        }
    }
    std::printf("open 2 x %d words: word files %.3f s, interview file %.3f s (%.1f MB), ratio %.2f (aim <= 1.5)\n",
                words, wordFiles, interviewFile, double(QFile(interview).size()) / 1e6, interviewFile / wordFiles);

    MainWindow window;
    window.show();
    window.recovery().setFolder(dir.filePath(QStringLiteral("data")));
    window.job().openInterview(readInterview(interview), interview);
    // The window shows the rows first: that wait is the opening's, not the copy's.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 2000)
        QCoreApplication::processEvents();
    double snapshot = 1e9;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const InterviewFile copy = window.job().interviewSnapshot(QString(), true);
        snapshot = std::min(snapshot, seconds(timer));
    }
    // The same 1 ms timer with nothing to do: what this machine's load alone
    // makes the window wait.
    double idleWait = 0;
    {
        QElapsedTimer sinceTick, running;
        QTimer ticks;
        ticks.setInterval(1);
        QObject::connect(&ticks, &QTimer::timeout, [&] {
            idleWait = std::max(idleWait, double(sinceTick.nsecsElapsed()) / 1e6);
            sinceTick.restart();
        });
        ticks.start();
        sinceTick.start();
        running.start();
        while (running.elapsed() < 4000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    double worstWait = 0, slowestWrite = 0;
    for (int run = 0; run < runs; ++run) {
        window.job().setWordCell(WordTable::Main, run, WordRow::Text, QStringLiteral("again")); // unsaved
        QElapsedTimer sinceTick, writing;
        double longest = 0;
        QTimer ticks;
        ticks.setInterval(1);
        QObject::connect(&ticks, &QTimer::timeout, [&] {
            longest = std::max(longest, double(sinceTick.nsecsElapsed()) / 1e6);
            sinceTick.restart();
        });
        QEventLoop loop;
        QObject::connect(&window.recovery(), &RecoveryCopy::written, &loop, &QEventLoop::quit);
        QObject::connect(&window.recovery(), &RecoveryCopy::failed, &loop, &QEventLoop::quit);
        ticks.start();
        sinceTick.start();
        // The copy starts from the event loop, as its timer starts it.
        QTimer::singleShot(20, &window.recovery(), [&] {
            writing.start();
            window.recovery().writeNow();
        });
        loop.exec();
        ticks.stop();
        worstWait = std::max(worstWait, longest);
        slowestWrite = std::max(slowestWrite, seconds(writing));
    }
    std::printf("recovery copy of 2 x %d words: longest wait of the window %.1f ms (aim <= 100; %.1f ms idle on this "
                "machine; the rows' copy made at once would take %.1f ms), written in %.2f s\n",
                words, worstWait, idleWait, snapshot * 1000, slowestWrite);
    return 0;
}
