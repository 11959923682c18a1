// Glues two long recordings in the window (offscreen) and prints how long
// the window went without a redraw meanwhile: the join runs on a thread of
// its own, so the longest gap between two paints should stay near the
// redraw interval asked for (20 ms), far below 100 ms.
//
//   bench_windowglue [hours per recording] [folder]   (defaults: 10, a temporary folder)

#include "support/fakeperson.h"
#include "ui/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// A silent 16 kHz mono recording of the given length.
bool writeSilence(const QString &path, qint64 frames)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    const auto le32 = [](quint32 v) {
        const char bytes[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
        return QByteArray(bytes, 4);
    };
    const qint64 bytes = frames * 2;
    QByteArray header = "RIFF" + le32(quint32(bytes + 36)) + "WAVEfmt " + le32(16);
    header += QByteArray::fromHex("01000100803e0000007d00000200" "1000");
    header += "data" + le32(quint32(bytes));
    f.write(header);
    const QByteArray block(1 << 20, '\0');
    for (qint64 left = bytes; left > 0; left -= block.size())
        if (f.write(block.constData(), std::min<qint64>(left, block.size())) < 0)
            return false;
    return true;
}

// Notes when the window paints.
class PaintClock : public QObject
{
public:
    QElapsedTimer clock;
    std::vector<qint64> paints;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            paints.push_back(clock.elapsed());
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    // The window's memory of this run stays out of the person's settings.
    QStandardPaths::setTestModeEnabled(true);
    const double hours = argc > 1 ? std::atof(argv[1]) : 10.0;
    QTemporaryDir tmp(argc > 2 ? QString::fromLocal8Bit(argv[2]) + "/bench-XXXXXX" : QString());
    if (!tmp.isValid() || hours <= 0) {
        std::fprintf(stderr, "usage: bench_windowglue [hours] [folder]\n");
        return 2;
    }
    const qint64 frames = static_cast<qint64>(hours * 3600 * 16000);
    const QString wav1 = tmp.filePath("part_1.wav"), wav2 = tmp.filePath("part_2.wav");
    if (!writeSilence(wav1, frames) || !writeSilence(wav2, frames)) {
        std::fprintf(stderr, "cannot write the recordings in %s\n", qPrintable(tmp.path()));
        return 1;
    }

    MainWindow w;
    // The window's dialogs answered as the window's tests answer them.
    FakePerson answers;
    answers.openAnswers << wav1 << wav2;
    answers.saveAnswers << tmp.filePath("joined.wav");
    w.setFileChooser(&answers);
    w.show();
    w.findChild<QAction *>("miWav1")->trigger();
    w.findChild<QAction *>("miWav2")->trigger();

    PaintClock paints;
    w.installEventFilter(&paints);
    QTimer redraw;
    redraw.setInterval(20);
    QObject::connect(&redraw, &QTimer::timeout, &w, [&w] { w.update(); });
    redraw.start();
    paints.clock.start();
    w.findChild<QAction *>("miGlue")->trigger();
    const qint64 took = paints.clock.elapsed();
    redraw.stop();

    // The gaps from the click to the first paint, between paints, and from
    // the last paint to the end; where the longest one ends.
    std::vector<qint64> times{0};
    times.insert(times.end(), paints.paints.begin(), paints.paints.end());
    times.push_back(took);
    qint64 longest = 0, longestEnd = 0;
    for (size_t i = 1; i < times.size(); ++i)
        if (times[i] - times[i - 1] > longest) {
            longest = times[i] - times[i - 1];
            longestEnd = times[i];
        }
    std::printf("glue of 2 x %.2f h: %.1f s, %zu redraws, longest time without one %lld ms, ending %lld ms "
                "after the click (%s)\n",
                hours, took / 1000.0, paints.paints.size(), static_cast<long long>(longest),
                static_cast<long long>(longestEnd), w.job().isGlued() ? "glued" : "NOT glued");
    return w.job().isGlued() && longest < 100 ? 0 : 1;
}
