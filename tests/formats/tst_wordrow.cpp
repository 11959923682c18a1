#include "base/numbers.h"
#include "formats/wordrow.h"

#include <QTest>

#include <limits>

using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(WordRow::Column)

namespace {

WordRow exampleRow()
{
    WordRow row;
    row.number = 12;
    row.start = 600250;
    row.end = 600730;
    row.text = u"hello"_s;
    row.confidence = 0.87f;
    row.speaker = u"SP1"_s;
    return row;
}

} // namespace

class TestWordRow : public QObject
{
    Q_OBJECT
private slots:
    void cellsShowTheValues();
    void confidenceShowsTheFloatsTwoDecimals_data();
    void confidenceShowsTheFloatsTwoDecimals();
    void setCellTakesCanonicalTextsAndKeepsTypedOnes_data();
    void setCellTakesCanonicalTextsAndKeepsTypedOnes();
    void canonicalTextForgetsWhatWasTyped();
    void copiesDoNotShareEdits();
};

void TestWordRow::cellsShowTheValues()
{
    const WordRow row = exampleRow();
    const QStringList cells = {row.cell(WordRow::Number), row.cell(WordRow::Start), row.cell(WordRow::End),
                               row.cell(WordRow::Text), row.cell(WordRow::Confidence), row.cell(WordRow::Speaker)};
    QCOMPARE(cells, (QStringList{"12", "600250", "600730", "hello", "0.87", "SP1"}));
    for (int column = 0; column < WordRow::columnCount; ++column)
        QVERIFY(!row.isTyped(WordRow::Column(column)));

    WordRow extremes;
    extremes.start = std::numeric_limits<std::int64_t>::min();
    extremes.end = std::numeric_limits<std::int64_t>::max();
    QCOMPARE(extremes.cell(WordRow::Start), u"-9223372036854775808"_s);
    QCOMPARE(extremes.cell(WordRow::End), u"9223372036854775807"_s);
    QCOMPARE(extremes.cell(WordRow::Confidence), u"0.00"_s);
}

void TestWordRow::confidenceShowsTheFloatsTwoDecimals_data()
{
    QTest::addColumn<float>("confidence");
    QTest::addColumn<QString>("shown");
    // The aligner's confidence is a float: 0.045 as a float lies above the
    // half, so it shows "0.05" where the double 0.045 would show "0.04".
    QTest::newRow("0.045 as a float") << 0.045f << u"0.05"_s;
    QTest::newRow("0.125 is exact: the half goes up") << 0.125f << u"0.13"_s;
    QTest::newRow("0.87") << 0.87f << u"0.87"_s;
    QTest::newRow("one") << 1.0f << u"1.00"_s;
    QTest::newRow("negative") << -0.5f << u"-0.50"_s;
    QTest::newRow("large") << 123456.0f << u"123456.00"_s;
}

void TestWordRow::confidenceShowsTheFloatsTwoDecimals()
{
    QFETCH(float, confidence);
    QFETCH(QString, shown);
    WordRow row;
    row.confidence = confidence;
    QCOMPARE(row.cell(WordRow::Confidence), shown);
    QCOMPARE(row.cell(WordRow::Confidence), withDecimals(confidence, 2));
    // The same float asked again (from the cache) shows the same.
    QCOMPARE(row.cell(WordRow::Confidence), shown);
}

