// naadwerk-cli check, and glue --profile on the example interview, read
// back by python3-srt and an independent checker.
#include "support/cli.h"
#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Two cues within the streaming profile, then the same with three problems.
const QByteArray clean = "1\r\n00:00:01,000 --> 00:00:03,000\r\nGood morning.\r\n\r\n"
                         "2\r\n00:00:03,080 --> 00:00:05,000\r\nThank you for coming,\r\nall of you.\r\n\r\n";
const QByteArray faulty = "1\n00:00:01,000 --> 00:00:01,500\nGood morning, everyone, and welcome.\n\n"
                          "2\n00:00:01,540 --> 00:00:05,000\nThis line is far too long for the streaming rules of 42.\n\n";

bool hasPythonSrt()
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral("import srt")});
    return p.waitForFinished() && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

class TestCheckCommand : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;
    QString path(const QString &name) const { return folder.filePath(name); }

private slots:
    void initTestCase();
    void exitCodeSaysWhetherThereIsAProblem_data();
    void exitCodeSaysWhetherThereIsAProblem();
    void jsonListsTheProblemsAndTheirCounts();
    void frameRateSetsTheGap();
    void badArgumentsAreUsageErrors_data();
    void badArgumentsAreUsageErrors();
    void unreadableFileIsAFailure();
    void exampleInterviewGluedToAProfileKeepsIt_data();
    void exampleInterviewGluedToAProfileKeepsIt();
};

void TestCheckCommand::initTestCase()
{
    QVERIFY(folder.isValid());
    writeBytes(path("clean.srt"), clean);
    writeBytes(path("faulty.srt"), faulty);
    writeBytes(path("faulty.vtt"), "WEBVTT\n\nNOTE made by hand\n\n" + QByteArray(faulty).replace(",", ".").replace("1\n00", "00").replace("2\n00", "00"));
    writeBytes(path("archive.profile"), "name = archive\nchars-per-line = 60\nlines = 1\n");
    for (const char *name : {"a.spk", "a.txt", "a.wav", "b.spk", "b.txt", "b.wav"}) {
        const QString example = QStringLiteral(NAADWERK_SOURCE_DIR "/examples/interview_%1").arg(QString::fromLatin1(name).replace(QStringLiteral("a."), QStringLiteral("1.")).replace(QStringLiteral("b."), QStringLiteral("2.")));
        QVERIFY2(QFile::copy(example, path(QString::fromLatin1(name))), qPrintable(example));
    }
}

void TestCheckCommand::exitCodeSaysWhetherThereIsAProblem_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("summary");

    const QString header = QStringLiteral("cue\tstart\tkind\tvalue\tlimit\n");
    QTest::newRow("none") << QStringList{"clean.srt", "--profile", "streaming"} << 0 << header
                          << "No problems in 2 cues under streaming.";
    const QString rows = header
        + "1\t00:00:01,000\treading-speed\t72\t17\n1\t00:00:01,000\ttoo-short\t500\t833\n"
          "1\t00:00:01,000\tgap\t40\t80\n2\t00:00:01,540\tline-length\t56\t42\n";
    QTest::newRow("some") << QStringList{"faulty.srt", "--profile", "streaming"} << 1 << rows
                          << "4 problems in 2 cues under streaming: 1 line-length, 1 reading-speed, 1 too-short, 1 gap.";
    QTest::newRow("the same in WebVTT") << QStringList{"faulty.vtt", "--profile", "streaming"} << 1 << rows
                                        << "4 problems in 2 cues under streaming: 1 line-length, 1 reading-speed, 1 "
                                           "too-short, 1 gap.";
    QTest::newRow("English reads faster")
        << QStringList{"--profile", "streaming-en", "faulty.srt"} << 1
        << header + "1\t00:00:01,000\treading-speed\t72\t20\n1\t00:00:01,000\ttoo-short\t500\t833\n"
                    "1\t00:00:01,000\tgap\t40\t80\n2\t00:00:01,540\tline-length\t56\t42\n"
        << "4 problems in 2 cues under streaming-en: 1 line-length, 1 reading-speed, 1 too-short, 1 gap.";
    QTest::newRow("a person's own profile file")
        << QStringList{"clean.srt", "--profile", "archive.profile"} << 1
        << header + "2\t00:00:03,080\tlines\t2\t1\n" << "1 problem in 2 cues under archive: 1 lines.";
}

