#include "lines/efout.h"
#include "lines/tleesctm.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Gelezen
{
    QString fout; // empty when the read succeeded
    std::vector<TWoord> woorden;
};

Gelezen lees(const QByteArray &inhoud, QChar sep)
{
    QTemporaryDir dir;
    const QString pad = dir.filePath("woorden.ctm");
    QFile f(pad);
    f.open(QIODevice::WriteOnly);
    f.write(inhoud);
    f.close();
    TleesCTM ctm;
    ctm.sep = sep;
    ctm.fileNaam = pad;
    Gelezen g;
    try {
        ctm.leesBestand();
    } catch (const EFout &e) {
        g.fout = e.bericht();
    }
    g.woorden.assign(ctm.Woorden.begin(), ctm.Woorden.begin() + std::min<size_t>(ctm.aantalWoorden, ctm.Woorden.size()));
    return g;
}

QString ongeldig(const QString &tekst)
{
    return QStringLiteral("'%1' is not a valid floating point value").arg(tekst);
}

} // namespace

class TestTleesCTM : public QObject
{
    Q_OBJECT
private slots:
    void nieuwObjectHeeftBlankAlsScheiding();
    void eenRegelWordtEenWoord_data();
    void eenRegelWordtEenWoord();
    void slechteRegelsNoemenHunVeld_data();
    void slechteRegelsNoemenHunVeld();
    void secondenWordenMsHalfNaarEven_data();
    void secondenWordenMsHalfNaarEven();
    void alleenDeLaatsteSilVervalt_data();
    void alleenDeLaatsteSilVervalt();
    void mislukteLeesHoudtDeWoordenErvoor();
    void ontbrekendBestandLeestDeOudeRegelsOpnieuw();
    void langBestandMeldtDeEersteSlechteRegel();
    void maakRecordsBehoudtBestaandeWoorden();
    void schrijvenGebruiktDeRegels();
};

void TestTleesCTM::nieuwObjectHeeftBlankAlsScheiding()
{
    TleesCTM ctm;
    QCOMPARE(ctm.sep, QChar(u' '));
    QCOMPARE(ctm.aantalWoorden, 0);
    QVERIFY(ctm.Woorden.empty());
}

void TestTleesCTM::eenRegelWordtEenWoord_data()
{
    QTest::addColumn<QByteArray>("regel");
    QTest::addColumn<QChar>("sep");
    QTest::addColumn<qint64>("st");
    QTest::addColumn<qint64>("et");
    QTest::addColumn<QString>("woord");
    QTest::addColumn<float>("co");
    QTest::addColumn<QString>("spk");
    const QChar b = u' ', t = u'\t';
    QTest::newRow("ctm line") << QByteArray("utt 1 0.50 0.92 hello 0.87") << b << qint64(500) << qint64(920) << "hello" << 0.87f << "X";
    QTest::newRow("spk line") << QByteArray("utt 1 0.50 0.92 hello 0.87 SP1") << b << qint64(500) << qint64(920) << "hello" << 0.87f << "SP1";
    QTest::newRow("speaker keeps its blank") << QByteArray("utt 1 0.50 0.92 hello 0.87 SP 1") << b << qint64(500) << qint64(920) << "hello" << 0.87f << "SP 1";
    QTest::newRow("many blanks between later fields") << QByteArray("utt 1   0.5  \t 0.9   hi    1") << b << qint64(500) << qint64(900) << "hi" << 1.0f << "X";
    QTest::newRow("tab: word with blanks") << QByteArray("utt\t1\t0.5\t0.9\t  new york \t0.5") << t << qint64(500) << qint64(900) << "new york " << 0.5f << "X";
    QTest::newRow("five fields, fifth a number") << QByteArray("utt 1 0.5 0.9 0.75") << b << qint64(500) << qint64(900) << "" << 0.75f << "X";
    QTest::newRow("doubled separator after field 1 shifts, word is a number")
        << QByteArray("utt  1 0.5 0.9 7") << b << qint64(1000) << qint64(500) << "0.9" << 7.0f << "X";
    QTest::newRow("non-ASCII word") << QByteArray("utt 1 1 2 caf\xC3\xA9 1") << b << qint64(1000) << qint64(2000) << QStringLiteral("caf\u00E9") << 1.0f << "X";
    QTest::newRow("confidence narrowed to float") << QByteArray("u 1 0 1 w 0.1") << b << qint64(0) << qint64(1000) << "w" << 0.1f << "X";
}

void TestTleesCTM::eenRegelWordtEenWoord()
{
    QFETCH(QByteArray, regel);
    QFETCH(QChar, sep);
    const Gelezen g = lees(regel + "\r\n", sep);
    QCOMPARE(g.fout, QString());
    QCOMPARE(g.woorden.size(), size_t(1));
    const TWoord &w = g.woorden[0];
    QCOMPARE(w.id, 1);
    QTEST(qint64(w.st), "st");
    QTEST(qint64(w.et), "et");
    QTEST(w.T, "woord");
    QTEST(w.co, "co");
    QTEST(w.spk, "spk");
}

