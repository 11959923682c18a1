// Opens a word file of a million words in the window (offscreen) and prints
// how long the table takes to show it, as a ratio to reading the same file
// into a word list alone, and how long scrolling from the first row to the
// last takes.
//
//   bench_window [words] [runs]

#include "lines/tleesctm.h"
#include "ui/tdialogen.h"
#include "ui/tformnaadwerk.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Answers every open dialog with one path and cancels every save dialog.
class TVastAntwoord : public TDialogen
{
public:
    explicit TVastAntwoord(QString pad) : hetPad(std::move(pad)) {}
    QString kiesOpenBestand(int) override { return hetPad; }
    QString kiesBewaarBestand(int, const QString &, const QString &) override { return {}; }

private:
    QString hetPad;
};

double mediaan(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

bool schrijfWoorden(const QString &pad, int aantal)
{
    QByteArray b;
    b.reserve(static_cast<qsizetype>(aantal) * 56);
    char regel[128];
    for (int i = 0; i < aantal; ++i) {
        const int n = std::snprintf(regel, sizeof regel,
                                    "interview\t1\t%.3f\t%.3f\tword%d\t0.%02d\tSpeaker %d\r\n",
                                    i * 0.4, i * 0.4 + 0.35, i, i % 100, i % 3);
        b.append(regel, n);
    }
    QFile f(pad);
    return f.open(QIODevice::WriteOnly) && f.write(b) == b.size();
}

// Paints the table now, as the person would see it.
void toon(QTableView *view)
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
    const int aantal = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;

    QTemporaryDir tmp;
    const QString pad = tmp.path() + "/groot.ctm";
    if (!tmp.isValid() || !schrijfWoorden(pad, aantal)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(pad));
        return 1;
    }

    std::vector<double> lezen;
    for (int r = 0; r < runs; ++r) {
        TleesCTM ctm;
        ctm.sep = u'\t';
        ctm.fileNaam = pad;
        QElapsedTimer t;
        t.start();
        ctm.leesBestand();
        lezen.push_back(t.nsecsElapsed() / 1e6);
        if (ctm.aantalWoorden != aantal) {
            std::fprintf(stderr, "read %d words, expected %d\n", ctm.aantalWoorden, aantal);
            return 1;
        }
    }

    TformNaadwerk w;
    w.zetDialogen(std::make_unique<TVastAntwoord>(pad));
    w.show();
    QCoreApplication::processEvents();
    auto *view = w.findChild<QTableView *>("sgCTM1");
    auto *openCTM1 = w.findChild<QAction *>("miCTM1");

    std::vector<double> openen, naarEinde, slepen;
    for (int r = 0; r < runs; ++r) {
        view->scrollToTop();
        toon(view);
        QElapsedTimer t;
        t.start();
        openCTM1->trigger();
        toon(view);
        openen.push_back(t.nsecsElapsed() / 1e6);
        if (view->model()->rowCount() != aantal) {
            std::fprintf(stderr, "table shows %d rows, expected %d\n", view->model()->rowCount(),
                         aantal);
            return 1;
        }

        // Straight to the last row.
        t.start();
        view->scrollToBottom();
        toon(view);
        naarEinde.push_back(t.nsecsElapsed() / 1e6);

        // Dragging the scroll bar from top to bottom in 1000 steps, painting each.
        view->scrollToTop();
        toon(view);
        QScrollBar *balk = view->verticalScrollBar();
        t.start();
        const int stappen = 1000;
        for (int s = 1; s <= stappen; ++s) {
            balk->setValue(static_cast<int>(static_cast<qint64>(balk->maximum()) * s / stappen));
            view->viewport()->repaint();
        }
        slepen.push_back(t.nsecsElapsed() / 1e6);
        const int laatste = view->rowAt(view->viewport()->height() - 1);
        if (laatste != aantal - 1 && view->indexAt(QPoint(1, view->viewport()->height() - 2)).row()
                                         != aantal - 1) {
            std::fprintf(stderr, "last row not shown after scrolling (%d)\n", laatste);
            return 1;
        }
    }

    // Where the time of Open CTM 1 goes: the job's two steps, then the view.
    std::vector<double> stapLees, stapToon, stapView;
    for (int r = 0; r < runs; ++r) {
        view->scrollToTop();
        toon(view);
        QElapsedTimer t;
        t.start();
        w.job().fnCTM1 = pad;
        w.job().leesCTM(1);
        const qint64 t1 = t.nsecsElapsed();
        w.job().toonCTM(1);
        const qint64 t2 = t.nsecsElapsed();
        toon(view);
        const qint64 t3 = t.nsecsElapsed();
        stapLees.push_back(t1 / 1e6);
        stapToon.push_back((t2 - t1) / 1e6);
        stapView.push_back((t3 - t2) / 1e6);
    }

    const double l = mediaan(lezen), o = mediaan(openen);
    std::printf("words: %d, runs: %d (medians)\n", aantal, runs);
    std::printf("read into TleesCTM alone:        %9.1f ms\n", l);
    std::printf("Open CTM 1 until the table shows: %9.1f ms  ratio %.2f (aim <= 2)\n", o, o / l);
    std::printf("  of which leesCTM %.1f ms, toonCTM (filling the table) %.1f ms, view %.1f ms\n",
                mediaan(stapLees), mediaan(stapToon), mediaan(stapView));
    std::printf("scroll first row to last row:     %9.1f ms\n", mediaan(naarEinde));
    std::printf("drag scroll bar top to bottom:    %9.1f ms for 1000 painted steps (%.2f ms a step)\n",
                mediaan(slepen), mediaan(slepen) / 1000);
    return 0;
}
