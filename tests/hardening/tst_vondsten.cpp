// What fuzzing and the bad-input runs turned up, each kept as a case: the
// inputs are the smallest that showed the fault.
#include "job/tnaadwerkjob.h"
#include "lines/efout.h"
#include "lines/tekst.h"
#include "lines/tleesctm.h"
#include "lines/tleessrts.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr std::int64_t grootste = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kleinste = std::numeric_limits<std::int64_t>::min();

struct TCueTijden
{
    std::int64_t st;
    std::int64_t et;
    bool operator==(const TCueTijden &) const = default;
};
using CueTijden = QList<TCueTijden>;

char *toString(const TCueTijden &c)
{
    return QTest::toString(u"(%1, %2)"_s.arg(c.st).arg(c.et));
}

// Every dialog is cancelled.
class TGeenPersoon : public TPersoon
{
public:
    QString kiesOpenBestand(int) override { return QString(); }
    QString kiesBewaarBestand(int, const QString &, const QString &) override { return QString(); }
};

QString melding(auto &&opdracht)
{
    try {
        opdracht();
    } catch (const EFout &e) {
        return e.bericht();
    }
    return u"no error"_s;
}

} // namespace

Q_DECLARE_METATYPE(TCueTijden)

class TestVondsten : public QObject
{
    Q_OBJECT
private slots:
    void eenGetalFoutCiteertKortEnLeesbaar_data();
    void eenGetalFoutCiteertKortEnLeesbaar();
    void deOpdrachtregelToontDeHeleMeldingVanEenBinairBestand();
    void veruimenStoptAanDeRandVanHetBereik_data();
    void veruimenStoptAanDeRandVanHetBereik();
    void splitsenOverHetHeleBereik();
    void deTweedeHelftSchuiftTotDeRandVanHetBereik_data();
    void deTweedeHelftSchuiftTotDeRandVanHetBereik();
};

void TestVondsten::eenGetalFoutCiteertKortEnLeesbaar_data()
{
    QTest::addColumn<QString>("tekst");
    QTest::addColumn<QString>("geciteerd");

    QTest::newRow("a short field is quoted as it is") << u"12,5"_s << u"12,5"_s;
    QTest::newRow("tabs stay: a CTM line read with the other separator")
        << u"utt\t1\t0.50\t0.92\tnew"_s << u"utt\t1\t0.50\t0.92\tnew"_s;
    QTest::newRow("NUL, escape and DEL show as replacement characters")
        << u"RIFF\0\x1b[2J\x7f"_s << u"RIFF\uFFFD\uFFFD[2J\uFFFD"_s;
    QTest::newRow("60 characters are quoted whole") << QString(60, u'x') << QString(60, u'x');
    QTest::newRow("a longer text is cut after 60")
        << QString(100000, u'7') + u'x' << QString(60, u'7') + u"..."_s;
    QTest::newRow("a character of two code units at the cut stays whole")
        << QString(59, u'a') + u"\U0001F600b"_s << QString(59, u'a') + u"..."_s;
}

void TestVondsten::eenGetalFoutCiteertKortEnLeesbaar()
{
    QFETCH(QString, tekst);
    QFETCH(QString, geciteerd);
    QCOMPARE(melding([&] { strNaarFloat(tekst); }), u"'%1' is not a valid floating point value"_s.arg(geciteerd));
    QCOMPARE(melding([&] { strNaarInt(tekst); }), u"'%1' is not a valid integer value"_s.arg(geciteerd));
}

void TestVondsten::deOpdrachtregelToontDeHeleMeldingVanEenBinairBestand()
{
    // A recording picked as word file: its first line holds NUL bytes, which
    // used to end the message on standard error before "is not a valid ...".
    QTemporaryDir map;
    const QString ctm = map.filePath(u"opname.wav"_s);
    QFile f(ctm);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("RIFF\x24\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00"
                       "\x80\x3e\x00\x00\x00\x7d\x00\x00\x02\x00\x10\x00data\x00\x00\x00\x00",
                       44));
    f.close();

    QProcess cli;
    cli.start(QStringLiteral(NAADWERK_BINARY_DIR) + u"/src/app/naadwerk-cli"_s,
              {u"glue"_s, u"--separator"_s, u"space"_s, u"--ctm1"_s, ctm});
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 1);
    QCOMPARE(QString::fromUtf8(cli.readAllStandardError()),
             u"'RIFF$\uFFFD\uFFFD\uFFFDWAVEfmt' is not a valid floating point value\n"_s);
}

