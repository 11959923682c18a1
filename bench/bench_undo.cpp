// Undo at a million rows: two parts of 500,000 words glued in the window
// (offscreen), then corrections made as a person makes them (a cell typed,
// a word inserted, a speaker renamed throughout), each undone through the
// Edit menu's Undo. Prints, fastest of the runs, how long the undo takes up
// to the table painted again, and apart from it how long making the derived
// views again takes (phrases, SRT, transcript), which the window does right
// after the rows are shown.
//
//   bench_undo [words per part] [runs]

#include "formats/wordrow.h"
#include "job/gluejob.h"
#include "support/wavbuilder.h"
#include "ui/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <vector>

namespace {

std::vector<WordRow> rows(int count)
{
    std::vector<WordRow> all(static_cast<std::size_t>(count));
    const QString speakers[] = {QStringLiteral("Anna"), QStringLiteral("Bert"), QStringLiteral("Carla")};
    for (int i = 0; i < count; ++i) {
        WordRow &row = all[static_cast<std::size_t>(i)];
        row.number = i + 1;
        row.start = i * 400LL;
        row.end = row.start + 350;
        row.text = i % 12 == 11 ? QStringLiteral("end.") : QStringLiteral("word%1").arg(i);
        row.confidence = static_cast<float>(i % 100) / 100.0F;
        row.speaker = speakers[(i / 50) % 3];
    }
    return all;
}

void paint(QTableView *view)
{
    QCoreApplication::processEvents();
    view->viewport()->repaint();
}

// The CPU time of this thread in ms: on a machine shared with others the
// wall time says more about them than about the undo.
double threadMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct Times
{
    double wall = std::numeric_limits<double>::max();
    double cpu = std::numeric_limits<double>::max();
};

// Fastest of runs: make() changes, then the timed undo().
Times fastest(int runs, const std::function<void()> &make, const std::function<void()> &undo)
{
    Times best;
    for (int r = 0; r < runs; ++r) {
        make();
        QElapsedTimer t;
        t.start();
        const double cpu = threadMs();
        undo();
        best.cpu = std::min(best.cpu, threadMs() - cpu);
        best.wall = std::min(best.wall, static_cast<double>(t.nsecsElapsed()) / 1e6);
        QCoreApplication::processEvents();
    }
    return best;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int words = argc > 1 ? std::atoi(argv[1]) : 500000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    QTemporaryDir folder;
    MainWindow w;
    w.show();
    GlueJob &job = w.job();
    const QString wav = folder.path() + QStringLiteral("/part.wav");
    writeSilentWav(wav, 16000, 1, 16, 16000);
    job.openRecording(1, wav);
    job.openRecording(2, wav);
    job.setWordRows(WordTable::Main, rows(words));
    job.setWordRows(WordTable::PartTwo, rows(words));
    job.glue(folder.path() + QStringLiteral("/joined.wav"));
    auto *view = w.findChild<QTableView *>(QStringLiteral("sgCTM1"));
    auto *tabs = w.findChild<QTabWidget *>(QStringLiteral("tcData"));
    tabs->setCurrentIndex(1);
    const int middle = static_cast<int>(job.wordRows(WordTable::Main).size() / 2);
    view->setCurrentIndex(view->model()->index(middle, WordRow::Text));
    paint(view);
    auto *undo = w.findChild<QAction *>(QStringLiteral("miUndo"));
    auto *insert = w.findChild<QAction *>(QStringLiteral("miInsertWordAfter"));
    // Up to the rows painted; the derived views are made after that, when
    // the event loop turns again (outside the time taken).
    const auto undoNow = [&] {
        undo->trigger();
        view->viewport()->repaint();
    };

    const Times cell = fastest(runs, [&] {
        view->model()->setData(view->model()->index(middle, WordRow::Text), QStringLiteral("corrected"));
    }, undoNow);
    const Times inserted = fastest(runs, [&] {
        view->setCurrentIndex(view->model()->index(middle, WordRow::Text));
        insert->trigger();
        paint(view);
    }, undoNow);
    const double before = threadMs();
    job.rebuildDerived();
    const double derived = threadMs() - before;

    std::printf("rows: %zu\n", job.wordRows(WordTable::Main).size());
    std::printf("undo of a typed cell, up to the table painted: %.1f ms (CPU %.1f ms)\n", cell.wall, cell.cpu);
    std::printf("undo of an inserted word, up to the table painted: %.1f ms (CPU %.1f ms)\n", inserted.wall,
                inserted.cpu);
    std::printf("making the derived views again (after each undo after Glue): CPU %.1f ms\n", derived);
    return 0;
}