void TestTleesCTM::slechteRegelsNoemenHunVeld_data()
{
    QTest::addColumn<QByteArray>("regel");
    QTest::addColumn<QChar>("sep");
    QTest::addColumn<QString>("veld");
    const QChar b = u' ', t = u'\t';
    QTest::newRow("empty line") << QByteArray("\n") << b << "";
    QTest::newRow("one field") << QByteArray("utt") << b << "";
    QTest::newRow("two fields: first is the start") << QByteArray("utt 1") << b << "utt";
    QTest::newRow("two numeric fields fail on the end") << QByteArray("5 1") << b << "";
    QTest::newRow("ends after the start") << QByteArray("utt 1 0.5") << b << "";
    QTest::newRow("ends after the end") << QByteArray("utt 1 0.5 0.9") << b << "";
    QTest::newRow("ends after the word") << QByteArray("utt 1 0.5 0.9 hello") << b << "hello";
    QTest::newRow("tab file read with blanks") << QByteArray("utt\t1\t0.5\t0.9\thi\t1") << b << "";
    QTest::newRow("blank file read with tabs") << QByteArray("utt 1 0.5 0.9 hi 1") << t << "";
    QTest::newRow("doubled separator, word not a number") << QByteArray("utt  1 0.5 0.9 hi 1") << b << "hi";
    QTest::newRow("decimal comma") << QByteArray("utt 1 1,5 2 hi 1") << b << "1,5";
    QTest::newRow("hex") << QByteArray("utt 1 0x10 2 hi 1") << b << "0x10";
    QTest::newRow("inf") << QByteArray("utt 1 inf 2 hi 1") << b << "inf";
    QTest::newRow("bad confidence") << QByteArray("utt 1 1 2 hi high") << b << "high";
}

void TestTleesCTM::slechteRegelsNoemenHunVeld()
{
    QFETCH(QByteArray, regel);
    QFETCH(QChar, sep);
    QFETCH(QString, veld);
    QCOMPARE(lees(regel, sep).fout, ongeldig(veld));
}

void TestTleesCTM::secondenWordenMsHalfNaarEven_data()
{
    QTest::addColumn<QByteArray>("seconden");
    QTest::addColumn<qint64>("ms");
    QTest::newRow("tie down") << QByteArray("0.0625") << qint64(62);
    QTest::newRow("tie up") << QByteArray("0.1875") << qint64(188);
    QTest::newRow("plain") << QByteArray("0.1234") << qint64(123);
    QTest::newRow("exponent") << QByteArray("1e3") << qint64(1000000);
    QTest::newRow("negative") << QByteArray("-0.25") << qint64(-250);
    QTest::newRow("hours") << QByteArray("7199.999") << qint64(7199999);
}

void TestTleesCTM::secondenWordenMsHalfNaarEven()
{
    QFETCH(QByteArray, seconden);
    QFETCH(qint64, ms);
    const Gelezen g = lees("u 1 " + seconden + " 0 w 1", u' ');
    QCOMPARE(g.fout, QString());
    QCOMPARE(qint64(g.woorden.at(0).st), ms);
}

void TestTleesCTM::alleenDeLaatsteSilVervalt_data()
{
    QTest::addColumn<QByteArray>("inhoud");
    QTest::addColumn<QStringList>("woorden");
    QTest::newRow("last SIL dropped") << QByteArray("u 1 0 1 a 1\nu 1 1 2 b 1\nu 1 2 3 SIL 1\n") << QStringList{"a", "b"};
    QTest::newRow("lower case stays") << QByteArray("u 1 0 1 a 1\nu 1 2 3 sil 1\n") << QStringList{"a", "sil"};
    QTest::newRow("SIL not last stays") << QByteArray("u 1 0 1 SIL 1\nu 1 2 3 a 1\n") << QStringList{"SIL", "a"};
    QTest::newRow("two trailing: one dropped") << QByteArray("u 1 0 1 a 1\nu 1 1 2 SIL 1\nu 1 2 3 SIL 1\n") << QStringList{"a", "SIL"};
    QTest::newRow("only SIL") << QByteArray("u 1 0 1 SIL 1\n") << QStringList{};
}

void TestTleesCTM::alleenDeLaatsteSilVervalt()
{
    QFETCH(QByteArray, inhoud);
    QFETCH(QStringList, woorden);
    const Gelezen g = lees(inhoud, u' ');
    QCOMPARE(g.fout, QString());
    QStringList gelezen;
    for (size_t i = 0; i < g.woorden.size(); ++i) {
        gelezen << g.woorden[i].T;
        QCOMPARE(g.woorden[i].id, int(i + 1));
    }
    QCOMPARE(gelezen, woorden);
}

