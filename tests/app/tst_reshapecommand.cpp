// naadwerk-cli reshape: the reshaped files, a pipe as input, failures and
// wrong arguments with their exit codes, and the files read back by ffprobe.
#include "base/textfile.h"
#include "support/files.h"
#include "formats/subtitlereader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString data = QStringLiteral(NAADWERK_TEST_DATA "/reshape/");

struct Outcome
{
    int code = -1;
    QString out;
    QString err;
};

Outcome run(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.start(program, arguments);
    Outcome o;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return o;
    o.code = p.exitCode();
    o.out = QString::fromUtf8(p.readAllStandardOutput());
    o.err = QString::fromUtf8(p.readAllStandardError());
    return o;
}

// The cues of a file as "start-end" in ms, read the way naadwerk reads them.
QStringList cueTimes(const QString &path, bool withEmpty)
{
    QStringList times;
    for (const Cue &c : parseSubtitleLines(readTextFile(path)))
        if (withEmpty || c.text != u"[empty cue]")
            times << QStringLiteral("%1-%2").arg(c.start).arg(c.end);
    return times;
}

// The subtitle packets ffprobe finds, as "start-end" in ms.
QStringList ffprobeTimes(const QString &ffprobe, const QString &path)
{
    const Outcome o = run(ffprobe, {"-v", "error", "-show_entries", "packet=pts_time,duration_time",
                                    "-of", "csv=p=0", path});
    if (o.code != 0)
        return {QStringLiteral("ffprobe failed: ") + o.err};
    QStringList times;
    for (const QString &line : o.out.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.trimmed().split(u',');
        if (fields.size() != 2)
            return {QStringLiteral("unexpected ffprobe line: ") + line};
        const qint64 start = qRound64(fields[0].toDouble() * 1000);
        const qint64 duration = qRound64(fields[1].toDouble() * 1000);
        times << QStringLiteral("%1-%2").arg(start).arg(start + duration);
    }
    return times;
}

} // namespace

class TestReshapeCommand : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void writesTheReshapedCues_data();
    void writesTheReshapedCues();
    void readsFromAPipe();
    void failureGivesCode1_data();
    void failureGivesCode1();
    void wrongArgumentsGiveCode2_data();
    void wrongArgumentsGiveCode2();
    void helpGivesCode0();
    void ffmpegReadsSrtAndVtt();

private:
    QString cli;
};

void TestReshapeCommand::initTestCase()
{
    cli = QStringLiteral("%1/src/app/naadwerk-cli").arg(qEnvironmentVariable("NAADWERK_BINARY_DIR", NAADWERK_BINARY_DIR));
    QVERIFY2(QFileInfo(cli).isExecutable(), qPrintable(cli + " has not been built"));
}

void TestReshapeCommand::writesTheReshapedCues_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("expected");
    // The input has long cues, remarks in brackets, "<br>", blanks before
    // punctuation, overlapping cues and cues without text.
    QTest::newRow("srt") << QStringList() << "interview.reshaped.srt";
    QTest::newRow("webvtt, enlarged by default times")
        << QStringList({"--vtt", "--enlarge"}) << "interview.enlarged.vtt";
    QTest::newRow("srt, enlarged by given times")
        << QStringList({"--enlarge", "--before", "50", "--after", "300"}) << "interview.enlarged-50-300.srt";
}

void TestReshapeCommand::writesTheReshapedCues()
{
    QFETCH(QStringList, options);
    QFETCH(QString, expected);
    QTemporaryDir folder;
    const QString out = folder.filePath("out");
    const Outcome o = run(cli, QStringList({"reshape", data + "interview.srt", "-o", out}) + options);
    QCOMPARE(o.err, QString());
    QCOMPARE(o.code, 0);
    QCOMPARE(readBytes(out), readBytes(data + expected));
}

