// naadwerk-cli reshape: the reshaped files, a pipe as input, failures and
// wrong arguments with their exit codes, and the files read back by ffprobe.
#include "base/textfile.h"
#include "support/cli.h"
#include "support/files.h"
#include "support/reshapefailures.h"
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

using Outcome = CliOutcome;

Outcome run(const QString &program, const QStringList &arguments)
{
    return runProgramIn(QString(), program, arguments);
}

// The cues of a file as "start-end" in ms, read the way naadwerk reads them.
QStringList cueTimes(const QString &path, bool withEmpty)
{
    QStringList times;
    for (const Cue &c : parseSubtitleLines(readTextFile(path)))
        if (withEmpty || !c.text.isEmpty())
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
    void independentReaderReadsTheResult_data();
    void independentReaderReadsTheResult();

private:
    QString cli;
};

void TestReshapeCommand::initTestCase()
{
    cli = cliProgram();
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
    addReshapeFailureRows();
}

void TestReshapeCommand::failureGivesCode1()
{
    QTemporaryDir folder;
    const ReshapeFailure f = placeReshapeFailure(folder.path());
    const Outcome o = run(cli, {"reshape", f.in, "-o", f.out});
    QCOMPARE(o.code, 1);
    QCOMPARE(o.err, f.message + "\n");
    QVERIFY(!QFileInfo::exists(f.out));
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

    // The input has two cues without text: reshape leaves them out.
    const QStringList srtCues = cueTimes(srt, true);
    QCOMPARE(srtCues.size(), 12);
    QCOMPARE(ffprobeTimes(ffprobe, srt), srtCues);

    const QStringList vttCues = cueTimes(vtt, true);
    QCOMPARE(vttCues.size(), 12);
    QCOMPARE(ffprobeTimes(ffprobe, vtt), vttCues);
}