void TestTleesCTM::mislukteLeesHoudtDeWoordenErvoor()
{
    QTemporaryDir dir;
    const QString pad = dir.filePath("half.ctm");
    QFile f(pad);
    f.open(QIODevice::WriteOnly);
    f.write("u 1 0 1 a 1\nu 1 1 2 b 1\nu 1 x 3 c 1\nu 1 3 4 SIL 1\n");
    f.close();
    TleesCTM ctm;
    ctm.fileNaam = pad;
    QVERIFY_THROWS_EXCEPTION(EFout, ctm.leesBestand());
    QCOMPARE(ctm.aantalWoorden, 4); // the number of lines; the SIL test is not made
    QCOMPARE(ctm.Woorden[0].T, QStringLiteral("a"));
    QCOMPARE(ctm.Woorden[1].T, QStringLiteral("b"));
    QCOMPARE(qint64(ctm.Woorden[1].et), qint64(2000));
}

void TestTleesCTM::ontbrekendBestandLeestDeOudeRegelsOpnieuw()
{
    QTemporaryDir dir;
    TleesCTM ctm;
    ctm.fileNaam = dir.filePath("weg.ctm");
    ctm.leesBestand();
    QCOMPARE(ctm.aantalWoorden, 0);

    const QString pad = dir.filePath("tab.ctm");
    QFile f(pad);
    f.open(QIODevice::WriteOnly);
    f.write("u\t1\t0\t1\ta b\t1\n");
    f.close();
    ctm.sep = u'\t';
    ctm.fileNaam = pad;
    ctm.leesBestand();
    QCOMPARE(ctm.Woorden[0].T, QStringLiteral("a b"));
    // The missing file leaves the lines; they are parsed again with the new separator.
    ctm.sep = u' ';
    ctm.fileNaam = dir.filePath("weg.ctm");
    QVERIFY_THROWS_EXCEPTION(EFout, ctm.leesBestand());
}

void TestTleesCTM::langBestandMeldtDeEersteSlechteRegel()
{
    // Long files are parsed in parts; the error must still be the first bad
    // line in file order, and every word before it must be complete.
    const int n = 250000;
    QByteArray inhoud;
    for (int i = 0; i < n; ++i) {
        if (i == 60000)
            inhoud += "u 1 eerste 1 w 1\n";
        else if (i == 200000)
            inhoud += "u 1 tweede 1 w 1\n";
        else
            inhoud += "u 1 " + QByteArray::number(i) + " 1 w" + QByteArray::number(i) + " 1\n";
    }
    QTemporaryDir dir;
    const QString pad = dir.filePath("lang.ctm");
    QFile f(pad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(inhoud);
    f.close();
    TleesCTM ctm;
    ctm.fileNaam = pad;
    try {
        ctm.leesBestand();
        QFAIL("no error");
    } catch (const EFout &e) {
        QCOMPARE(e.bericht(), ongeldig("eerste"));
    }
    QCOMPARE(ctm.Woorden[59999].T, QStringLiteral("w59999"));
    QCOMPARE(qint64(ctm.Woorden[59999].st), qint64(59999000));

    // Without the bad lines every word is read, in order.
    inhoud.replace("u 1 eerste 1 w 1\n", "u 1 1 1 w 1\n").replace("u 1 tweede 1 w 1\n", "u 1 1 1 w 1\n");
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(inhoud);
    f.close();
    ctm.leesBestand();
    QCOMPARE(ctm.aantalWoorden, n);
    for (int i : {0, 124999, 125000, 249999})
        QCOMPARE(ctm.Woorden[size_t(i)].id, i + 1);
    QCOMPARE(ctm.Woorden[249999].T, QStringLiteral("w249999"));
}

void TestTleesCTM::maakRecordsBehoudtBestaandeWoorden()
{
    TleesCTM ctm;
    ctm.maakRecords(2);
    ctm.Woorden[0].T = "a";
    ctm.maakRecords(3);
    QCOMPARE(ctm.aantalWoorden, 3);
    QCOMPARE(ctm.Woorden[0].T, QStringLiteral("a"));
    QCOMPARE(ctm.Woorden[2].T, QString());
    ctm.maakRecords(0);
    QVERIFY(ctm.Woorden.empty());
}

void TestTleesCTM::schrijvenGebruiktDeRegels()
{
    QTemporaryDir dir;
    TleesCTM ctm;
    ctm.fileNaam = dir.filePath("uit.ctm");
    ctm.deRegels = QStringList{"joined 1 1.500 1.890 hello 0.87"};
    ctm.schrijfBestand();
    QFile f(ctm.fileNaam);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("\xEF\xBB\xBFjoined 1 1.500 1.890 hello 0.87\r\n"));
}

QTEST_APPLESS_MAIN(TestTleesCTM)
#include "tst_tleesctm.moc"