void TestWordRow::setCellTakesCanonicalTextsAndKeepsTypedOnes_data()
{
    QTest::addColumn<WordRow::Column>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("typed");
    QTest::addColumn<qint64>("number"); // the column's number after the edit (times, number)
    QTest::addColumn<float>("confidence");

    const qint64 keep = -1; // the example row's own number for that column
    QTest::newRow("start in its own form") << WordRow::Start << u"1500"_s << false << qint64(1500) << 0.87f;
    QTest::newRow("negative start") << WordRow::Start << u"-12"_s << false << qint64(-12) << 0.87f;
    QTest::newRow("largest start") << WordRow::Start << u"9223372036854775807"_s << false
                                   << std::numeric_limits<qint64>::max() << 0.87f;
    QTest::newRow("start with a point") << WordRow::Start << u"1.5"_s << true << keep << 0.87f;
    QTest::newRow("start with a letter") << WordRow::Start << u"12x"_s << true << keep << 0.87f;
    QTest::newRow("leading zero") << WordRow::Start << u"007"_s << true << keep << 0.87f;
    QTest::newRow("minus zero") << WordRow::Start << u"-0"_s << true << keep << 0.87f;
    QTest::newRow("plus sign") << WordRow::Start << u"+5"_s << true << keep << 0.87f;
    QTest::newRow("blank around") << WordRow::End << u" 5"_s << true << keep << 0.87f;
    QTest::newRow("empty end") << WordRow::End << u""_s << true << keep << 0.87f;
    QTest::newRow("beyond 64 bits") << WordRow::End << u"9223372036854775808"_s << true << keep << 0.87f;
    QTest::newRow("end in its own form") << WordRow::End << u"2000"_s << false << qint64(2000) << 0.87f;
    QTest::newRow("number") << WordRow::Number << u"3"_s << false << qint64(3) << 0.87f;
    QTest::newRow("number typed") << WordRow::Number << u"three"_s << true << keep << 0.87f;
    QTest::newRow("confidence in its own form") << WordRow::Confidence << u"0.05"_s << false << keep << 0.05f;
    QTest::newRow("confidence 1.00") << WordRow::Confidence << u"1.00"_s << false << keep << 1.0f;
    QTest::newRow("confidence without decimals") << WordRow::Confidence << u"1"_s << true << keep << 0.87f;
    QTest::newRow("confidence with three decimals") << WordRow::Confidence << u"0.045"_s << true << keep << 0.87f;
    QTest::newRow("confidence with a blank") << WordRow::Confidence << u" 0.05"_s << true << keep << 0.87f;
    QTest::newRow("confidence not a number") << WordRow::Confidence << u"high"_s << true << keep << 0.87f;
    QTest::newRow("text") << WordRow::Text << u"1.5"_s << false << keep << 0.87f;
    QTest::newRow("speaker") << WordRow::Speaker << u"X"_s << false << keep << 0.87f;
}

void TestWordRow::setCellTakesCanonicalTextsAndKeepsTypedOnes()
{
    QFETCH(WordRow::Column, column);
    QFETCH(QString, text);
    QFETCH(bool, typed);
    QFETCH(qint64, number);
    QFETCH(float, confidence);

    WordRow row = exampleRow();
    const WordRow before = row;
    row.setCell(column, text);
    QCOMPARE(row.cell(column), text);
    QCOMPARE(row.isTyped(column), typed);
    QCOMPARE(row.confidence, confidence);
    const qint64 numbers[] = {row.number, row.start, row.end};
    const qint64 old[] = {before.number, before.start, before.end};
    if (column <= WordRow::End)
        QCOMPARE(numbers[column], number == -1 ? old[column] : number);
    // The other cells do not change.
    for (int other = 0; other < WordRow::columnCount; ++other)
        if (other != column)
            QCOMPARE(row.cell(WordRow::Column(other)), before.cell(WordRow::Column(other)));
}

void TestWordRow::canonicalTextForgetsWhatWasTyped()
{
    WordRow row = exampleRow();
    row.setCell(WordRow::Start, u"1.5"_s);
    row.setCell(WordRow::Confidence, u"1"_s);
    QVERIFY(row.typed);
    row.setCell(WordRow::Start, u"2.5"_s);
    QCOMPARE(row.cell(WordRow::Start), u"2.5"_s);
    row.setCell(WordRow::Start, u"700"_s);
    QVERIFY(!row.isTyped(WordRow::Start));
    QCOMPARE(row.start, std::int64_t(700));
    QCOMPARE(row.cell(WordRow::Confidence), u"1"_s);
    row.setCell(WordRow::Confidence, u"0.50"_s);
    QCOMPARE(row.cell(WordRow::Confidence), u"0.50"_s);
    QVERIFY(!row.typed); // nothing typed is left
}

void TestWordRow::copiesDoNotShareEdits()
{
    WordRow a = exampleRow();
    a.setCell(WordRow::End, u"soon"_s);
    WordRow b = a;
    b.setCell(WordRow::End, u"later"_s);
    b.setCell(WordRow::Start, u"x"_s);
    QCOMPARE(a.cell(WordRow::End), u"soon"_s);
    QCOMPARE(a.cell(WordRow::Start), u"600250"_s);
    QCOMPARE(b.cell(WordRow::End), u"later"_s);
    QCOMPARE(b.cell(WordRow::Start), u"x"_s);
}

QTEST_APPLESS_MAIN(TestWordRow)
#include "tst_wordrow.moc"
