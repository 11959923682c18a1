// Whole numbers as the word tables show them: the same digits QString::number writes.
#include "job/decimaal.h"

#include <QTest>

#include <limits>

class TstDecimaal : public QObject
{
    Q_OBJECT

private slots:
    void writesWhatQStringNumberWrites_data();
    void writesWhatQStringNumberWrites();
};

void TstDecimaal::writesWhatQStringNumberWrites_data()
{
    QTest::addColumn<qint64>("getal");
    QTest::addColumn<QString>("tekst");
    QTest::newRow("zero") << qint64(0) << "0";
    QTest::newRow("one") << qint64(1) << "1";
    QTest::newRow("minus one") << qint64(-1) << "-1";
    QTest::newRow("a shifted start") << qint64(600250) << "600250";
    QTest::newRow("ten digits") << qint64(1234567890) << "1234567890";
    QTest::newRow("largest") << std::numeric_limits<qint64>::max() << "9223372036854775807";
    QTest::newRow("smallest") << std::numeric_limits<qint64>::min() << "-9223372036854775808";
}

void TstDecimaal::writesWhatQStringNumberWrites()
{
    QFETCH(qint64, getal);
    QFETCH(QString, tekst);
    QCOMPARE(decimaal(getal), tekst);
    QCOMPARE(decimaal(getal), QString::number(getal));
}

QTEST_GUILESS_MAIN(TstDecimaal)
#include "tst_decimaal.moc"
