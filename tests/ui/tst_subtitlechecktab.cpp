// The problems of the subtitles on the "SRT" tab: checked under the profile
// chosen on the Settings tab, counted per kind, and a click on one selects
// the phrase its cue shows.
#include "job/gluejob.h"
#include "support/files.h"
#include "support/wavbuilder.h"
#include "ui/mainwindow.h"
#include "ui/windowparts.h"

#include <QComboBox>
#include <QLabel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Timed
{
    const char *word;
    std::int64_t start;
    std::int64_t end;
};

std::vector<WordRow> rowsOf(std::initializer_list<Timed> words)
{
    std::vector<WordRow> rows;
    for (const Timed &t : words) {
        WordRow row;
        row.number = static_cast<std::int64_t>(rows.size() + 1);
        row.start = t.start;
        row.end = t.end;
        row.confidence = 0.9f;
        row.speaker = QStringLiteral("Anna");
        row.text = QString::fromLatin1(t.word);
        rows.push_back(row);
    }
    return rows;
}

} // namespace

class TestSubtitleCheckTab : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { useOwnSettingsStore(); }

    void problemsFollowTheProfileAndChooseTheirPhrase()
    {
        QTemporaryDir folder;
        MainWindow w;
        w.show();
        GlueJob &job = w.job();
        auto *profile = w.findChild<QComboBox *>(QStringLiteral("cbProfile"));
        auto *summary = w.findChild<QLabel *>(QStringLiteral("lbProblems"));
        auto *problems = w.findChild<QTableView *>(QStringLiteral("sgProblems"));
        auto *phrases = w.findChild<QTableView *>(QStringLiteral("sgSRT"));
        QVERIFY(profile && summary && problems && phrases);

        // Part 1 is 10 s with one word; part 2 starts with three long words
        // spoken too fast to read, and goes on talking right after them.
        writeSilentWav(folder.filePath(QStringLiteral("p1.wav")), 16000, 1, 16, 160000);
        writeSilentWav(folder.filePath(QStringLiteral("p2.wav")), 16000, 1, 16, 160000);
        job.openRecording(1, folder.filePath(QStringLiteral("p1.wav")));
        job.openRecording(2, folder.filePath(QStringLiteral("p2.wav")));
        job.setWordRows(WordTable::Main, rowsOf({{"Well.", 0, 250}}));
        job.setWordRows(WordTable::PartTwo,
                        rowsOf({{"Extraordinarily", 0, 250}, {"unbelievably", 300, 550}, {"wonderful.", 600, 850},
                                {"My", 900, 1150}, {"grandmother", 1200, 1450}, {"kept", 1500, 1750},
                                {"chickens", 1800, 2050}, {"and", 2100, 2350}, {"grew", 2400, 2650},
                                {"beans", 2700, 2950}, {"near", 3000, 3250}, {"the", 3300, 3550},
                                {"river", 3600, 3850}, {"every", 3900, 4150}, {"summer.", 4200, 4450}}));
        job.setText(TextView::Text1, {"Well."});
        job.setText(TextView::Text2, {"Extraordinarily unbelievably wonderful."});
        job.glue(folder.filePath(QStringLiteral("joined.wav")));

        // Classic has no rule of time: its short cues break none.
        QCOMPARE(problems->model()->rowCount(), 0);
        QVERIFY2(summary->text().startsWith(QStringLiteral("No problems in ")), qPrintable(summary->text()));

        profile->setCurrentIndex(1); // streaming
        QCOMPARE(job.settings.profile().name, QStringLiteral("streaming"));
        const CueCheck check = job.subtitleCheck();
        QVERIFY(!check.problems.empty());
        QCOMPARE(problems->model()->rowCount(), static_cast<int>(check.problems.size()));
        QVERIFY2(summary->text().contains(QStringLiteral("reading too fast: ")), qPrintable(summary->text()));
        QVERIFY2(summary->text().contains(QStringLiteral("under the profile streaming")), qPrintable(summary->text()));

        // A click on the first problem selects the phrase its cue shows.
        const QModelIndex first = problems->model()->index(0, 0);
        QTest::mouseClick(problems->viewport(), Qt::LeftButton, {}, problems->visualRect(first).center());
        const int row = phrases->currentIndex().row();
        QVERIFY2(row >= 1, qPrintable(QString::number(row)));
        const PhraseRow &phrase = job.phraseRows()[static_cast<std::size_t>(row)];
        QVERIFY(phrase.end > check.problems.front().start);
        QVERIFY(phrase.start <= check.problems.front().start + job.settings.msBefore);

        // Back to classic: the list follows.
        profile->setCurrentIndex(0);
        QCOMPARE(problems->model()->rowCount(), 0);
    }
};

QTEST_MAIN(TestSubtitleCheckTab)
#include "tst_subtitlechecktab.moc"
