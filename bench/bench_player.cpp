// The words following the player in the window (offscreen), with 100,000
// word rows:
//   1. the cost of one position update (the window selects the word playing
//      and keeps it in view), for positions all over the table;
//   2. how far the selected word lags behind QMediaPlayer::position(),
//      sampled every 10 ms while a recording plays through the audio device
//      (scripts/test.sh shows how to start a PulseAudio null sink).
//
//   bench_player [rows] [seconds of playing]

#include "support/fakeperson.h"
#include "support/timedwords.h"
#include "support/wavbuilder.h"

#include "job/gluejob.h"
#include "job/timeindex.h"
#include "ui/mainwindow.h"
#include "ui/playerbar.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMediaPlayer>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr std::int64_t wordMs = 100;

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())))];
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100'000;
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 20;
    QTemporaryDir dir;
    const QString wav = dir.path() + "/bench.wav";
    writeSilentWav(wav, 16000, 1, 16, std::int64_t(seconds + 2) * 16000);

    MainWindow w;
    FakePerson person;
    w.setFileChooser(&person);
    w.show();
    w.job().setWordRows(WordTable::Main, wordsEvery(rows, wordMs));
    person.openAnswers << wav;
    w.findChild<QAction *>("miWav1")->trigger();
    auto *tabs = w.findChild<QTabWidget *>("tcData");
    tabs->setCurrentWidget(w.findChild<QWidget *>("tiCTM1"));
    auto *player = w.findChild<PlayerBar *>("paPlayer");
    auto *table = w.findChild<QTableView *>("sgCTM1");
    const TimeIndex index = TimeIndex::ofWords(w.job().wordRows(WordTable::Main));

    // 1. One position update, all over the table (the first indexes the rows).
    emit player->positionChanged(0);
    QApplication::processEvents();
    std::vector<double> costs;
    QRandomGenerator random(7);
    bool right = true;
    for (int k = 0; k < 2000; ++k) {
        const std::int64_t ms = random.bounded(static_cast<qint64>(rows) * wordMs);
        QElapsedTimer t;
        t.start();
        emit player->positionChanged(ms);
        costs.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        right = right && table->currentIndex().row() == index.rowAt(ms);
        QApplication::processEvents(); // paint as the window would
    }
    std::printf("rows: %d\n", rows);
    std::printf("position update: median %.3f ms, 99th percentile %.3f ms, max %.3f ms (%zu updates)%s\n",
                percentile(costs, 0.5), percentile(costs, 0.99), percentile(costs, 1.0), costs.size(),
                right ? "" : " WRONG ROW");

    // 2. The lag while playing.
    if (!PlayerBar::hasAudioDevice()) {
        std::printf("lag: no audio device, not measured\n");
        return right ? 0 : 1;
    }
    QMediaPlayer *media = player->mediaPlayer();
    // At every sample: the word position() is in, the word selected, and,
    // when they differ, how long (wall clock) position() has been in that
    // word: the time the selection is behind. position() moves in steps (on
    // a PulseAudio sink, of about 128 ms), so the time is taken from the first
    // sample that saw the word, not from the word's start in the recording.
    std::vector<double> lags;
    int samples = 0;
    int seenRow = -1;
    QElapsedTimer clock;
    clock.start();
    double seenAt = 0;
    std::vector<double> steps;
    std::int64_t lastAt = -1;
    QTimer sampler;
    sampler.setTimerType(Qt::PreciseTimer);
    sampler.setInterval(10);
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        if (media->playbackState() != QMediaPlayer::PlayingState)
            return;
        const double now = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        const std::int64_t at = media->position();
        if (lastAt >= 0 && at != lastAt)
            steps.push_back(static_cast<double>(at - lastAt));
        lastAt = at;
        const int expected = index.rowAt(at);
        if (expected != seenRow) {
            seenRow = expected;
            seenAt = now;
        }
        ++samples;
        lags.push_back(table->currentIndex().row() == expected ? 0.0 : now - seenAt);
        if (at >= std::int64_t(seconds) * 1000)
            app.quit();
    });
    sampler.start();
    player->playFrom(0);
    QTimer::singleShot((seconds + 10) * 1000, &app, &QApplication::quit);
    app.exec();
    const auto behind = std::count_if(lags.begin(), lags.end(), [](double l) { return l > 0; });
    std::printf("lag: %d samples every 10 ms over %d s, %td with the word before selected, "
                "max %.1f ms behind position() (wall clock)\n",
                samples, seconds, behind, percentile(lags, 1.0));
    std::printf("position() steps: median %.0f ms\n", percentile(steps, 0.5));
    return right ? 0 : 1;
}
