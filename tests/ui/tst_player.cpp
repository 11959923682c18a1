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
#include "ui/partspanel.h"
#include "ui/playerbar.h"
#include "ui/windowmemory.h"

#include <QAction>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QMediaPlayer>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
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

// Skips a test that plays when there is nothing to play through.
#define NEED_AUDIO()                                                                               \
    if (!PlayerBar::hasAudioDevice())                                                              \
    QSKIP("No audio device: start a PulseAudio null sink (scripts/test.sh does) to play.")

class TstPlayer : public QObject
{
    Q_OBJECT

    QTemporaryDir tmp;
    QString folder;


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

    // Both parts open, each with words of wordMs and a recording of seconds.
    void openParts(Window &win, const QString &name, int words, double seconds, bool recording2 = true)
    {
        for (int part : {1, 2}) {
            const QString base = folder + "/" + name + QString::number(part);
            writeWords(base + ".ctm", name, words);
            writeTone(base + ".wav", seconds);
            win.open(part == 1 ? "miCTM1" : "miCTM2", base + ".ctm");
        }
        win.open("miWav1", folder + "/" + name + "1.wav");
        if (recording2)
            win.open("miWav2", folder + "/" + name + "2.wav");
    }

    // Waits until the player plays at ms or later.
    static bool playsBeyond(PlayerBar *player, qint64 ms)
    {
        return QTest::qWaitFor([&] { return player->isPlaying() && player->position() >= ms; }, 10000);
    }

    // Pauses a playing player with no rewind, so that it stays where it was
    // when paused: what follows it can then be checked however late.
    static bool pauseWhereItIs(Window &win)
    {
        if (!win.player->isPlaying())
            return false;
        child<QDoubleSpinBox>(win.w, "sbRewind")->setValue(0);
        child<QAction>(win.w, "miPlayPause")->trigger();
        return QTest::qWaitFor([&] { return !win.player->isPlaying(); }, 5000);
    }

    // The positions the player reported, as numbers.
    static std::vector<qint64> reportedPositions(const QSignalSpy &spy)
    {
        std::vector<qint64> at;
        for (const QList<QVariant> &args : spy)
            at.push_back(args.at(0).toLongLong());
        return at;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(tmp.isValid());
        folder = tmp.path();
        useOwnSettingsStore();
    }

    // Every test starts a window as on its first run.
    void init() { WindowMemory::forget(); }

    void menuListsThePlayerCommandsWithTheirKeys()
    {
        Window win;
        QStringList bar;
        for (QAction *a : child<QMenuBar>(win.w, "mmMenu")->actions())
            bar << a->objectName();
        QVERIFY(bar.contains(QStringLiteral("miPlay")));
        QMenu *menu = child<QAction>(win.w, "miPlay")->menu();
        QVERIFY(menu);
        QCOMPARE(menu->title().remove(u'&'), QStringLiteral("Play"));
        QStringList items;
        for (QAction *a : menu->actions())
            if (!a->isSeparator())
                items << a->text().remove(u'&') + " | " + a->shortcut().toString(QKeySequence::PortableText);
        QCOMPARE(items, QStringList({"Play / pause | Ctrl+Space", "Play from here | Ctrl+Return",
                                     "Replay the phrase | Ctrl+R", "5 s back | Alt+Left", "5 s forward | Alt+Right",
                                     "Jump to the next seam | Ctrl+J", "Jump to the previous seam | Ctrl+Shift+J",
                                     "Follow | "}));
        QVERIFY(child<QAction>(win.w, "miFollow")->isChecked());
        QCOMPARE(child<QDoubleSpinBox>(win.w, "sbRewind")->value(), 1.0);
        QCOMPARE(win.player->settings().rewindOnPauseMs, 1000);
        // The word tables show their rows' numbers, to click on.
        QVERIFY(!child<QTableView>(win.w, "sgCTM1")->verticalHeader()->isHidden());
        QVERIFY(!child<QTableView>(win.w, "sgCTM2")->verticalHeader()->isHidden());
    }

