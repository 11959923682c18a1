#include "base/numbers.h"
#include "support/files.h"

#include <QTest>

#include <limits>

class TestNumbers : public QObject
{
    Q_OBJECT
private slots:
    void roundingGoesToEven_data();
    void roundingGoesToEven();
    void parseFloatFollowsTheGrammar_data();
    void parseFloatFollowsTheGrammar();
    void parseIntRejectsWhatIsNoNumber_data();
    void parseIntRejectsWhatIsNoNumber();
    void decimalTextWritesWhatQStringNumberWrites_data();
    void decimalTextWritesWhatQStringNumberWrites();
};

void TestNumbers::roundingGoesToEven_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("50.5") << 50.5 << qint64(50);
    QTest::newRow("51.5") << 51.5 << qint64(52);
    QTest::newRow("-2.5") << -2.5 << qint64(-2);
    QTest::newRow("0.49") << 0.49 << qint64(0);
    QTest::newRow("4999.5") << 4999.5 << qint64(5000);
}

void TestNumbers::roundingGoesToEven()
{
    QFETCH(double, x);
    QFETCH(qint64, expected);
    QCOMPARE(qint64(roundHalfEven(x)), expected);
}

void TestNumbers::parseFloatFollowsTheGrammar_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "0.5" << true << 0.5;
    QTest::newRow("leading dot") << ".5" << true << 0.5;
    QTest::newRow("trailing dot") << "5." << true << 5.0;
    QTest::newRow("plus sign") << "+1.25" << true << 1.25;
    QTest::newRow("minus sign") << "-0.25" << true << -0.25;
    QTest::newRow("exponent") << "1e3" << true << 1000.0;
    QTest::newRow("signed exponent") << "25E-2" << true << 0.25;
    QTest::newRow("blanks around") << "  7  " << true << 7.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blank only") << " " << false << 0.0;
    QTest::newRow("comma") << "1,5" << false << 0.0;
    QTest::newRow("tab") << "\t1.5" << false << 0.0;
    QTest::newRow("hex") << "0x1A" << false << 0.0;
    QTest::newRow("inf") << "inf" << false << 0.0;
    QTest::newRow("nan") << "nan" << false << 0.0;
    QTest::newRow("lone dot") << "." << false << 0.0;
    QTest::newRow("exponent without digits") << "1e" << false << 0.0;
    QTest::newRow("two signs") << "+-1" << false << 0.0;
    QTest::newRow("word") << "hello" << false << 0.0;
    QTest::newRow("huge") << "1e999" << false << 0.0;
}

void TestNumbers::parseFloatFollowsTheGrammar()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, value);
    if (valid) {
        QCOMPARE(parseFloat(text), value);
        return;
    }
    QCOMPARE(errorMessage([&] { parseFloat(text); }),
             QStringLiteral("'%1' is not a valid floating point value").arg(text));
}

void TestNumbers::parseIntRejectsWhatIsNoNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::newRow("digits") << "1500" << true << 1500;
    QTest::newRow("negative") << "-1" << true << -1;
    QTest::newRow("leading blanks") << "  42" << true << 42;
    QTest::newRow("int32 max") << "2147483647" << true << 2147483647;
    QTest::newRow("int32 min") << "-2147483648" << true << int(-2147483647 - 1);
    QTest::newRow("too big") << "2147483648" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("decimal") << "12.5" << false << 0;
    QTest::newRow("trailing blank") << "12 " << false << 0;
    QTest::newRow("sign only") << "-" << false << 0;
}

void TestNumbers::parseIntRejectsWhatIsNoNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    if (valid) {
        QCOMPARE(parseInt(text), value);
        return;
    }
    QCOMPARE(errorMessage([&] { parseInt(text); }), QStringLiteral("'%1' is not a valid integer value").arg(text));
}

// Whole numbers as the word tables show them: the same digits QString::number writes.
void TestNumbers::decimalTextWritesWhatQStringNumberWrites_data()
{
    QTest::addColumn<qint64>("number");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << "0";
    QTest::newRow("one") << qint64(1) << "1";
    QTest::newRow("minus one") << qint64(-1) << "-1";
    QTest::newRow("a shifted start") << qint64(600250) << "600250";
    QTest::newRow("ten digits") << qint64(1234567890) << "1234567890";
    QTest::newRow("largest") << std::numeric_limits<qint64>::max() << "9223372036854775807";
    QTest::newRow("smallest") << std::numeric_limits<qint64>::min() << "-9223372036854775808";
}

void TestNumbers::decimalTextWritesWhatQStringNumberWrites()
{
    QFETCH(qint64, number);
    QFETCH(QString, text);
    QCOMPARE(decimalText(number), text);
    QCOMPARE(decimalText(number), QString::number(number));
}

QTEST_APPLESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
