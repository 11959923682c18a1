// A table following a recording: the row playing is selected and kept in
// view, rows are indexed again after they change, an open cell editor is left
// alone, and only a person's scrolling is reported as such.
#include "support/fakeperson.h"
#include "support/timedwords.h"

#include "job/gluejob.h"
#include "ui/tablefollower.h"
#include "ui/wordtablemodel.h"

#include <QApplication>
#include <QLineEdit>
#include <QWheelEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <memory>
#include <vector>

namespace {

// One word table of a job in a view, followed.
struct Followed
{
    FakePerson person;
    GlueJob job{person};
    WordTableModel model{job, WordTable::Main};
    QTableView view;
    std::unique_ptr<TableFollower> followerOwned;
    TableFollower &follower;

    explicit Followed(int rows, std::int64_t stepMs = 100)
        : followerOwned(makeFollower()), follower(*followerOwned)
    {
        job.setWordRows(WordTable::Main, wordsEvery(rows, stepMs));
        model.rowsReplaced();
        view.resize(400, 300);
        view.show();
    }
    std::unique_ptr<TableFollower> makeFollower()
    {
        view.setModel(&model);
        return std::make_unique<TableFollower>(
            &view, [this] { return TimeIndex::ofWords(job.wordRows(WordTable::Main)); });
    }
    bool inView(int row) const
    {
        return view.viewport()->rect().intersects(view.visualRect(model.index(row, 0)));
    }
};

} // namespace

class TstTableFollower : public QObject
{
    Q_OBJECT
private slots:
    void selectsTheRowPlayingAndKeepsItInView_data()
    {
        QTest::addColumn<qint64>("ms");
        QTest::addColumn<int>("row");
        QTest::newRow("first word") << qint64(0) << 0;
        QTest::newRow("inside a word far down") << qint64(80'050) << 800;
        QTest::newRow("after the last word") << qint64(500'000) << 999;
    }
    void selectsTheRowPlayingAndKeepsItInView()
    {
        QFETCH(qint64, ms);
        QFETCH(int, row);
        Followed f(1000);
        f.follower.follow(ms);
        QCOMPARE(f.view.currentIndex().row(), row);
        QCOMPARE(f.view.selectionModel()->selectedRows().size(), 1);
        QCOMPARE(f.view.selectionModel()->selectedRows().first().row(), row);
        QVERIFY(f.inView(row));
    }

    // Played word by word, the row playing keeps to the middle third of the
    // view, so the words to come show below it; the first rows stay at the
    // top, where the table cannot scroll them down, and the last at the end.
    void theRowPlayingStaysInTheMiddleThird()
    {
        Followed f(400);
        const int height = f.view.viewport()->height();
        QStringList wrong;
        for (int row = 0; row < 400; ++row) {
            f.follower.follow(row * 100 + 50);
            QCOMPARE(f.view.currentIndex().row(), row);
            const QRect place = f.view.visualRect(f.view.currentIndex());
            const bool top = f.view.verticalScrollBar()->value() == 0;
            const bool end = f.view.verticalScrollBar()->value() == f.view.verticalScrollBar()->maximum();
            const bool middle = place.top() >= height / 3 && place.bottom() <= 2 * height / 3;
            if (!middle && !(top && place.bottom() <= 2 * height / 3) && !(end && place.top() >= height / 3))
                wrong << QStringLiteral("row %1 at %2..%3 of %4").arg(row).arg(place.top()).arg(place.bottom()).arg(height);
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral(", "))));
        // It did scroll: the last row is at the end, the rows before it followed.
        QCOMPARE(f.view.verticalScrollBar()->value(), f.view.verticalScrollBar()->maximum());
    }

    void beforeTheFirstWordNothingIsSelected()
    {
        Followed f(10);
        std::vector<WordRow> rows = wordsEvery(10, 100);
        for (WordRow &r : rows)
            r.start += 1000;
        f.job.setWordRows(WordTable::Main, rows);
        f.model.rowsReplaced();
        f.follower.follow(999);
        QVERIFY(!f.view.currentIndex().isValid());
        f.follower.follow(1000);
        QCOMPARE(f.view.currentIndex().row(), 0);
    }

    void editedStartsAreFoundAfterTheRowsChange()
    {
        Followed f(100);
        f.follower.follow(2050);
        QCOMPARE(f.view.currentIndex().row(), 20);
        // Row 50 now starts at 2040: it plays from there.
        f.job.setWordCell(WordTable::Main, 50, WordRow::Start, QStringLiteral("2040"));
        f.model.rowsChanged(50, 50); // as the window hands on the job's notice
        f.follower.follow(2050);
        QCOMPARE(f.view.currentIndex().row(), 50);
        QCOMPARE(f.follower.startOf(50), qint64(2040));
    }

    void aRowChosenAmongEqualStartsStaysChosen()
    {
        Followed f(10);
        std::vector<WordRow> rows = wordsEvery(10, 100);
        rows[3].start = rows[4].start = rows[2].start; // rows 2 to 4 at 200 ms
        f.job.setWordRows(WordTable::Main, rows);
        f.model.rowsReplaced();
        f.follower.follow(250);
        QCOMPARE(f.view.currentIndex().row(), 2);
        f.follower.select(4);
        f.follower.follow(260);
        QCOMPARE(f.view.currentIndex().row(), 4);
        f.follower.follow(510);
        QCOMPARE(f.view.currentIndex().row(), 5);
    }

    void anOpenCellEditorIsLeftAlone()
    {
        Followed f(100);
        f.view.setFocus();
        const QModelIndex cell = f.model.index(3, 3);
        f.view.setCurrentIndex(cell);
        f.view.edit(cell);
        auto *editor = qobject_cast<QLineEdit *>(f.view.indexWidget(cell));
        QVERIFY(editor);
        editor->setText(QStringLiteral("typed"));
        f.follower.follow(7000);
        QCOMPARE(f.view.currentIndex(), cell);
        QCOMPARE(f.view.indexWidget(cell), editor);
        QCOMPARE(editor->text(), QStringLiteral("typed"));
    }

    void onlyAPersonsScrollingIsReported()
    {
        Followed f(1000);
        QSignalSpy hand(&f.follower, &TableFollower::scrolledByHand);
        f.follower.follow(90'000);
        QVERIFY(f.view.verticalScrollBar()->value() > 0);
        QCOMPARE(hand.count(), 0);
        f.view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
        QCOMPARE(hand.count(), 1);
        // The mouse wheel over the table is a person scrolling too.
        QWheelEvent wheel(QPointF(50, 50), f.view.viewport()->mapToGlobal(QPointF(50, 50)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(f.view.viewport(), &wheel);
        QCOMPARE(hand.count(), 2);
    }
};

QTEST_MAIN(TstTableFollower)
#include "tst_tablefollower.moc"