    // The player's settings come back as set, shown on its bar and used by
    // the media player, so they can be stored and given back.
    void settingsComeBackAsSet()
    {
        Window win;
        PlayerSettings set;
        set.rate = 1.5;
        set.volume = 40;
        set.follow = false;
        set.rewindOnPauseMs = 2500;
        win.player->setSettings(set);
        const PlayerSettings got = win.player->settings();
        QCOMPARE(got.rate, 1.5);
        QCOMPARE(got.volume, 40);
        QCOMPARE(got.follow, false);
        QCOMPARE(got.rewindOnPauseMs, 2500);
        QCOMPARE(win.player->mediaPlayer()->playbackRate(), 1.5);
        QVERIFY(!child<QAction>(win.w, "miFollow")->isChecked());
        QCOMPARE(child<QDoubleSpinBox>(win.w, "sbRewind")->value(), 2.5);
        // A speed between the offered ones takes the nearest.
        set.rate = 0.8;
        win.player->setSettings(set);
        QCOMPARE(win.player->settings().rate, 0.75);
    }

    // Before Glue the player has the recording of the part whose table is
    // shown (another tab keeps it); after Glue the joined recording.
    void playsThePartShownUntilGlueThenTheJoinedRecording()
    {
        Window win;
        openParts(win, "a", 8, 2.0, false);
        win.tab("tiCTM2");
        QCOMPARE(win.player->recording(), QString());
        QCOMPARE(win.player->message(), QStringLiteral("No recording opened for part 2."));
        win.open("miWav2", folder + "/a2.wav");
        QCOMPARE(win.player->recording(), folder + "/a2.wav");
        win.tab("tiCTM1");
        QCOMPARE(win.player->recording(), folder + "/a1.wav");
        win.tab("tiText2");
        QCOMPARE(win.player->recording(), folder + "/a1.wav");

        win.person.saveAnswers << folder + "/ab.wav";
        child<QAction>(win.w, "miGlue")->trigger();
        QVERIFY(win.w.job().isGlued());
        QCOMPARE(win.player->recording(), folder + "/ab.wav");
        win.tab("tiCTM2");
        QCOMPARE(win.player->recording(), folder + "/ab.wav");
        QCOMPARE(win.w.job().partStartsMs(), (std::vector<std::int64_t>{0, 2000}));
    }

    // Before Glue the Parts tab plays the part it shows, parts 3 and on too.
    void thePartsTabPlaysTheSelectedPart()
    {
        Window win;
        auto *panel = win.w.findChild<PartsPanel *>(QStringLiteral("paParts"));
        QVERIFY(panel);
        for (int part = 1; part <= 3; ++part) {
            const QString base = folder + "/q" + QString::number(part);
            writeWords(base + ".ctm", "q", 4);
            writeTone(base + ".wav", 1.0);
            panel->addFiles({base + ".ctm", base + ".wav"});
        }
        win.tab("tiParts");
        panel->selectPart(2);
        QTRY_COMPARE(win.player->recording(), folder + "/q3.wav");
        panel->selectPart(0);
        QTRY_COMPARE(win.player->recording(), folder + "/q1.wav");
        // The word tables keep playing their own parts.
        win.tab("tiCTM2");
        QCOMPARE(win.player->recording(), folder + "/q2.wav");
    }

