// The "Review" tab of the window: its caption counts the spots, its button
// fills the unknown words and the list follows, and Enter on a spot selects
// its word row.
#include "job/gluejob.h"
#include "support/files.h"
#include "support/wavbuilder.h"
#include "ui/mainwindow.h"
#include "ui/windowparts.h"

#include <QAction>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

std::vector<WordRow> rowsOf(const QStringList &words)
{
    std::vector<WordRow> rows;
    std::int64_t ms = 0;
    for (const QString &word : words) {
        WordRow row;
        row.number = static_cast<std::int64_t>(rows.size() + 1);
        row.start = ms;
        row.end = ms + 250;
        row.confidence = 0.9f;
        row.speaker = QStringLiteral("Anna");
        row.text = word;
        rows.push_back(row);
        ms += 300;
    }
    return rows;
}

} // namespace

class TestReviewTab : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { useOwnSettingsStore(); }

    void theTabShowsFillsAndPlaysTheSpots()
    {
        QTemporaryDir folder;
        MainWindow w;
        w.show();
        GlueJob &job = w.job();
        auto *tabs = w.findChild<QTabWidget *>(QStringLiteral("tcData"));
        auto *fill = w.findChild<QPushButton *>(QStringLiteral("pbFillUnknown"));
        auto *review = w.findChild<QTableView *>(QStringLiteral("sgReview"));
        auto *words = w.findChild<QTableView *>(QStringLiteral("sgCTM1"));
        QCOMPARE(tabs->tabText(static_cast<int>(Tab::Review)), QStringLiteral("Review (0)"));
        QVERIFY(!fill->isEnabled());

        for (int part : {1, 2}) {
            const QString wav = QStringLiteral("%1/p%2.wav").arg(folder.path()).arg(part);
            writeSilentWav(wav, 16000, 1, 16, 48000);
            job.openRecording(part, wav);
        }
        job.setWordRows(WordTable::Main, rowsOf({"I", "was", "born", "in", "<unk>", "in", "spring."}));
        job.setWordRows(WordTable::PartTwo, rowsOf({"We", "left."}));
        job.setText(TextView::Text1, {"I was born in Zwolle, in spring."});
        job.setText(TextView::Text2, {"We left it."});
        job.glue(folder.path() + QStringLiteral("/joined.wav"));

        QCOMPARE(tabs->tabText(static_cast<int>(Tab::Review)), QStringLiteral("Review (2)"));
        QCOMPARE(review->model()->rowCount(), 2);
        QCOMPARE(review->model()->index(0, 3).data().toString(), QStringLiteral("unknown"));
        QCOMPARE(review->model()->index(0, 5).data().toString(), QStringLiteral("Zwolle,"));
        QCOMPARE(fill->text(), QStringLiteral("Fill 1 unknown words from the transcript"));

        // Enter on the second spot (the skipped "it", at "left." of part 2).
        tabs->setCurrentIndex(static_cast<int>(Tab::Review));
        review->setFocus();
        review->setCurrentIndex(review->model()->index(1, 0));
        QTest::keyClick(review, Qt::Key_Return);
        QCOMPARE(words->currentIndex().row(), 8);

        fill->click();
        QCOMPARE(job.wordRows(WordTable::Main)[4].text, QStringLiteral("Zwolle,"));
        QCOMPARE(words->model()->index(4, WordRow::Text).data().toString(), QStringLiteral("Zwolle,"));
        QCOMPARE(review->model()->index(0, 3).data().toString(), QStringLiteral("filled"));
        QCOMPARE(fill->text(), QStringLiteral("Fill 0 unknown words from the transcript"));
        QVERIFY(!fill->isEnabled());

        // The fill is one step to undo: the token and its spot come back.
        w.findChild<QAction *>(QStringLiteral("miUndo"))->trigger();
        QCOMPARE(job.wordRows(WordTable::Main)[4].text, QStringLiteral("<unk>"));
        // The review is made again after the table answered.
        QTRY_COMPARE(review->model()->index(0, 3).data().toString(), QStringLiteral("unknown"));
        QCOMPARE(fill->text(), QStringLiteral("Fill 1 unknown words from the transcript"));
        w.findChild<QAction *>(QStringLiteral("miRedo"))->trigger();
        QCOMPARE(job.wordRows(WordTable::Main)[4].text, QStringLiteral("Zwolle,"));
        QTRY_COMPARE(review->model()->index(0, 3).data().toString(), QStringLiteral("filled"));
    }
};

QTEST_MAIN(TestReviewTab)
#include "tst_reviewtab.moc"
