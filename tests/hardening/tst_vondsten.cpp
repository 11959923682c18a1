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

class TestVondsten : public QObject
{
    Q_OBJECT
private slots:
    void eenGetalFoutCiteertKortEnLeesbaar_data();
    void eenGetalFoutCiteertKortEnLeesbaar();
    void deOpdrachtregelToontDeHeleMeldingVanEenBinairBestand();
    void eenOverlapDieperDanHetBereikWordtGedeeld();
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
                       "\x80\x3e\x00\x00\x00\x7d\x00\x00\x02\x00\x10\x00" "data\x00\x00\x00\x00",
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

void TestVondsten::eenOverlapDieperDanHetBereikWordtGedeeld()
{
    // The fuzzer's case: the gap between an end at the top of the range and
    // a start at its bottom used to wrap around to one millisecond, so the
    // pair stayed as it was; now the whole overlap is shared.
    TleesSRTs srt;
    srt.maakRecords(2);
    srt.Cues[0] = {1, 0, grootste, u"a"_s};
    srt.Cues[1] = {2, kleinste, kleinste + 10, u"b"_s};
    srt.veruimToontijd(0, 300);
    CueTijden na;
    for (const TCue &c : srt.Cues)
        na.append({c.st, c.et});
    QCOMPARE(na, (CueTijden{{0, -1}, {kleinste, kleinste + 310}}));
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