    void playFromHereSeeksToTheWord_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("context action") << "action";
        QTest::newRow("Ctrl+Return") << "keys";
        QTest::newRow("click on the row's number") << "number";
    }

    void playFromHereSeeksToTheWord()
    {
        QFETCH(QString, how);
        NEED_AUDIO();
        Window win;
        openPart1(win, 40, 10.0);
        QTableView *table = child<QTableView>(win.w, "sgCTM1");
        constexpr int row = 24; // starts at 6000 ms
        table->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&win.w));
        table->setCurrentIndex(table->model()->index(row, 3));
        QSignalSpy reported(win.player, &PlayerBar::positionChanged);
        if (how == "action") {
            child<QAction>(win.w, "miPlayFromHere")->trigger();
        } else if (how == "keys") {
            QTest::keyClick(table, Qt::Key_Return, Qt::ControlModifier);
        } else {
            table->setCurrentIndex(table->model()->index(0, 3));
            table->scrollTo(table->model()->index(row, 0));
            QHeaderView *numbers = table->verticalHeader();
            const int y = numbers->sectionViewportPosition(row) + numbers->sectionSize(row) / 2;
            QTest::mouseClick(numbers->viewport(), Qt::LeftButton, {}, QPoint(numbers->width() / 2, y));
        }
        // The command itself selects the word and reports its start, row
        // 24's span being 6000-6250 ms.
        QCOMPARE(currentRow(win.w, "sgCTM1"), row);
        QVERIFY(!reported.isEmpty());
        const qint64 first = reported.first().at(0).toLongLong();
        QVERIFY2(first >= row * wordMs && first < (row + 1) * wordMs, qPrintable(QString::number(first)));
        QVERIFY(playsBeyond(win.player, 6600));
        // Once playing on, the next words follow: paused, the word at the
        // position is the one selected.
        QVERIFY(pauseWhereItIs(win));
        const qint64 at = win.player->position();
        QVERIFY2(at >= 6600, qPrintable(QString::number(at)));
        QTRY_COMPARE(currentRow(win.w, "sgCTM1"), int(at / wordMs));
        QVERIFY(currentRow(win.w, "sgCTM1") > row);
    }

    // A word after the recording's end, and a word with a typed start, do not
    // play; the player says why and the window goes on.
    void wordsThatCannotPlaySayWhy()
    {
        NEED_AUDIO();
        Window win;
        openPart1(win, 40, 2.9); // words up to 10 s, the recording 2.9 s
        QVERIFY(QTest::qWaitForWindowActive(&win.w));
        QTableView *table = child<QTableView>(win.w, "sgCTM1");
        table->setFocus();
        // Once before the recording is loaded, once after.
        for (int round = 0; round < 2; ++round) {
            table->setCurrentIndex(table->model()->index(30, 1));
            child<QAction>(win.w, "miPlayFromHere")->trigger();
            QTRY_COMPARE(win.player->message(), QStringLiteral("Starts at 0:00:07.5, after the end of the "
                                                               "recording (0:00:02.9)."));
            QVERIFY(!win.player->isPlaying());
            QCOMPARE(win.player->position(), 0);
            QCOMPARE(win.player->mediaPlayer()->duration(), 2900);
        }

        win.w.job().setWordCell(WordTable::Main, 2, WordRow::Start, QStringLiteral("0.5s"));
        table->setCurrentIndex(table->model()->index(2, 1));
        child<QAction>(win.w, "miPlayFromHere")->trigger();
        QCOMPARE(win.player->message(), QStringLiteral("Row 3 has no start time to play from."));
        QVERIFY(!win.player->isPlaying());

        // Words 12 on are beyond the end: the last one heard (11, from 2750
        // ms on) stays selected when the recording ends.
        table->setCurrentIndex(table->model()->index(9, 1));
        child<QAction>(win.w, "miPlayFromHere")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!win.player->isPlaying(), 10000);
        QTRY_COMPARE(currentRow(win.w, "sgCTM1"), 11);
    }

    // Scrolling the following table by hand stops following until the next
    // seek; switching Follow off stops it until it is switched on.
    void scrollingByHandHoldsFollowingUntilTheNextSeek()
    {
        NEED_AUDIO();
        Window win;
        openPart1(win, 400, 30.0);
        QTableView *table = child<QTableView>(win.w, "sgCTM1");
        child<QAction>(win.w, "miPlayPause")->trigger();
        QVERIFY(playsBeyond(win.player, 500));
        QTRY_VERIFY(currentRow(win.w, "sgCTM1") >= 2);
        table->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        auto *follow = child<QAction>(win.w, "miFollow");
        QVERIFY(!follow->isChecked());
        const int held = currentRow(win.w, "sgCTM1");
        const int top = table->verticalScrollBar()->value();
        // Positions of later words are reported, and the table stays.
        QSignalSpy reported(win.player, &PlayerBar::positionChanged);
        const auto reportedBeyond = [&](int row) {
            const std::vector<qint64> at = reportedPositions(reported);
            return std::any_of(at.begin(), at.end(), [&](qint64 ms) { return ms / wordMs > row; });
        };
        QTRY_VERIFY(reportedBeyond(held + 2));
        QCOMPARE(currentRow(win.w, "sgCTM1"), held);
        QCOMPARE(table->verticalScrollBar()->value(), top);

        // A seek follows again: the word at the position it reports.
        reported.clear();
        child<QAction>(win.w, "miForward")->trigger();
        QVERIFY(follow->isChecked());
        QVERIFY(!reported.isEmpty());
        const qint64 sought = reported.first().at(0).toLongLong();
        QCOMPARE(currentRow(win.w, "sgCTM1"), int(sought / wordMs));
        QVERIFY(currentRow(win.w, "sgCTM1") >= held + 20);

        // Follow switched off by the person: a seek leaves it off.
        follow->trigger();
        QVERIFY(!follow->isChecked());
        const int off = currentRow(win.w, "sgCTM1");
        reported.clear();
        child<QAction>(win.w, "miForward")->trigger();
        QVERIFY(!reported.isEmpty());
        QVERIFY(reported.first().at(0).toLongLong() / wordMs >= off + 20);
        QTRY_VERIFY(reportedBeyond(off + 22));
        QVERIFY(!follow->isChecked());
        QCOMPARE(currentRow(win.w, "sgCTM1"), off);
    }

    // Space plays and pauses in a table and in the player, never in a text
    // view, where Ctrl+Space does; pausing steps back by the rewind setting.
    void keysPlayPauseAndRewind()
    {
        NEED_AUDIO();
        Window win;
        openPart1(win, 40, 10.0);
        QVERIFY(QTest::qWaitForWindowActive(&win.w));
        QTableView *table = child<QTableView>(win.w, "sgCTM1");
        table->setFocus();
        QTest::keyClick(table, Qt::Key_Space);
        QVERIFY(playsBeyond(win.player, 1600));
        // Where it pauses: not before the position read just before the key,
        // not after the position the media player stopped at.
        const qint64 before = win.player->position();
        qint64 stopped = -1;
        QMetaObject::Connection onPause = connect(
            win.player->mediaPlayer(), &QMediaPlayer::playbackStateChanged, table,
            [&](QMediaPlayer::PlaybackState state) {
                if (state != QMediaPlayer::PlayingState && stopped < 0)
                    stopped = win.player->mediaPlayer()->position();
            });
        QSignalSpy reported(win.player, &PlayerBar::positionChanged);
        QTest::keyClick(table, Qt::Key_Space);
        disconnect(onPause);
        QTRY_VERIFY(!win.player->isPlaying());
        // Paused, then 1 s back: the position it reports last is 1 s before
        // the one it paused at, and it stays there.
        QVERIFY(!reported.isEmpty());
        const qint64 back = reported.last().at(0).toLongLong();
        QVERIFY2(back + 1000 >= before && back + 1000 <= stopped,
                 qPrintable(QStringLiteral("%1 ms back from between %2 and %3 ms").arg(back).arg(before).arg(stopped)));
        QTRY_COMPARE(win.player->position(), back);

        auto *text = child<QPlainTextEdit>(win.w, "meText1");
        win.tab("tiText1");
        text->setFocus();
        QTest::keyClick(text, Qt::Key_Space);
        QCOMPARE(text->toPlainText(), QStringLiteral(" "));
        QTest::qWait(200);
        QVERIFY(!win.player->isPlaying());
        QTest::keyClick(text, Qt::Key_Space, Qt::ControlModifier);
        QVERIFY2(playsBeyond(win.player, 1300),
                 qPrintable(QStringLiteral("playing %1 at %2 ms, %3").arg(win.player->isPlaying()).arg(win.player->position()).arg(win.player->message())));
        QCOMPARE(text->toPlainText(), QStringLiteral(" "));

        // Space in the player plays and pauses too.
        auto *speed = child<QWidget>(win.w, "cbSpeed");
        speed->setFocus();
        QTest::keyClick(speed, Qt::Key_Space);
        QTRY_VERIFY(!win.player->isPlaying());
        QTest::keyClick(text, Qt::Key_Space, Qt::ControlModifier);
        QVERIFY(playsBeyond(win.player, 1300));

        // No rewind: pausing keeps the position.
        child<QDoubleSpinBox>(win.w, "sbRewind")->setValue(0);
        QTest::keyClick(text, Qt::Key_Space, Qt::ControlModifier);
        QTRY_VERIFY(!win.player->isPlaying());
        const qint64 paused = win.player->position();
        QVERIFY2(paused >= 1300, qPrintable(QString::number(paused)));
        // Alt+Right and Alt+Left move 5 s.
        QTest::keyClick(text, Qt::Key_Right, Qt::AltModifier);
        QTRY_COMPARE(win.player->position(), paused + 5000);
        QTest::keyClick(text, Qt::Key_Left, Qt::AltModifier);
        QTRY_COMPARE(win.player->position(), paused);
    }

    // After Glue the joined list and the phrases follow the joined recording,
    // and Ctrl+J goes to the start of part 2.
    void afterGlueTheJoinedWordsAndPhrasesFollow()
    {
        NEED_AUDIO();
        Window win;
        openParts(win, "p", 10, 4.0); // 2.5 s of words a part, one phrase
        win.person.saveAnswers << folder + "/p12.wav";
        child<QAction>(win.w, "miGlue")->trigger();
        QVERIFY(win.w.job().isGlued());
        QVERIFY(QTest::qWaitForWindowActive(&win.w));
        win.tab("tiPhrases");
        QTest::keyClick(&win.w, Qt::Key_J, Qt::ControlModifier);
        QTRY_COMPARE(win.player->position(), 4000);
        child<QAction>(win.w, "miPlayPause")->trigger();
        QVERIFY(playsBeyond(win.player, 4300));
        QVERIFY(pauseWhereItIs(win));
        // Row 10 is part 2's first word, at 4000 ms, its last (row 19) ends
        // at 6500 ms: the word at the paused position is selected.
        const qint64 at = win.player->position();
        QVERIFY2(at >= 4300, qPrintable(QString::number(at)));
        const int word = int(std::min<qint64>(10 + (at - 4000) / wordMs, 19));
        QTRY_COMPARE(currentRow(win.w, "sgCTM1"), word);
        QVERIFY(word >= 11);
        // Each part is one phrase: the second starts at part 2's first word.
        const std::vector<PhraseRow> &phrases = win.w.job().phraseRows();
        const int phrase = currentRow(win.w, "sgSRT");
        QVERIFY(phrase >= 0);
        QVERIFY(phrases[size_t(phrase)].start <= win.player->position());
        QCOMPARE(phrase, 1);
        QCOMPARE(phrases[size_t(phrase)].start, 4000);
        // No seam after part 2's start.
        QTest::keyClick(&win.w, Qt::Key_J, Qt::ControlModifier);
        QVERIFY(win.player->message().startsWith(QStringLiteral("No seam after")));

        // A double-click on a phrase plays it.
        QTableView *table = child<QTableView>(win.w, "sgSRT");
        const QRect first = table->visualRect(table->model()->index(0, 4));
        // A double-click as the window gets it: the first click, then the
        // second as a double-click.
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, first.center());
        QCOMPARE(win.player->position(), at);
        QVERIFY(!win.player->isPlaying());
        QSignalSpy reported(win.player, &PlayerBar::positionChanged);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, first.center());
        // It plays from the phrase's start, the phrase selected.
        QVERIFY(!reported.isEmpty());
        QCOMPARE(reported.first().at(0).toLongLong(), phrases[0].start);
        QCOMPARE(currentRow(win.w, "sgSRT"), 0);
        QTRY_VERIFY(win.player->isPlaying());
    }

    // The first Ctrl+J after Glue goes to part 2's start in the joined
    // recording, wherever part 2's own recording was paused before.
    void theFirstJumpAfterGlueGoesToPartTwo()
    {
        NEED_AUDIO();
        Window win;
        writeWords(folder + "/s1.ctm", "s", 8);
        writeTone(folder + "/s1.wav", 2.0);
        writeWords(folder + "/s2.ctm", "s", 24);
        writeTone(folder + "/s2.wav", 6.0);
        win.open("miCTM1", folder + "/s1.ctm");
        win.open("miCTM2", folder + "/s2.ctm");
        win.open("miWav1", folder + "/s1.wav");
        win.open("miWav2", folder + "/s2.wav");
        win.tab("tiCTM2");
        QCOMPARE(win.player->recording(), folder + "/s2.wav");
        win.player->playFrom(4000);
        QVERIFY(playsBeyond(win.player, 4100));
        QVERIFY(pauseWhereItIs(win));
        QVERIFY(win.player->position() > 2000);
        win.person.saveAnswers << folder + "/s12.wav";
        child<QAction>(win.w, "miGlue")->trigger();
        QVERIFY(win.w.job().isGlued());
        QCOMPARE(win.player->recording(), folder + "/s12.wav");
        QVERIFY(QTest::qWaitForWindowActive(&win.w));
        QTest::keyClick(&win.w, Qt::Key_J, Qt::ControlModifier);
        QTRY_COMPARE(win.player->position(), 2000);
        QCOMPARE(win.player->message(), QString());
    }

    // Without an audio device everything but playing works, and the player
    // says why in one line. (ctest runs this test once more with no audio
    // server to reach.)
    void withoutAnAudioDeviceThePlayerSaysWhy()
    {
        if (PlayerBar::hasAudioDevice())
            QSKIP("An audio device exists; the run without one checks this.");
        Window win;
        openPart1(win, 40, 3.0);
        const QString why = QStringLiteral("No audio device: the recording cannot be played.");
        QCOMPARE(win.player->message(), why);
        child<QAction>(win.w, "miPlayPause")->trigger();
        QTest::qWait(100);
        QVERIFY(!win.player->isPlaying());
        QCOMPARE(win.player->message(), why);
        QTableView *table = child<QTableView>(win.w, "sgCTM1");
        table->setFocus();
        table->setCurrentIndex(table->model()->index(4, 1));
        child<QAction>(win.w, "miPlayFromHere")->trigger();
        QVERIFY(!win.player->isPlaying());
        QCOMPARE(win.player->message(), why);
        QCOMPARE(table->model()->rowCount(), 40);
    }

    // The recordings the window opens play too, not only WAV.
    void playsTheFormatsTheWindowOpens_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QStringList>("codec"); // ffmpeg's options
        QTest::newRow("MP3") << "mp3" << QStringList{"-c:a", "libmp3lame"};
        QTest::newRow("AAC in M4A") << "m4a" << QStringList{"-c:a", "aac"};
        QTest::newRow("FLAC") << "flac" << QStringList{"-c:a", "flac"};
        QTest::newRow("Opus") << "opus" << QStringList{"-c:a", "libopus"};
    }

    void playsTheFormatsTheWindowOpens()
    {
        QFETCH(QString, extension);
        QFETCH(QStringList, codec);
        NEED_AUDIO();
        if (!hasProgram("ffmpeg"))
            QSKIP("ffmpeg makes the recordings of this test (scripts/install-deps.sh test)");
        writeTone(folder + "/format.wav", 4.0);
        const QString recording = folder + "/format." + extension;
        QCOMPARE(runProgram("ffmpeg", QStringList{"-y", "-loglevel", "error", "-i", folder + "/format.wav"} + codec
                                          + QStringList{recording}),
                 QString());
        Window win;
        writeWords(folder + "/format.ctm", "format", 16);
        win.open("miCTM1", folder + "/format.ctm");
        win.open("miWav1", recording);
        win.tab("tiCTM1");
        QCOMPARE(win.player->recording(), recording);
        win.player->playFrom(1000);
        QVERIFY(playsBeyond(win.player, 1500));
        QCOMPARE(win.player->message(), QString());
        QTRY_VERIFY(currentRow(win.w, "sgCTM1") >= 6);
    }

    // Before Glue part 2's table follows part 2's recording; part 1's stays.
    void partTwosTableFollowsItsRecording()
    {
        NEED_AUDIO();
        Window win;
        openParts(win, "f", 20, 5.0);
        win.tab("tiCTM2");
        QCOMPARE(win.player->recording(), folder + "/f2.wav");
        child<QAction>(win.w, "miPlayPause")->trigger();
        QVERIFY(playsBeyond(win.player, 800));
        QVERIFY(pauseWhereItIs(win));
        const qint64 at = win.player->position();
        QVERIFY2(at >= 800, qPrintable(QString::number(at)));
        QTRY_COMPARE(currentRow(win.w, "sgCTM2"), int(std::min<qint64>(at / wordMs, 19)));
        QCOMPARE(currentRow(win.w, "sgCTM1"), -1);
        // Scrolling part 1's table, which does not follow, holds nothing.
        child<QTableView>(win.w, "sgCTM1")->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QVERIFY(child<QAction>(win.w, "miFollow")->isChecked());
    }

    void wordsFollowThePlayingRecording()
    {
        NEED_AUDIO();
        // What the checks below found (made before the window, which
        // outlives them).
        QStringList wrong;
        std::set<int> rows;
        Window win;
        openPart1(win, 40, 10.0);
        QCOMPARE(win.player->recording(), folder + "/one.wav");
        QTableView *table = child<QTableView>(win.w, "sgCTM1");
        // At each position reported while playing (the window follows it
        // first), the word there is the current row, selected and in view.
        connect(win.player, &PlayerBar::positionChanged, table, [&](qint64 at) {
            if (!win.player->isPlaying())
                return;
            const int row = currentRow(win.w, "sgCTM1");
            rows.insert(row);
            if (row != at / wordMs || !table->selectionModel()->isRowSelected(row)
                || !table->viewport()->rect().intersects(table->visualRect(table->currentIndex())))
                wrong << QStringLiteral("row %1 at %2 ms").arg(row).arg(at);
        });
        child<QAction>(win.w, "miPlayPause")->trigger();
        QVERIFY(playsBeyond(win.player, 1500));
        QTRY_VERIFY(rows.size() >= 6);
        QVERIFY(pauseWhereItIs(win));
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral(", "))));
    }
};

QTEST_MAIN(TstPlayer)
#include "tst_player.moc"
