// A row of the phrase table: cells that show their numbers, and typed cells.
#include "support/fakeperson.h"

#include "job/phraserow.h"

#include <QTest>

#include <limits>

class TstPhraseRow : public QObject
{
    Q_OBJECT
private slots:
    void aCellTakesTheNumberOrKeepsTheText_data();
    void aCellTakesTheNumberOrKeepsTheText();
    void aCopyKeepsItsOwnTypedCells();
    void typingTheNumberAgainForgetsTheText();
};

void TstPhraseRow::aCellTakesTheNumberOrKeepsTheText_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("typed");
    QTest::addColumn<qint64>("number"); // the number the column then holds

    QTest::newRow("a whole number") << int(PhraseRow::Start) << "1500" << false << qint64(1500);
    QTest::newRow("zero") << int(PhraseRow::End) << "0" << false << qint64(0);
    QTest::newRow("a negative number") << int(PhraseRow::Start) << "-3" << false << qint64(-3);
    QTest::newRow("the largest 64-bit number") << int(PhraseRow::End) << "9223372036854775807" << false
                                               << std::numeric_limits<qint64>::max();
    QTest::newRow("the smallest 64-bit number") << int(PhraseRow::End) << "-9223372036854775808" << false
                                                << std::numeric_limits<qint64>::min();
    QTest::newRow("beyond 64 bits") << int(PhraseRow::End) << "9223372036854775808" << true << qint64(0);
    QTest::newRow("minus zero") << int(PhraseRow::Start) << "-0" << true << qint64(0);
    QTest::newRow("a leading zero") << int(PhraseRow::Start) << "07" << true << qint64(0);
    QTest::newRow("a plus sign") << int(PhraseRow::Start) << "+7" << true << qint64(0);
    QTest::newRow("a blank") << int(PhraseRow::Start) << "7 " << true << qint64(0);
    QTest::newRow("a decimal comma") << int(PhraseRow::Start) << "12,5" << true << qint64(0);
    QTest::newRow("empty") << int(PhraseRow::Start) << "" << true << qint64(0);
    QTest::newRow("a count") << int(PhraseRow::CharCount) << "42" << false << qint64(42);
    QTest::newRow("a number") << int(PhraseRow::Number) << "x" << true << qint64(0);
}

void TstPhraseRow::aCellTakesTheNumberOrKeepsTheText()
{
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(bool, typed);
    QFETCH(qint64, number);
    const auto c = static_cast<PhraseRow::Column>(column);
    PhraseRow row;
    row.setCell(c, text);
    QCOMPARE(row.cell(c), text);
    QCOMPARE(row.isTyped(c), typed);
    const qint64 held = c == PhraseRow::Number ? row.number
                        : c == PhraseRow::Start ? row.start
                        : c == PhraseRow::End   ? row.end
                                                : row.charCount;
    QCOMPARE(held, number);
    // The other columns show their numbers.
    for (int other = 0; other < PhraseRow::Text; ++other)
        if (other != column)
            QVERIFY(!row.isTyped(static_cast<PhraseRow::Column>(other)));
}

void TstPhraseRow::aCopyKeepsItsOwnTypedCells()
{
    PhraseRow a;
    a.setCell(PhraseRow::Start, QStringLiteral("1,5"));
    PhraseRow b = a;
    b.setCell(PhraseRow::End, QStringLiteral("2,5"));
    b.setCell(PhraseRow::Text, QStringLiteral("b"));
    QCOMPARE(cells(a), (QStringList{"0", "1,5", "0", "0", ""}));
    QCOMPARE(cells(b), (QStringList{"0", "1,5", "2,5", "0", "b"}));
}

void TstPhraseRow::typingTheNumberAgainForgetsTheText()
{
    PhraseRow row;
    row.setCell(PhraseRow::Start, QStringLiteral("12,5"));
    row.setCell(PhraseRow::End, QStringLiteral("x"));
    row.setCell(PhraseRow::Start, QStringLiteral("12"));
    QCOMPARE(row.start, 12);
    QVERIFY(!row.isTyped(PhraseRow::Start));
    QVERIFY(row.isTyped(PhraseRow::End));
    row.setCell(PhraseRow::End, QStringLiteral("20"));
    QVERIFY(!row.typed);
    QCOMPARE(cells(row), (QStringList{"0", "12", "20", "0", ""}));
}

QTEST_GUILESS_MAIN(TstPhraseRow)
#include "tst_phraserow.moc"
