// The player in the window, played through a real audio device: the words
// follow the recording, a word plays from its start, the keys, the seam, and
// what the player says when it cannot play. Without an audio device only the
// tests that need none run; scripts/test.sh starts a PulseAudio null sink so
// that the others run too.

#include "support/fakeperson.h"
#include "support/files.h"
#include "support/wavbuilder.h"

#include "job/gluejob.h"
#include "job/timeindex.h"
#include "ui/mainwindow.h"
#include "ui/playerbar.h"

#include <QAction>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int wordMs = 250; // every word of the made-up word files lasts this long

// A mono 16 kHz recording of a soft tone, seconds long.
void writeTone(const QString &path, double seconds)
{
    std::vector<qint16> samples(static_cast<size_t>(seconds * 16000));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<qint16>(600 * std::sin(static_cast<double>(i) * 0.05));
    writeBytes(path, wav16k(samples));
}

// A word file as aligners write it: count words of wordMs each from 0 on,
// every tenth ending a sentence.
void writeWords(const QString &path, const QString &name, int count)
{
    QByteArray b;
    char line[160];
    for (int i = 0; i < count; ++i) {
        const int n = std::snprintf(line, sizeof line, "%s\t1\t%.3f\t%.3f\tword%d%s\t0.90\tSpeaker\r\n",
                                    qPrintable(name), i * wordMs / 1000.0, (i + 1) * wordMs / 1000.0, i,
                                    i % 10 == 9 ? "." : "");
        b.append(line, n);
    }
    writeBytes(path, b);
}

template<class T> T *child(QWidget &w, const QString &name)
{
    T *found = w.findChild<T *>(name);
    if (!found)
        qWarning("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
    return found;
}

int currentRow(QWidget &w, const char *table)
{
    return child<QTableView>(w, table)->currentIndex().row();
}

} // namespace

class TstPlayer : public QObject
{
    Q_OBJECT

    QTemporaryDir tmp;
    QString folder;

    static void needAudio()
    {
        if (!PlayerBar::hasAudioDevice())
            QSKIP("No audio device: start a PulseAudio null sink (scripts/test.sh does) to play.");
    }

    struct Window
    {
        MainWindow w;
        FakePerson person;
        PlayerBar *player = nullptr;
        Window()
        {
            w.setFileChooser(&person);
            w.show();
            w.activateWindow();
            player = w.findChild<PlayerBar *>(QStringLiteral("paPlayer"));
        }
        void open(const char *item, const QString &path)
        {
            person.openAnswers << path;
            child<QAction>(w, item)->trigger();
        }
        void tab(const char *name)
        {
            auto *tabs = child<QTabWidget>(w, "tcData");
            tabs->setCurrentWidget(child<QWidget>(w, name));
        }
    };

    // Part 1 (words and recording) open, its table shown.
    void openPart1(Window &win, int words, double seconds)
    {
        writeWords(folder + "/one.ctm", "one", words);
        writeTone(folder + "/one.wav", seconds);
        win.open("miCTM1", folder + "/one.ctm");
        win.open("miWav1", folder + "/one.wav");
        win.tab("tiCTM1");
    }

    // Waits until the player plays at ms or later.
    static bool playsBeyond(PlayerBar *player, qint64 ms)
    {
        return QTest::qWaitFor([&] { return player->isPlaying() && player->position() >= ms; }, 10000);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(tmp.isValid());
        folder = tmp.path();
    }

    void wordsFollowThePlayingRecording()
    {
        needAudio();
        Window win;
        openPart1(win, 40, 10.0);
        QCOMPARE(win.player->recording(), folder + "/one.wav");
        child<QAction>(win.w, "miPlayPause")->trigger();
        QVERIFY(playsBeyond(win.player, 1500));
        QTableView *table = child<QTableView>(win.w, "sgCTM1");
        for (int sample = 0; sample < 8; ++sample) {
            QTest::qWait(61);
            const qint64 at = win.player->position();
            const int row = currentRow(win.w, "sgCTM1");
            // The row of the word playing, or the one before it while the
            // last position is being shown.
            QVERIFY2(row == at / wordMs || row == at / wordMs - 1,
                     qPrintable(QStringLiteral("row %1 at %2 ms").arg(row).arg(at)));
            QVERIFY(table->selectionModel()->isRowSelected(row));
            QVERIFY(table->viewport()->rect().intersects(table->visualRect(table->currentIndex())));
        }
    }
};

QTEST_MAIN(TstPlayer)
#include "tst_player.moc"
