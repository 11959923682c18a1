#include "lines/tleessrts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString data = QStringLiteral(NAADWERK_TEST_DATA "/reshape/");

struct Uitkomst
{
    int code = -1;
    QString uit;
    QString fout;
};

Uitkomst draai(const QString &programma, const QStringList &argumenten)
{
    QProcess p;
    p.start(programma, argumenten);
    Uitkomst u;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return u;
    u.code = p.exitCode();
    u.uit = QString::fromUtf8(p.readAllStandardOutput());
    u.fout = QString::fromUtf8(p.readAllStandardError());
    return u;
}

QByteArray inhoud(const QString &pad)
{
    QFile f(pad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The cues of a file as "start-end" in ms, read the way naadwerk reads them.
QStringList tijden(const QString &pad, bool ookLeeg)
{
    TleesSRTs srt;
    srt.fileNaam = pad;
    srt.leesBestand();
    QStringList uit;
    for (std::int32_t i = 0; i < srt.aantalCues; ++i) {
        const TCue &c = srt.Cues[size_t(i)];
        if (ookLeeg || c.T != u"[empty cue]")
            uit << QStringLiteral("%1-%2").arg(c.st).arg(c.et);
    }
    return uit;
}

// The subtitle packets ffprobe finds, as "start-end" in ms.
QStringList ffprobeTijden(const QString &ffprobe, const QString &pad)
{
    const Uitkomst u = draai(ffprobe, {"-v", "error", "-show_entries", "packet=pts_time,duration_time",
                                       "-of", "csv=p=0", pad});
    if (u.code != 0)
        return {QStringLiteral("ffprobe failed: ") + u.fout};
    QStringList uit;
    for (const QString &regel : u.uit.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList velden = regel.trimmed().split(u',');
        if (velden.size() != 2)
            return {QStringLiteral("unexpected ffprobe line: ") + regel};
        const qint64 st = qRound64(velden[0].toDouble() * 1000);
        const qint64 duur = qRound64(velden[1].toDouble() * 1000);
        uit << QStringLiteral("%1-%2").arg(st).arg(st + duur);
    }
    return uit;
}

} // namespace

class TestReshape : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void schrijftDeHervormdeCues_data();
    void schrijftDeHervormdeCues();
    void leestUitEenPijp();
    void mislukkingGeeftCode1_data();
    void mislukkingGeeftCode1();
    void fouteArgumentenGevenCode2_data();
    void fouteArgumentenGevenCode2();
    void hulpGeeftCode0();
    void ffmpegLeestSrtEnVtt();

private:
    QString cli;
};

void TestReshape::initTestCase()
{
    cli = QStringLiteral("%1/src/app/naadwerk-cli").arg(qEnvironmentVariable("NAADWERK_BINARY_DIR", NAADWERK_BINARY_DIR));
    QVERIFY2(QFileInfo(cli).isExecutable(), qPrintable(cli + " has not been built"));
}

void TestReshape::schrijftDeHervormdeCues_data()
{
    QTest::addColumn<QStringList>("opties");
    QTest::addColumn<QString>("verwacht");
    // The input has long cues, remarks in brackets, "<br>", blanks before
    // punctuation, overlapping cues and cues without text.
    QTest::newRow("srt") << QStringList() << "interview.reshaped.srt";
    QTest::newRow("webvtt, enlarged by default times")
        << QStringList({"--vtt", "--enlarge"}) << "interview.enlarged.vtt";
    QTest::newRow("srt, enlarged by given times")
        << QStringList({"--enlarge", "--before", "50", "--after", "300"}) << "interview.enlarged-50-300.srt";
}

void TestReshape::schrijftDeHervormdeCues()
{
    QFETCH(QStringList, opties);
    QFETCH(QString, verwacht);
    QTemporaryDir map;
    const QString uit = map.filePath("out");
    const Uitkomst u = draai(cli, QStringList({"reshape", data + "interview.srt", "-o", uit}) + opties);
    QCOMPARE(u.fout, QString());
    QCOMPARE(u.code, 0);
    QCOMPARE(inhoud(uit), inhoud(data + verwacht));
}

void TestReshape::leestUitEenPijp()
{
    // "reshape /dev/stdin" (or a shell's <(...)) names a pipe, not a file.
    QTemporaryDir map;
    const QString uit = map.filePath("out.srt");
    QProcess p;
    p.start(cli, {"reshape", "/dev/stdin", "-o", uit});
    QVERIFY(p.waitForStarted());
    p.write(inhoud(data + "interview.srt"));
    p.closeWriteChannel();
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(QString::fromUtf8(p.readAllStandardError()), QString());
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(inhoud(uit), inhoud(data + "interview.reshaped.srt"));
}

void TestReshape::mislukkingGeeftCode1_data()
{
    QTest::addColumn<QString>("in");   // "%d" stands for the temporary folder
    QTest::addColumn<QString>("uit");
    QTest::addColumn<QString>("melding");
    QTest::newRow("missing input") << "%d/none.srt" << "%d/out.srt"
                                   << "Cannot open file \"%d/none.srt\". No such file or directory";
    QTest::newRow("input is a folder") << "%d" << "%d/out.srt" << "Cannot open file \"%d\". Is a directory";
    QTest::newRow("bad time in the input") << "%d/bad.srt" << "%d/out.srt" << "'0x' is not a valid integer value";
    QTest::newRow("output folder missing") << "%d/good.srt" << "%d/no/out.srt"
                                           << "Cannot create file \"%d/no/out.srt\". No such file or directory";
}

