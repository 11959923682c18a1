// What fuzzing and the bad-input runs turned up, each kept as a case: the
// inputs are the smallest that showed the fault.
#include "lines/efout.h"
#include "lines/tekst.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

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

QTEST_GUILESS_MAIN(TestVondsten)
#include "tst_vondsten.moc"
