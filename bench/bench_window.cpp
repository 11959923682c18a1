// Opens a word file of a million words in the window (offscreen) and prints
// how long the table takes to show it, as a ratio to reading the same file
// into a word list alone (the file's bytes, then parseWordFile, as the job's
// readWordFile does), and how long scrolling from the first row to the last
// takes.
//
//   bench_window [words] [runs]

#include "base/textfile.h"
#include "formats/wordfile.h"
#include "job/person.h"
#include "ui/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

bool writeWords(const QString &path, int count)
{
    QByteArray b;
    b.reserve(static_cast<qsizetype>(count) * 56);
    char line[128];
    for (int i = 0; i < count; ++i) {
        const int n = std::snprintf(line, sizeof line,
                                    "interview\t1\t%.3f\t%.3f\tword%d\t0.%02d\tSpeaker %d\r\n",
                                    i * 0.4, i * 0.4 + 0.35, i, i % 100, i % 3);
        b.append(line, n);
    }
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(b) == b.size();
}

// Paints the table now, as the person would see it.
void paint(QTableView *view)
{
    QCoreApplication::processEvents();
    view->viewport()->repaint();
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;

    QTemporaryDir tmp;
    const QString path = tmp.path() + "/large.ctm";
    if (!tmp.isValid() || !writeWords(path, count)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }

    std::vector<double> reading;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer t;
        t.start();
        const std::vector<Word> words = parseWordFile(readFileBytes(path), u'\t');
        reading.push_back(t.nsecsElapsed() / 1e6);
        if (words.size() != static_cast<std::size_t>(count)) {
            std::fprintf(stderr, "read %zu words, expected %d\n", words.size(), count);
            return 1;
        }
    }

    MainWindow w;
    w.show();
    QCoreApplication::processEvents();
    auto *view = w.findChild<QTableView *>("sgCTM1");
    if (!view) {
        std::fprintf(stderr, "the window has no table sgCTM1\n");
        return 1;
    }

    std::vector<double> opening, toEnd, dragging;
    for (int r = 0; r < runs; ++r) {
        view->scrollToTop();
        paint(view);
        QElapsedTimer t;
        t.start();
        // As a drop or a Recent entry opens it: the command, without a dialog.
        w.openInputs({PartFiles{path, {}, {}}});
        paint(view);
        opening.push_back(t.nsecsElapsed() / 1e6);
        if (view->model()->rowCount() != count) {
            std::fprintf(stderr, "table shows %d rows, expected %d\n", view->model()->rowCount(), count);
            return 1;
        }

        // Straight to the last row.
        t.start();
        view->scrollToBottom();
        paint(view);
        toEnd.push_back(t.nsecsElapsed() / 1e6);

        // Dragging the scroll bar from top to bottom in 1000 steps, painting each.
        view->scrollToTop();
        paint(view);
        QScrollBar *bar = view->verticalScrollBar();
        t.start();
        const int steps = 1000;
        for (int s = 1; s <= steps; ++s) {
            bar->setValue(static_cast<int>(static_cast<qint64>(bar->maximum()) * s / steps));
            view->viewport()->repaint();
        }
        dragging.push_back(t.nsecsElapsed() / 1e6);
        const int lastShown = view->rowAt(view->viewport()->height() - 1);
        if (lastShown != count - 1
            && view->indexAt(QPoint(1, view->viewport()->height() - 2)).row() != count - 1) {
            std::fprintf(stderr, "last row not shown after scrolling (%d)\n", lastShown);
            return 1;
        }
    }

    // Where the time of Open CTM 1 goes: the job's command, then the view.
    std::vector<double> jobStep, viewStep;
    for (int r = 0; r < runs; ++r) {
        view->scrollToTop();
        paint(view);
        QElapsedTimer t;
        t.start();
        w.job().openWordFile(1, path);
        const qint64 t1 = t.nsecsElapsed();
        paint(view);
        const qint64 t2 = t.nsecsElapsed();
        jobStep.push_back(t1 / 1e6);
        viewStep.push_back((t2 - t1) / 1e6);
    }

    const double read = median(reading), open = median(opening);
    std::printf("words: %d, runs: %d (medians)\n", count, runs);
    std::printf("read into a word list alone:      %9.1f ms\n", read);
    std::printf("Open CTM 1 until the table shows: %9.1f ms  ratio %.2f (aim <= 2)\n", open, open / read);
    std::printf("  of which the job's Open (reading and filling the table) %.1f ms, view %.1f ms\n",
                median(jobStep), median(viewStep));
    std::printf("scroll first row to last row:     %9.1f ms\n", median(toEnd));
    std::printf("drag scroll bar top to bottom:    %9.1f ms for 1000 painted steps (%.2f ms a step)\n",
                median(dragging), median(dragging) / 1000);
    return 0;
}