void TestReshape::mislukkingGeeftCode1()
{
    QFETCH(QString, in);
    QFETCH(QString, uit);
    QFETCH(QString, melding);
    QTemporaryDir map;
    const QString d = map.path();
    QFile slecht(d + "/bad.srt");
    QVERIFY(slecht.open(QIODevice::WriteOnly));
    slecht.write("1\n00:00:01,000 --> 00:00:02,000\nfine\n\n2\n00:0x:03,000 --> 00:00:04,000\nbroken\n");
    slecht.close();
    QVERIFY(QFile::copy(data + "interview.srt", d + "/good.srt"));

    const Uitkomst u = draai(cli, {"reshape", in.replace("%d", d), "-o", uit.replace("%d", d)});
    QCOMPARE(u.code, 1);
    QCOMPARE(u.fout, melding.replace("%d", d) + "\n");
    QVERIFY(!QFileInfo::exists(uit));
}

void TestReshape::fouteArgumentenGevenCode2_data()
{
    QTest::addColumn<QStringList>("argumenten");
    QTest::addColumn<QString>("melding");
    const QString in = data + "interview.srt";
    QTest::newRow("no command") << QStringList() << "No command given.";
    QTest::newRow("unknown command") << QStringList({"reflow", in}) << "Unknown command 'reflow'.";
    QTest::newRow("no input") << QStringList({"reshape", "-o", "%d/out.srt"}) << "No input file given.";
    QTest::newRow("two inputs") << QStringList({"reshape", in, in, "-o", "%d/out.srt"})
                                << "Only one input file can be given.";
    QTest::newRow("no output") << QStringList({"reshape", in}) << "No output file given (-o).";
    QTest::newRow("-o without a value") << QStringList({"reshape", in, "-o"}) << "Missing value after '-o'.";
    QTest::newRow("unknown option") << QStringList({"reshape", in, "-o", "%d/out.srt", "--fast"})
                                    << "Unknown option 'fast'.";
    QTest::newRow("time not a number")
        << QStringList({"reshape", in, "-o", "%d/out.srt", "--enlarge", "--before", "1s"})
        << "'1s' is not a valid integer value";
    QTest::newRow("negative time")
        << QStringList({"reshape", in, "-o", "%d/out.srt", "--enlarge", "--after", "-5"})
        << "--after must be 0 or more.";
    QTest::newRow("time without --enlarge") << QStringList({"reshape", in, "-o", "%d/out.srt", "--before", "50"})
                                            << "--before and --after need --enlarge.";
}

void TestReshape::fouteArgumentenGevenCode2()
{
    QFETCH(QStringList, argumenten);
    QFETCH(QString, melding);
    QTemporaryDir map;
    argumenten.replaceInStrings("%d", map.path());
    const Uitkomst u = draai(cli, argumenten);
    QCOMPARE(u.code, 2);
    QCOMPARE(u.fout.section(u'\n', 0, 0), melding);
    QVERIFY2(u.fout.contains("Usage: "), qPrintable(u.fout));
    QVERIFY(QDir(map.path()).isEmpty());
}

void TestReshape::hulpGeeftCode0()
{
    for (const QStringList &argumenten : {QStringList({"--help"}), QStringList({"reshape", "--help"})}) {
        const Uitkomst u = draai(cli, argumenten);
        QCOMPARE(u.code, 0);
        QVERIFY2(u.uit.contains("Usage: ") && u.uit.contains("reshape"), qPrintable(u.uit));
        QCOMPARE(u.fout, QString());
    }
}

void TestReshape::ffmpegLeestSrtEnVtt()
{
    const QString ffprobe = QStandardPaths::findExecutable("ffprobe");
    if (ffprobe.isEmpty())
        QSKIP("ffprobe is not installed (Debian package ffmpeg): cannot check the files with a real reader");
    QTemporaryDir map;
    const QString srt = map.filePath("out.srt");
    const QString vtt = map.filePath("out.vtt");
    QCOMPARE(draai(cli, {"reshape", data + "interview.srt", "-o", srt}).code, 0);
    QCOMPARE(draai(cli, {"reshape", data + "interview.srt", "-o", vtt, "--vtt", "--enlarge"}).code, 0);

    // ffmpeg's SRT reader passes over a cue without text; its WebVTT reader
    // keeps it. The input has two such cues.
    const QStringList srtCues = tijden(srt, false);
    QCOMPARE(srtCues.size(), 12);
    QCOMPARE(ffprobeTijden(ffprobe, srt), srtCues);

    const QStringList vttCues = tijden(vtt, true);
    QCOMPARE(vttCues.size(), 14);
    QCOMPARE(ffprobeTijden(ffprobe, vtt), vttCues);
}

QTEST_GUILESS_MAIN(TestReshape)
#include "tst_reshape.moc"