void TestReshapeCommand::independentReaderReadsTheResult_data()
{
    // Files in the forms subtitle editors, converters and players write,
    // and the cues of the reshaped file as "start-end text" ("|" between lines).
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("cues");
    QTest::newRow("UTF-16 LE with BOM, CR LF")
        << utf16le(QStringLiteral("1\r\n00:00:01,000 --> 00:00:02,000\r\n\u00C9\u00E9n twee\r\n\r\n"
                                  "2\r\n00:00:03,000 --> 00:00:04,000\r\ndrie\r\n\r\n"))
        << QStringList({QStringLiteral("1000-2000 \u00C9\u00E9n twee"), "3000-4000 drie"});
    QTest::newRow("blank line inside a bilingual cue")
        << QByteArray("1\n00:00:01,000 --> 00:00:02,000\nGood morning\n\nGoedemorgen\n\n"
                      "2\n00:00:03,000 --> 00:00:04,000\nBye\n")
        << QStringList({"1000-2000 Good morning Goedemorgen", "3000-4000 Bye"});
    QTest::newRow("missing blank line between cues")
        << QByteArray("1\n00:00:01,000 --> 00:00:02,000\nA\n2\n00:00:03,000 --> 00:00:04,000\nB\n")
        << QStringList({"1000-2000 A", "3000-4000 B"});
    QTest::newRow("short forms of times, coordinates")
        << QByteArray("1\n0:0:1.5-->0:0:2.25 X1:10 X2:20 Y1:30 Y2:40\nhi\n\n2\n00:03,90 --> 00:04,5\nho\n")
        << QStringList({"1500-2250 hi", "3900-4500 ho"});
    QTest::newRow("hours above 99")
        << QByteArray("1\n100:00:00,000 --> 100:00:01,500\nlate\n") << QStringList({"360000000-360001500 late"});
    QTest::newRow("cue inside a long one, out of order")
        << QByteArray("1\n00:00:04,000 --> 00:00:05,000\nafter\n\n2\n00:00:00,000 --> 00:00:10,000\nlong\n\n"
                      "3\n00:00:02,000 --> 00:00:03,000\ninside\n")
        << QStringList({"0-3000 long", "3000-3000 inside", "4000-5000 after"});
    QTest::newRow("tags kept whole and not counted, empty cue dropped")
        << QByteArray("1\n00:00:01,000 --> 00:00:02,000\n<i>Wait ... what?</i>\n\n2\n00:00:03,000 --> 00:00:04,000\n"
                      "[music]\n\n3\n00:00:05,000 --> 00:00:06,000\n{\\an8}<font color=\"#ffff00\">"
                      "- ...now we go up the hill to the old house</font>\n")
        << QStringList({"1000-2000 <i>Wait ... what?</i>",
                        "5000-6000 {\\an8}<font color=\"#ffff00\">- ...now we go up the hill to the old house</font>"});
    // A long cue of hard spaces and overrides among short cues close in
    // time: its parts stay within its time, in order; the cues that start
    // during it go among its parts, and none ends before it starts.
    const auto hard = [](int n) { return QStringLiteral("\\h").repeated(n); };
    QTest::newRow("hard spaces and overrides among short cues")
        << QByteArray("1\n00:00:55,000 --> 00:00:56,000\nShort one.\n\n"
                      "2\n00:00:56,000 --> 00:00:59,000\n{\\an1}" + hard(100).toUtf8() + " {\\an1}" + hard(99).toUtf8() + "\n\n"
                      "3\n00:00:56,500 --> 00:00:57,000\nShort two.\n\n"
                      "4\n00:00:58,600 --> 00:00:58,700\nShort three.\n\n"
                      "5\n00:00:59,000 --> 00:01:00,000\nAfter.\n")
        << QStringList({"55000-56000 Short one.", "56000-56750 {\\an1}" + hard(49) + "|" + hard(51),
                        "56750-57000 Short two.", "57000-58000 {\\an1}" + hard(24) + "|" + hard(26),
                        "58000-58700 {\\an1}" + hard(23) + "|" + hard(26), "58700-58700 Short three.",
                        "59000-60000 After."});
    QTest::newRow("times with more and fewer than three decimals")
        << QByteArray("1\n00:00:01,2345 --> 00:00:02,00049\nhi\n\n2\n00:00:03,5 --> 00:00:04,9995\nho\n")
        << QStringList({"1234-2000 hi", "3500-5000 ho"});
    // An aligner's words count as text; italics cut by a split are closed
    // and opened again.
    QTest::newRow("words in angle brackets are text, italics reopened")
        << QByteArray("1\n00:00:01,000 --> 00:00:05,000\n<i>my <unk> was born in Zwolle in nineteen fifty two and we "
                      "moved to the city when I was <noise> seven years old, in spring.</i>\n\n"
                      "2\n00:00:06,000 --> 00:00:07,000\nmy <unk> was born in Zwolle in nineteen fifty two.\n")
        << QStringList({"1000-3000 <i>my <unk> was born in Zwolle in|nineteen fifty two and we moved</i>",
                        "3000-5000 <i>to the city when I was <noise>|seven years old, in spring.</i>",
                        "6000-7000 my <unk> was born in Zwolle|in nineteen fifty two."});
    // WebVTT: its tags do not count, an entity is one character, and the
    // voice left open at the cut is closed and opened again.
    QTest::newRow("webvtt with its own tags")
        << QByteArray("WEBVTT\n\nNOTE made by hand\n\nq1\n00:01.000 --> 00:05.000 line:0\n<v Anna>Where were you born, "
                      "<c.yellow>and when did your family</c> come to the city, and where did <00:03.000>you go to "
                      "school &amp; work after that?\n")
        << QStringList({"1000-3000 <v Anna>Where were you born, <c.yellow>and when|did your family</c> come to the</v>",
                        "3000-5000 <v Anna>city, and where did <00:03.000>you go|to school &amp; work after that?"});
}

void TestReshapeCommand::independentReaderReadsTheResult()
{
    QFETCH(QByteArray, input);
    QFETCH(QStringList, cues);
    // Debian's python3-srt, run by the system's Python, reads what reshape wrote.
    const QString python = QStringLiteral("/usr/bin/python3");
    if (run(python, {"-c", "import srt"}).code != 0)
        QSKIP("python3-srt is not installed (scripts/install-deps.sh test)");
    QTemporaryDir folder;
    writeBytes(folder.filePath("in.srt"), input);
    const QString out = folder.filePath("out.srt");
    const Outcome o = run(cli, {"reshape", folder.filePath("in.srt"), "-o", out});
    QCOMPARE(o.err, QString());
    QCOMPARE(o.code, 0);
    const Outcome read = run(python, {"-c",
                                      "import srt, sys\n"
                                      "text = open(sys.argv[1], encoding='utf-8-sig').read()\n"
                                      "for s in srt.parse(text):\n"
                                      "    ms = lambda t: t.days * 86400000 + t.seconds * 1000 + t.microseconds // 1000\n"
                                      "    if s.end < s.start:\n"
                                      "        print('cue %d ends before it starts' % s.index, file=sys.stderr)\n"
                                      "    print('%d-%d %s' % (ms(s.start), ms(s.end), s.content.replace('\\n', '|')))\n",
                                      out});
    QCOMPARE(read.err, QString());
    QCOMPARE(read.out.split(u'\n', Qt::SkipEmptyParts), cues);
}

QTEST_GUILESS_MAIN(TestReshapeCommand)
#include "tst_reshapecommand.moc"