void TestVondsten::veruimenStoptAanDeRandVanHetBereik_data()
{
    QTest::addColumn<CueTijden>("cues");
    QTest::addColumn<qint64>("tV");
    QTest::addColumn<qint64>("tN");
    QTest::addColumn<CueTijden>("verwacht");

    QTest::newRow("an end just below the top stops at the top")
        << CueTijden{{0, grootste - 50}} << qint64(100) << qint64(200)
        << CueTijden{{0, grootste}};
    // A first cue that starts before 0 starts at 0.
    QTest::newRow("a gap wider than the range is a wide gap")
        << CueTijden{{kleinste + 5000, kleinste + 6000}, {grootste - 1000, grootste - 500}}
        << qint64(100) << qint64(200)
        << CueTijden{{0, kleinste + 6200}, {grootste - 1100, grootste - 300}};
    // The fuzzer's case: an overlap deeper than the range used to wrap
    // around to a gap of one millisecond.
    QTest::newRow("an overlap deeper than the range")
        << CueTijden{{0, grootste}, {kleinste, kleinste + 10}} << qint64(0) << qint64(300)
        << CueTijden{{0, -1}, {kleinste, kleinste + 310}};
}

void TestVondsten::veruimenStoptAanDeRandVanHetBereik()
{
    QFETCH(CueTijden, cues);
    QFETCH(qint64, tV);
    QFETCH(qint64, tN);
    QFETCH(CueTijden, verwacht);

    TleesSRTs srt;
    srt.maakRecords(static_cast<std::int32_t>(cues.size()));
    for (qsizetype i = 0; i < cues.size(); ++i) {
        srt.Cues[size_t(i)].st = cues[i].st;
        srt.Cues[size_t(i)].et = cues[i].et;
    }
    srt.veruimToontijd(tV, tN);
    CueTijden na;
    for (const TCue &c : srt.Cues)
        na.append({c.st, c.et});
    QCOMPARE(na, verwacht);
}

void TestVondsten::splitsenOverHetHeleBereik()
{
    // A cue from the bottom to the top of the range, too long for one
    // subtitle: its two parts share the range instead of collapsing to its ends.
    TleesSRTs srt;
    srt.maakRecords(1);
    srt.Cues[0] = {1, kleinste, grootste, QString(50, u'a').replace(u"aa"_s, u"a "_s) + QString(50, u'b')};
    srt.maakMooi();
    CueTijden na;
    for (const TCue &c : srt.Cues)
        na.append({c.st, c.et});
    const std::int64_t helft = std::int64_t(1) << 62;
    QCOMPARE(na, (CueTijden{{kleinste, kleinste + helft}, {grootste - helft, grootste}}));
}

void TestVondsten::deTweedeHelftSchuiftTotDeRandVanHetBereik_data()
{
    QTest::addColumn<QString>("regel");
    QTest::addColumn<qint64>("tijdPlus");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("eind");

    // After a cancelled Glue dialog half 2 moves 1 ms back.
    QTest::newRow("the lowest start the reader takes, 1 ms earlier")
        << u"u 1 -9223372036854775.808 0 x. 1"_s << qint64(-1) << u"-9223372036854775808"_s
        << u"-1"_s;
    QTest::newRow("the highest end the reader takes, 10 s later")
        << u"u 1 0 9223372036854774 x. 1"_s << qint64(10000) << u"10000"_s
        << u"9223372036854775807"_s;
}

void TestVondsten::deTweedeHelftSchuiftTotDeRandVanHetBereik()
{
    QFETCH(QString, regel);
    QFETCH(qint64, tijdPlus);
    QFETCH(QString, start);
    QFETCH(QString, eind);

    QTemporaryDir map;
    const QString pad = map.filePath(u"half2.ctm"_s);
    QFile f(pad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(regel.toUtf8() + '\n');
    f.close();

    TGeenPersoon persoon;
    TNaadwerkJob job(persoon);
    job.rbTab = false;
    job.fnCTM2 = pad;
    job.leesCTM(2);
    job.toonCTM(2);
    job.tijdPlus = tijdPlus;
    job.combineerCTMs();
    QCOMPARE(job.sgCTM1.cel(0, 1), start);
    QCOMPARE(job.sgCTM1.cel(0, 2), eind);
}

QTEST_GUILESS_MAIN(TestVondsten)
#include "tst_vondsten.moc"
