// Finding the row a recording plays at, and where a row starts: equal starts,
// starts out of order after hand edits, rows without a time, long tables.
#include "job/timeindex.h"

#include <QElapsedTimer>
#include <QTest>

#include <cstdint>
#include <vector>

Q_DECLARE_METATYPE(std::vector<std::int64_t>)

namespace {

constexpr std::int64_t none = TimeIndex::noTime;

WordRow word(std::int64_t start)
{
    WordRow row;
    row.start = start;
    row.end = start + 100;
    row.text = QStringLiteral("w");
    return row;
}

} // namespace

class TstTimeIndex : public QObject
{
    Q_OBJECT
private slots:
    void findsTheRowPlaying_data();
    void findsTheRowPlaying();
    void givesEachRowItsStart();
    void wordsWithATypedStartHaveNoTime();
    void phrasesWithATypedStartHaveNoTime();
    void aMillionRowsAreFoundByTheirStart();
};

void TstTimeIndex::findsTheRowPlaying_data()
{
    QTest::addColumn<std::vector<std::int64_t>>("starts");
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<int>("row");

    const std::vector<std::int64_t> sorted{0, 400, 900, 1500};
    QTest::newRow("at the first start") << sorted << qint64(0) << 0;
    QTest::newRow("inside a word") << sorted << qint64(650) << 1;
    QTest::newRow("exactly at a start") << sorted << qint64(900) << 2;
    QTest::newRow("one ms before a start") << sorted << qint64(899) << 1;
    QTest::newRow("after the last word") << sorted << qint64(3'600'000) << 3;
    QTest::newRow("before the first word") << std::vector<std::int64_t>{500, 800} << qint64(499) << -1;
    QTest::newRow("no rows") << std::vector<std::int64_t>{} << qint64(100) << -1;

    // Five words the aligner put at one start: the first of them plays.
    const std::vector<std::int64_t> equal{0, 300, 300, 300, 700};
    QTest::newRow("equal starts, at them") << equal << qint64(300) << 1;
    QTest::newRow("equal starts, inside them") << equal << qint64(650) << 1;
    QTest::newRow("equal starts, after them") << equal << qint64(700) << 4;

    // Row 2 was typed to start early: it plays from its own start on, and
    // the rows around it by theirs.
    const std::vector<std::int64_t> edited{1000, 2000, 150, 3000, 4000};
    QTest::newRow("out of order, before all") << edited << qint64(100) << -1;
    QTest::newRow("out of order, the edited row") << edited << qint64(500) << 2;
    QTest::newRow("out of order, the row before it") << edited << qint64(2500) << 1;
    QTest::newRow("out of order, the row after it") << edited << qint64(3100) << 3;
    // A row typed to start later than the next ones.
    const std::vector<std::int64_t> late{0, 5000, 1000, 2000};
    QTest::newRow("late row, the rows after it play first") << late << qint64(1500) << 2;
    QTest::newRow("late row, its own start") << late << qint64(5001) << 1;

    const std::vector<std::int64_t> untimed{0, none, 800};
    QTest::newRow("a row without a time is skipped") << untimed << qint64(500) << 0;
    QTest::newRow("negative start") << std::vector<std::int64_t>{-200, 100} << qint64(-50) << 0;
}

void TstTimeIndex::findsTheRowPlaying()
{
    QFETCH(std::vector<std::int64_t>, starts);
    QFETCH(qint64, ms);
    QFETCH(int, row);
    const TimeIndex index(starts);
    QCOMPARE(index.rowAt(ms), row);
    QCOMPARE(index.rowCount(), int(starts.size()));
}

void TstTimeIndex::givesEachRowItsStart()
{
    const std::vector<std::int64_t> starts{1000, 2000, 150, none};
    const TimeIndex index(starts);
    QCOMPARE(index.startOf(0), qint64(1000));
    QCOMPARE(index.startOf(2), qint64(150));
    QCOMPARE(index.startOf(3), none);
    QCOMPARE(index.startOf(-1), none);
    QCOMPARE(index.startOf(4), none);
    // A row's start finds that row again, unless an earlier row shares it.
    for (int row = 0; row < 3; ++row)
        QCOMPARE(index.rowAt(index.startOf(row)), row);
}

void TstTimeIndex::wordsWithATypedStartHaveNoTime()
{
    std::vector<WordRow> rows{word(0), word(400), word(900)};
    rows[1].setCell(WordRow::Start, QStringLiteral("0.4s"));
    QVERIFY(rows[1].isTyped(WordRow::Start));
    const TimeIndex index = TimeIndex::ofWords(rows);
    QCOMPARE(index.rowCount(), 3);
    QCOMPARE(index.startOf(1), none);
    QCOMPARE(index.rowAt(600), 0);
    QCOMPARE(index.rowAt(900), 2);
    QCOMPARE(index.startOf(2), qint64(900));
}

void TstTimeIndex::phrasesWithATypedStartHaveNoTime()
{
    std::vector<PhraseRow> rows(3);
    for (int i = 0; i < 3; ++i)
        rows[static_cast<size_t>(i)].start = i * 5000;
    rows[2].setCell(PhraseRow::Start, QStringLiteral("10,000"));
    const TimeIndex index = TimeIndex::ofPhrases(rows);
    QCOMPARE(index.startOf(1), qint64(5000));
    QCOMPARE(index.startOf(2), none);
    QCOMPARE(index.rowAt(12000), 1);
}

void TstTimeIndex::aMillionRowsAreFoundByTheirStart()
{
    constexpr int count = 1'000'000;
    std::vector<std::int64_t> starts(count);
    for (int i = 0; i < count; ++i)
        starts[static_cast<size_t>(i)] = std::int64_t(i) * 400;
    // Two hand edits: one row moved far back, one far ahead.
    starts[500'000] = 1'234;
    starts[10] = 399'000'000;
    const TimeIndex index(starts);
    QCOMPARE(index.rowAt(0), 0);
    QCOMPARE(index.rowAt(1'234), 500'000);
    QCOMPARE(index.rowAt(1'233), 3);
    QCOMPARE(index.rowAt(1'300), 500'000);
    QCOMPARE(index.rowAt(1'600), 4);
    QCOMPARE(index.rowAt(4'100), 9); // row 10's own start is gone
    QCOMPARE(index.rowAt(std::int64_t(999'999) * 400 + 399), 999'999);
    QCOMPARE(index.rowAt(200'000'100), 499'999); // row 500,000's own start is gone
    QCOMPARE(index.rowAt(398'999'999), 997'499);
    QCOMPARE(index.rowAt(399'000'000), 10);
    QCOMPARE(index.startOf(999'999), std::int64_t(999'999) * 400);
    for (int row : {1, 2, 123'456, 999'998})
        QCOMPARE(index.rowAt(index.startOf(row) + 10), row);
}

QTEST_APPLESS_MAIN(TstTimeIndex)
#include "tst_timeindex.moc"
