#include "base/timetext.h"
#include "support/files.h"

#include <QTest>

#include <limits>

class TestTimeText : public QObject
{
    Q_OBJECT
private slots:
    void timeTextGivesTheTimeOfDay_data();
    void timeTextGivesTheTimeOfDay();
    void parseTimeTextReadsTheTimeText_data();
    void parseTimeTextReadsTheTimeText();
    void parseTimeTextNamesTheWrongPart_data();
    void parseTimeTextNamesTheWrongPart();
    void timeTextGoesThereAndBack();
    void secondsTextPutsThePointBeforeTheLastThreeDigits_data();
    void secondsTextPutsThePointBeforeTheLastThreeDigits();
    void secondsTextIsPrintfsWithin32Bits();
    void clockTextIsALengthAtAGlance_data();
    void clockTextIsALengthAtAGlance();
    void msOfFramesRoundsToTheNearest_data();
    void msOfFramesRoundsToTheNearest();
};

void TestTimeText::clockTextIsALengthAtAGlance_data()
{
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << "0:00:00.000";
    QTest::newRow("a seam") << qint64(17530) << "0:00:17.530";
    QTest::newRow("every field") << qint64(3723004) << "1:02:03.004";
    QTest::newRow("past a day, the hours go on") << qint64(90000000) << "25:00:00.000";
    QTest::newRow("negative reads as zero") << qint64(-5) << "0:00:00.000";
}

void TestTimeText::clockTextIsALengthAtAGlance()
{
    QFETCH(qint64, ms);
    QFETCH(QString, text);
    QCOMPARE(clockText(ms), text);
}

void TestTimeText::msOfFramesRoundsToTheNearest_data()
{
    QTest::addColumn<qint64>("frames");
    QTest::addColumn<int>("rate");
    QTest::addColumn<qint64>("ms");
    QTest::newRow("16 kHz, half up") << qint64(280477) << 16000 << qint64(17530);
    QTest::newRow("16 kHz, down") << qint64(280470) << 16000 << qint64(17529);
    QTest::newRow("44.1 kHz") << qint64(44100 * 3600) << 44100 << qint64(3600000);
    QTest::newRow("no rate") << qint64(1000) << 0 << qint64(0);
}

void TestTimeText::msOfFramesRoundsToTheNearest()
{
    QFETCH(qint64, frames);
    QFETCH(int, rate);
    QFETCH(qint64, ms);
    QCOMPARE(msOfFrames(frames, static_cast<std::uint32_t>(rate)), ms);
}

void TestTimeText::timeTextGivesTheTimeOfDay_data()
{
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << "00:00:00,000";
    QTest::newRow("every field") << qint64(3723004) << "01:02:03,004";
    QTest::newRow("last ms of the day") << qint64(86399999) << "23:59:59,999";
    QTest::newRow("a whole day wraps") << qint64(86400000) << "00:00:00,000";
    QTest::newRow("a day and more") << qint64(90061001) << "01:01:01,001";
    QTest::newRow("negative counts as positive") << qint64(-1500) << "00:00:01,500";
    QTest::newRow("largest") << std::numeric_limits<qint64>::max() << "07:12:55,807";
    QTest::newRow("most negative") << std::numeric_limits<qint64>::min() << "07:12:55,808";
}

void TestTimeText::timeTextGivesTheTimeOfDay()
{
    QFETCH(qint64, ms);
    QFETCH(QString, text);
    QCOMPARE(timeText(ms), text);
}

void TestTimeText::parseTimeTextReadsTheTimeText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("ms");
    QTest::newRow("one digit is tenths") << "00:01:02,5" << qint64(62500);
    QTest::newRow("two digits are hundredths") << "00:01:02,05" << qint64(62050);
    QTest::newRow("dot before the ms") << "00:00:01.250" << qint64(1250);
    QTest::newRow("an hour") << "01:00:00,000" << qint64(3600000);
    QTest::newRow("no ms at all") << "00:00:07" << qint64(7000);
    QTest::newRow("hours past a day") << "99:59:59,999" << qint64(359999999);
    QTest::newRow("only the first twelve count") << "00:00:02,000 line:0" << qint64(2000);
}

void TestTimeText::parseTimeTextReadsTheTimeText()
{
    QFETCH(QString, text);
    QFETCH(qint64, ms);
    QCOMPARE(qint64(parseTimeText(text)), ms);
}

void TestTimeText::parseTimeTextNamesTheWrongPart_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("part");
    QTest::newRow("letter in the minutes") << "00:0x:02,000" << "0x";
    QTest::newRow("letter in the ms, padded") << "00:00:02,x" << "x00";
    QTest::newRow("empty text") << "" << "";
    QTest::newRow("one digit hours") << "1:00:00,000" << "1:";
}

void TestTimeText::parseTimeTextNamesTheWrongPart()
{
    QFETCH(QString, text);
    QFETCH(QString, part);
    QCOMPARE(errorMessage([&] { parseTimeText(text); }), QStringLiteral("'%1' is not a valid integer value").arg(part));
}

void TestTimeText::timeTextGoesThereAndBack()
{
    for (const qint64 ms : {qint64(0), qint64(1), qint64(59999), qint64(3599999), qint64(86399999)})
        QCOMPARE(qint64(parseTimeText(timeText(ms))), ms);
}

void TestTimeText::secondsTextPutsThePointBeforeTheLastThreeDigits_data()
{
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << "0.000";
    QTest::newRow("one digit") << qint64(5) << "0.005";
    QTest::newRow("three digits") << qint64(999) << "0.999";
    QTest::newRow("a second") << qint64(1000) << "1.000";
    QTest::newRow("zeros inside") << qint64(10020) << "10.020";
    QTest::newRow("negative under a second") << qint64(-1) << "-0.001";
    QTest::newRow("negative") << qint64(-12345) << "-12.345";
    QTest::newRow("32-bit largest") << qint64(std::numeric_limits<qint32>::max()) << "2147483.647";
    QTest::newRow("32-bit most negative") << qint64(std::numeric_limits<qint32>::min()) << "-2147483.648";
    QTest::newRow("largest") << std::numeric_limits<qint64>::max() << "9223372036854775.807";
    QTest::newRow("most negative") << std::numeric_limits<qint64>::min() << "-9223372036854775.808";
}

void TestTimeText::secondsTextPutsThePointBeforeTheLastThreeDigits()
{
    QFETCH(qint64, ms);
    QFETCH(QString, text);
    // The text goes after what the line holds already.
    QString line = QStringLiteral("t=");
    appendSecondsText(line, ms);
    QCOMPARE(line, QStringLiteral("t=") + text);
}

void TestTimeText::secondsTextIsPrintfsWithin32Bits()
{
    // Word files were written with "%.3f" of ms / 1000; the digits must stay
    // those over the whole 32-bit range, walked with a prime stride.
    for (qint64 ms = std::numeric_limits<qint32>::min(); ms <= std::numeric_limits<qint32>::max(); ms += 999983) {
        QString line;
        appendSecondsText(line, ms);
        QCOMPARE(line, QString::asprintf("%.3f", double(ms) / 1000));
    }
}

QTEST_APPLESS_MAIN(TestTimeText)
#include "tst_timetext.moc"