void TestCheckCommand::exitCodeSaysWhetherThereIsAProblem()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, out);
    QFETCH(QString, summary);
    const CliOutcome o = runCli(folder.path(), QStringList{"check"} + arguments);
    QCOMPARE(o.out, out);
    QCOMPARE(o.err, summary + u'\n');
    QCOMPARE(o.code, code);
}

void TestCheckCommand::jsonListsTheProblemsAndTheirCounts()
{
    const CliOutcome o = runCli(folder.path(), {"check", "faulty.srt", "--profile", "teletext", "--format", "json"});
    QCOMPARE(o.code, 1);
    const QJsonObject all = QJsonDocument::fromJson(o.out.toUtf8()).object();
    QCOMPARE(all.value("profile").toString(), QStringLiteral("teletext"));
    QCOMPARE(all.value("cues").toInt(), 2);
    // Under teletext's 15 per second the second cue reads too fast as well.
    QCOMPARE(all.value("counts").toObject(),
             (QJsonObject{{"line-length", 1}, {"reading-speed", 2}, {"too-short", 1}, {"gap", 1}}));
    const QJsonArray problems = all.value("problems").toArray();
    QCOMPARE(problems.size(), 5);
    QCOMPARE(problems.at(0).toObject(), (QJsonObject{{"cue", 1}, {"start", "00:00:01,000"}, {"ms", 1000},
                                                      {"kind", "reading-speed"}, {"value", 72}, {"limit", 15}}));
    QCOMPARE(problems.at(3).toObject(), (QJsonObject{{"cue", 2}, {"start", "00:00:01,540"}, {"ms", 1540},
                                                      {"kind", "line-length"}, {"value", 56}, {"limit", 37}}));
    QCOMPARE(problems.at(4).toObject().value("value").toDouble(), 16.18);
}

void TestCheckCommand::frameRateSetsTheGap()
{
    // The 80 ms between the clean cues are 2 frames at 25 fps, under 2 at 24.
    QCOMPARE(runCli(folder.path(), {"check", "clean.srt", "--profile", "streaming", "--fps", "25"}).code, 0);
    const CliOutcome o = runCli(folder.path(), {"check", "clean.srt", "--profile", "streaming", "--fps", "24"});
    QCOMPARE(o.out, QStringLiteral("cue\tstart\tkind\tvalue\tlimit\n1\t00:00:01,000\tgap\t80\t84\n"));
    QCOMPARE(o.code, 1);
}

void TestCheckCommand::badArgumentsAreUsageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("no file") << QStringList{"--profile", "streaming"} << "No subtitle file given.";
    QTest::newRow("two files") << QStringList{"a.srt", "b.srt", "--profile", "streaming"}
                               << "Only one subtitle file can be given.";
    QTest::newRow("no profile") << QStringList{"clean.srt"} << "No profile given (--profile).";
    QTest::newRow("unknown profile")
        << QStringList{"clean.srt", "--profile", "cinema"}
        << "'cinema' is neither a subtitle profile (classic, streaming, streaming-en, teletext, captions32) nor a "
           "profile file";
    QTest::newRow("bad format") << QStringList{"clean.srt", "--profile", "streaming", "--format", "csv"}
                                << "--format must be tsv or json.";
    QTest::newRow("frame rate out of range") << QStringList{"clean.srt", "--profile", "streaming", "--fps", "0"}
                                             << "--fps must be a number from 1 to 120.";
    QTest::newRow("frame rate no number") << QStringList{"clean.srt", "--profile", "streaming", "--fps", "pal"}
                                          << "--fps must be a number from 1 to 120.";
}

void TestCheckCommand::badArgumentsAreUsageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const CliOutcome o = runCli(folder.path(), QStringList{"check"} + arguments);
    QCOMPARE(o.code, 2);
    QCOMPARE(o.err.section(u'\n', 0, 0), message);
    QCOMPARE(o.out, QString());
}