void TestReshapeCommand::readsFromAPipe()
{
    // "reshape /dev/stdin" (or a shell's <(...)) names a pipe, not a file.
    QTemporaryDir folder;
    const QString out = folder.filePath("out.srt");
    QProcess p;
    p.start(cli, {"reshape", "/dev/stdin", "-o", out});
    QVERIFY(p.waitForStarted());
    p.write(readBytes(data + "interview.srt"));
    p.closeWriteChannel();
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(QString::fromUtf8(p.readAllStandardError()), QString());
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(readBytes(out), readBytes(data + "interview.reshaped.srt"));
}

void TestReshapeCommand::failureGivesCode1_data()
{
    QTest::addColumn<QString>("in"); // "%d" stands for the temporary folder
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing input") << "%d/none.srt" << "%d/out.srt"
                                   << "Cannot open file \"%d/none.srt\". No such file or directory";
    QTest::newRow("input is a folder") << "%d" << "%d/out.srt" << "Cannot open file \"%d\". Is a directory";
    QTest::newRow("bad time in the input") << "%d/bad.srt" << "%d/out.srt" << "'0x' is not a valid integer value";
    QTest::newRow("output folder missing") << "%d/good.srt" << "%d/no/out.srt"
                                           << "Cannot create file \"%d/no/out.srt\". No such file or directory";
}

void TestReshapeCommand::failureGivesCode1()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QFETCH(QString, message);
    QTemporaryDir folder;
    const QString d = folder.path();
    writeBytes(d + "/bad.srt",
               "1\n00:00:01,000 --> 00:00:02,000\nfine\n\n2\n00:0x:03,000 --> 00:00:04,000\nbroken\n");
    QVERIFY(QFile::copy(data + "interview.srt", d + "/good.srt"));

    const Outcome o = run(cli, {"reshape", in.replace("%d", d), "-o", out.replace("%d", d)});
    QCOMPARE(o.code, 1);
    QCOMPARE(o.err, message.replace("%d", d) + "\n");
    QVERIFY(!QFileInfo::exists(out));
}

void TestReshapeCommand::wrongArgumentsGiveCode2_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
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

void TestReshapeCommand::wrongArgumentsGiveCode2()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QTemporaryDir folder;
    arguments.replaceInStrings("%d", folder.path());
    const Outcome o = run(cli, arguments);
    QCOMPARE(o.code, 2);
    QCOMPARE(o.err.section(u'\n', 0, 0), message);
    QVERIFY2(o.err.contains("Usage: "), qPrintable(o.err));
    QVERIFY(QDir(folder.path()).isEmpty());
}

void TestReshapeCommand::helpGivesCode0()
{
    for (const QStringList &arguments : {QStringList({"--help"}), QStringList({"reshape", "--help"})}) {
        const Outcome o = run(cli, arguments);
        QCOMPARE(o.code, 0);
        QVERIFY2(o.out.contains("Usage: ") && o.out.contains("reshape"), qPrintable(o.out));
        QCOMPARE(o.err, QString());
    }
}

void TestReshapeCommand::ffmpegReadsSrtAndVtt()
{
    const QString ffprobe = QStandardPaths::findExecutable("ffprobe");
    if (ffprobe.isEmpty())
        QSKIP("ffprobe is not installed (Debian package ffmpeg): cannot check the files with a real reader");
    QTemporaryDir folder;
    const QString srt = folder.filePath("out.srt");
    const QString vtt = folder.filePath("out.vtt");
    QCOMPARE(run(cli, {"reshape", data + "interview.srt", "-o", srt}).code, 0);
    QCOMPARE(run(cli, {"reshape", data + "interview.srt", "-o", vtt, "--vtt", "--enlarge"}).code, 0);

    // ffmpeg's SRT reader passes over a cue without text; its WebVTT reader
    // keeps it. The input has two such cues.
    const QStringList srtCues = cueTimes(srt, false);
    QCOMPARE(srtCues.size(), 12);
    QCOMPARE(ffprobeTimes(ffprobe, srt), srtCues);

    const QStringList vttCues = cueTimes(vtt, true);
    QCOMPARE(vttCues.size(), 14);
    QCOMPARE(ffprobeTimes(ffprobe, vtt), vttCues);
}

QTEST_GUILESS_MAIN(TestReshapeCommand)
#include "tst_reshapecommand.moc"
