#include "lines/efout.h"
#include "lines/tekst.h"

#include <QTest>

class TestTekst : public QObject
{
    Q_OBJECT
private slots:
    void afrondenGaatNaarEven_data();
    void afrondenGaatNaarEven();
    void strNaarFloatVolgtDeGrammatica_data();
    void strNaarFloatVolgtDeGrammatica();
    void strNaarIntWeigertWatGeenGetalIs_data();
    void strNaarIntWeigertWatGeenGetalIs();
    void trimHaaltStuurtekensWeg();
};

void TestTekst::afrondenGaatNaarEven_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<qint64>("verwacht");
    QTest::newRow("50.5") << 50.5 << qint64(50);
    QTest::newRow("51.5") << 51.5 << qint64(52);
    QTest::newRow("-2.5") << -2.5 << qint64(-2);
    QTest::newRow("0.49") << 0.49 << qint64(0);
    QTest::newRow("4999.5") << 4999.5 << qint64(5000);
}

void TestTekst::afrondenGaatNaarEven()
{
    QFETCH(double, x);
    QFETCH(qint64, verwacht);
    QCOMPARE(qint64(afronden(x)), verwacht);
}

void TestTekst::strNaarFloatVolgtDeGrammatica_data()
{
    QTest::addColumn<QString>("tekst");
    QTest::addColumn<bool>("geldig");
    QTest::addColumn<double>("waarde");
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

void TestTekst::strNaarFloatVolgtDeGrammatica()
{
    QFETCH(QString, tekst);
    QFETCH(bool, geldig);
    QFETCH(double, waarde);
    if (geldig) {
        QCOMPARE(strNaarFloat(tekst), waarde);
        return;
    }
    try {
        strNaarFloat(tekst);
        QFAIL("no error");
    } catch (const EFout &e) {
        QCOMPARE(e.bericht(), QStringLiteral("'%1' is not a valid floating point value").arg(tekst));
    }
}

void TestTekst::strNaarIntWeigertWatGeenGetalIs_data()
{
    QTest::addColumn<QString>("tekst");
    QTest::addColumn<bool>("geldig");
    QTest::addColumn<int>("waarde");
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

void TestTekst::strNaarIntWeigertWatGeenGetalIs()
{
    QFETCH(QString, tekst);
    QFETCH(bool, geldig);
    QFETCH(int, waarde);
    if (geldig) {
        QCOMPARE(strNaarInt(tekst), waarde);
        return;
    }
    try {
        strNaarInt(tekst);
        QFAIL("no error");
    } catch (const EFout &e) {
        QCOMPARE(e.bericht(), QStringLiteral("'%1' is not a valid integer value").arg(tekst));
    }
}

void TestTekst::trimHaaltStuurtekensWeg()
{
    QCOMPARE(trimTekst(QStringLiteral("\t a b \r\n\x01")), QStringLiteral("a b"));
    QCOMPARE(trimTekst(QStringLiteral("   ")), QString());
    QCOMPARE(trimTekst(QStringLiteral("\u00A0x")), QStringLiteral("\u00A0x")); // no-break space is text
}

QTEST_APPLESS_MAIN(TestTekst)
#include "tst_tekst.moc"