void TestCheckCommand::unreadableFileIsAFailure()
{
    writeBytes(path("bad.srt"), "1\n00:00:01,000 --> soon\nhello\n");
    const CliOutcome o = runCli(folder.path(), {"check", "bad.srt", "--profile", "streaming"});
    QCOMPARE(o.code, 1);
    QCOMPARE(o.out, QString());
    QVERIFY2(o.err.contains(QStringLiteral("'soon' is not a valid time")), qPrintable(o.err));
}

void TestCheckCommand::exampleInterviewGluedToAProfileKeepsIt_data()
{
    QTest::addColumn<QString>("profile");
    QTest::addColumn<QStringList>("enlarge");
    QTest::addColumn<int>("lead");
    QTest::newRow("streaming, enlarged") << "streaming" << QStringList{} << 100;
    QTest::newRow("streaming, not enlarged") << "streaming" << QStringList{"--no-enlarge"} << 0;
    QTest::newRow("captions32, enlarged more") << "captions32" << QStringList{"--before", "400", "--after", "600"} << 400;
}

void TestCheckCommand::exampleInterviewGluedToAProfileKeepsIt()
{
    QFETCH(QString, profile);
    QFETCH(QStringList, enlarge);
    QFETCH(int, lead);
    if (!hasPythonSrt())
        QSKIP("python3-srt is not installed (scripts/install-deps.sh test)");
    QTemporaryDir out;
    const QStringList halves{"--ctm1", path("a.spk"), "--ctm2", path("b.spk"), "--text1", path("a.txt"),
                             "--text2", path("b.txt"), "--wav1", path("a.wav"), "--wav2", path("b.wav")};
    const CliOutcome glued = runGlue(out.path(), halves + enlarge
                                                     + QStringList{"--profile", profile, "--joined", "j.wav", "--srt",
                                                                   "j.srt", "--vtt", "j.vtt"});
    QVERIFY2(glued.code == 0, qPrintable(glued.err));

    // The words as the joined word file holds them, without the silences.
    QStringList words;
    const QStringList spk = QString::fromUtf8(readBytes(out.filePath("j.spk"))).split(QRegularExpression("[\r\n]+"), Qt::SkipEmptyParts);
    for (const QString &line : spk) {
        const QStringList f = line.split(u'\t');
        if (f.size() < 5 || f.at(4) == u"SIL")
            continue;
        words << QStringLiteral("%1\t%2\t%3").arg(qRound64(f.at(2).toDouble() * 1000)).arg(qRound64(f.at(3).toDouble() * 1000)).arg(f.at(4));
    }
    writeLines(out.filePath("words.tsv"), words);
    const QStringList figures = profile == u"streaming"
                                    ? QStringList{"--line=42", "--lines=2", "--cps=17", "--min=833", "--max=7000", "--gap=80"}
                                    : QStringList{"--line=32", "--lines=2", "--cps=15", "--min=1000", "--max=6000", "--gap=80"};
    const CliOutcome independent = runProgramIn(
        out.path(), "/usr/bin/python3",
        QStringList{NAADWERK_SOURCE_DIR "/tests/support/check_subtitle_profile.py", "j.srt", "words.tsv",
                    QStringLiteral("--lead=%1").arg(lead)} + figures);
    QVERIFY2(independent.code == 0, qPrintable(independent.out + independent.err));
    const QRegularExpressionMatch counts = QRegularExpression("cues (\\d+) impossible (\\d+)").match(independent.out);
    QVERIFY(counts.hasMatch());
    qInfo("example interview under %s: %s cues, %s impossible", qPrintable(profile), qPrintable(counts.captured(1)),
          qPrintable(counts.captured(2)));

    // naadwerk-cli's own check finds as many problems in the SRT and the WebVTT file.
    for (const char *file : {"j.srt", "j.vtt"}) {
        const CliOutcome check = runCli(out.path(), {"check", file, "--profile", profile});
        QCOMPARE(check.out.count(u'\n') - 1, counts.captured(2).toInt());
        QCOMPARE(check.code, counts.captured(2).toInt() == 0 ? 0 : 1);
    }
}

QTEST_GUILESS_MAIN(TestCheckCommand)
#include "tst_checkcommand.moc"
