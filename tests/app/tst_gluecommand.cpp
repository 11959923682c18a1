// naadwerk-cli glue on real files: the log on stdout, the files written,
// failures on stderr and the exit codes.
#include "base/textfile.h"
#include "support/cli.h"
#include "support/files.h"
#include "support/wavbuilder.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

using Outcome = CliOutcome;

// The log lines of a whole glue of the two halves made in initTestCase(), joined as j.wav.
QStringList glueLog(const QString &timeOffset)
{
    return {"Make one Wav-file from two", "Reading two wavfiles:", "1: a.wav (16000)", "2: b.wav (11025)",
            "Writting into wavfile:", "W: j.wav (24000)", "Samples to add is 16000",
            "Time to add is " + timeOffset + "ms", "Combining the two CTMs", "Combining the two Texts",
            "Make Phrases", "Start making Phrases", "Ready making Phrases", "Make SRT", "Start making SRT",
            "Ready making SRT", "Make Word-like transcription", "Start making Word-file",
            "Ready making Word-file"};
}

QString linesText(const QStringList &lines)
{
    return lines.join(u'\n') + u'\n';
}

} // namespace

class TestGlueCommand : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;
    QString path(const QString &name) const { return folder.filePath(name); }
    const QStringList allHalves{"--ctm1", "a.spk", "--ctm2", "b.spk", "--text1", "a.txt", "--text2", "b.txt",
                                "--wav1", "a.wav", "--wav2", "b.wav"};

private slots:
    void initTestCase();
    void wholeGlueAndSave();
    void withoutJoinedGlueIsCancelled_data();
    void withoutJoinedGlueIsCancelled();
    void refusedBeforeAnythingIsWritten_data();
    void refusedBeforeAnythingIsWritten();
    void theJoinedNameReachesEveryFileIntact_data();
    void theJoinedNameReachesEveryFileIntact();
    void settingsReachTheResult();
    void failureLeavesTheLogSoFar_data();
    void failureLeavesTheLogSoFar();
    void badArgumentsPrintTheUsage_data();
    void badArgumentsPrintTheUsage();
    void helpListsTheSettings();
    void limitsOfTheDisplayTimesAreAccepted();
    void pageOptionsChooseThePage_data();
    void pageOptionsChooseThePage();
    void nistFilesAreJoinedInTheirLayout();
    void pausesEndPhrasesWhenAsked();
    void channelsChooseWhatIsJoined();
    void alsoWritesTheFilesAskedForAndReadsTheJsonBack();
    void recognisersFilesGlueWithoutTexts();
};

void TestGlueCommand::initTestCase()
{
    QVERIFY(QFileInfo(cliProgram()).isExecutable());
    const QString sox = QStandardPaths::findExecutable(QStringLiteral("sox"));
    if (sox.isEmpty())
        QSKIP("sox is not installed");
    // Half 1: one second of 16 kHz mono; half 2: half a second of 22.05 kHz
    // stereo, which the join converts.
    QCOMPARE(QProcess::execute(sox, {"-n", "-r", "16000", "-c", "1", "-b", "16", path("a.wav"), "synth", "1",
                                     "sine", "440"}),
             0);
    QCOMPARE(QProcess::execute(sox, {"-n", "-r", "22050", "-c", "2", "-b", "16", path("b.wav"), "synth", "0.5",
                                     "sine", "330"}),
             0);
    writeBytes(path("a.spk"), "u\t1\t0.10\t0.40\tso\t0.9\tSP_01 Anna\n"
                              "u\t1\t0.40\t0.60\tuh*\t0.2\tSP_01 Anna\n"
                              "u\t1\t0.60\t0.90\twe\t1\tSP_01 Anna\n"
                              "u\t1\t0.90\t0.95\tSIL\t1\tSP_01 Anna\n"
                              "u\t1\t0.95\t0.99\tleft.\t1\tSP_01 Anna\n");
    writeBytes(path("b.spk"), "u\t1\t0.00\t0.45\tfine.\t0.8\tSP_02 Bob\n");
    // NIST CTM as speech tools write it: comments, durations, no confidence.
    writeBytes(path("a.nist"), ";; reference of half 1\nu 1 0.10 0.30 so\nu 1 0.40 0.59 left. 0.9\n");
    writeBytes(path("b.nist"), ";; half 2\n\nu\t1\t0.00\t0.45\tfine.\t0.8\textra\n");
    writeBytes(path("blank.ctm"), "u 1 0.10 0.40 so 0.9\nu 1 0.40 0.99 left. 1\n");
    writeBytes(path("a.txt"), "[StartTime: 100 ms]\n[Speaker: SP_01 Anna]\nSo we left.\n");
    writeBytes(path("b.txt"), "[StartTime: 0 ms]\n[Speaker: SP_02 Bob]\nFine.\n");
}

void TestGlueCommand::nistFilesAreJoinedInTheirLayout()
{
    const Outcome o = runGlue(folder.path(), {"--layout", "nist", "--ctm1", "a.nist", "--ctm2", "b.nist", "--wav1",
                                              "a.wav", "--wav2", "b.wav", "--joined", "n.wav"});
    QCOMPARE(o.err, QString());
    QCOMPARE(o.code, 0);
    // The joined word file is NIST CTM again: part 2 shifted by the second of part 1.
    QCOMPARE(readTextFile(path("n.ctm")), (QStringList{"n 1 0.100 0.300 so 1.00", "n 1 0.400 0.590 left. 0.90",
                                                       "n 1 1.000 0.450 fine. 0.80"}));
    QCOMPARE(readTextFile(path("n.srt")),
             (QStringList{"1", "00:00:00,000 --> 00:00:00,996", "so left.", "", "2",
                          "00:00:00,997 --> 00:00:01,650", "fine.", ""}));
    const Outcome bad = runGlue(folder.path(), {"--layout", "ctm", "--ctm1", "a.nist"});
    QCOMPARE(bad.code, 2);
    QVERIFY2(bad.err.contains("--layout must be aligner or nist."), qPrintable(bad.err));
}

void TestGlueCommand::recognisersFilesGlueWithoutTexts()
{
    // Half 1 from WhisperX, half 2 from the Montreal Forced Aligner; neither has a text file.
    writeBytes(path("r1.json"), R"({"segments": [{"start": 0.1, "end": 0.9, "text": " Waar woont u?", "speaker": "SPEAKER_00",
 "words": [{"word": "Waar", "start": 0.1, "end": 0.4, "score": 0.9, "speaker": "SPEAKER_00"},
  {"word": "woont", "start": 0.4, "end": 0.6, "score": 0.8, "speaker": "SPEAKER_00"},
  {"word": "u?", "start": 0.6, "end": 0.9, "score": 0.7, "speaker": "SPEAKER_00"}]}], "word_segments": [], "language": "nl"})");
    writeBytes(path("r2.TextGrid"), "File type = \"ooTextFile\"\nObject class = \"TextGrid\"\n\n0\n0.5\n<exists>\n1\n"
                                    "\"IntervalTier\"\n\"Bob - words\"\n0\n0.5\n1\n0\n0.45\n\"Zwolle.\"\n");
    const Outcome o = runGlue(folder.path(), {"--ctm1", "r1.json", "--ctm2", "r2.TextGrid", "--wav1", "a.wav",
                                              "--wav2", "b.wav", "--joined", "r.wav"});
    QCOMPARE(o.err, QString());
    QCOMPARE(o.code, 0);
    QCOMPARE(readTextFile(path("r.txt")), (QStringList{"[StartTime: 100 ms]",
                                                       "[Speaker: SP_01 SPEAKER_00]", "Waar woont u?"}));
    QCOMPARE(readTextFile(path("r.spk")).size(), 4);
    QVERIFY2(readTextFile(path("r.spk")).last().contains(u"Zwolle.\t1.00\tBob"_s), qPrintable(readTextFile(path("r.spk")).join(u'|')));
    // A JSON file of something else is refused, naming it; nothing is written.
    writeBytes(path("settings.json"), R"({"theme": "dark"})");
    const Outcome bad = runGlue(folder.path(), {"--ctm1", "settings.json", "--wav1", "a.wav", "--wav2", "b.wav",
                                                "--joined", "bad.wav"});
    QCOMPARE(bad.code, 1);
    QVERIFY2(bad.err.startsWith(u"\"settings.json\": not a word file Naadwerk knows (a JSON file, but none of "_s),
             qPrintable(bad.err));
    QVERIFY(!QFileInfo::exists(path("bad.wav")));
    // A format chosen that the file is not.
    const Outcome forced = runGlue(folder.path(), {"--word-format", "eaf", "--ctm1", "r1.json", "--wav1", "a.wav",
                                                   "--wav2", "b.wav", "--joined", "bad.wav"});
    QCOMPARE(forced.code, 1);
    QVERIFY2(forced.err.startsWith(u"\"r1.json\": "_s), qPrintable(forced.err));
}

void TestGlueCommand::pausesEndPhrasesWhenAsked()
{
    // Aligner output without punctuation, a long silence in the middle.
    writeBytes(path("u.ctm"), "u\t1\t0.00\t0.30\tso\t1\nu\t1\t0.30\t0.60\twe\t1\nu\t1\t0.60\t1.60\tSIL\t1\n"
                              "u\t1\t1.60\t1.90\twent\t1\nu\t1\t1.90\t2.20\thome\t1\n");
    const Outcome off = runGlue(folder.path(), {"--ctm1", "u.ctm", "--wav1", "a.wav", "--wav2", "b.wav", "--joined", "off.wav",
                                                "--no-enlarge", "--no-save", "--vtt", "off.vtt"});
    QCOMPARE(off.code, 0);
    QCOMPARE(readTextFile(path("off.vtt")),
             (QStringList{"WEBVTT", "", "00:00:00.000 --> 00:00:02.200", "so we went home", ""}));
    const Outcome on = runGlue(folder.path(), {"--ctm1", "u.ctm", "--wav1", "a.wav", "--wav2", "b.wav", "--joined", "on.wav",
                                               "--no-enlarge", "--pause-ends-phrase", "1000", "--no-save", "--vtt", "on.vtt"});
    QCOMPARE(on.err, QString());
    QCOMPARE(on.code, 0);
    QCOMPARE(readTextFile(path("on.vtt")), (QStringList{"WEBVTT", "", "00:00:00.000 --> 00:00:00.600", "so we", "",
                                                        "00:00:01.600 --> 00:00:02.200", "went home", ""}));
}

void TestGlueCommand::wholeGlueAndSave()
{
    const Outcome o = runGlue(folder.path(), allHalves + QStringList{"--joined", "j.wav", "--vtt", "j.vtt"});
    QCOMPARE(o.err, QString());
    QCOMPARE(o.code, 0);
    QCOMPARE(o.out, linesText(glueLog("1000") + QStringList{"Saving CTM: j.spk", "Start making Karaoke",
                                                             "Ready making Karaoke"}));
    // 16000 frames of half 1 and 11025 of half 2 at 22.05 kHz, 8000 at 16 kHz.
    QCOMPARE(QFileInfo(path("j.wav")).size(), 44 + 2 * 24000);
    QCOMPARE(readTextFile(path("j.srt")),
             (QStringList{"1", "00:00:00,000 --> 00:00:00,996", "so we left.", "", "2",
                          "00:00:00,997 --> 00:00:01,650", "fine.", ""}));
    QCOMPARE(readTextFile(path("j.vtt")),
             (QStringList{"WEBVTT", "", "00:00:00.000 --> 00:00:00.996", "so we left.", "",
                          "00:00:00.997 --> 00:00:01.650", "fine.", ""}));
    QCOMPARE(readTextFile(path("j.spk")).last(), QStringLiteral("j\t1\t1.000\t1.450\tfine.\t0.80\tSP_02 Bob"));
    QCOMPARE(readTextFile(path("j_word.txt")).mid(7),
             (QStringList{"\t00:00:00", "Anna\tSo we left.", "\t00:00:00", "Bob\tFine."}));
    QVERIFY(QFileInfo::exists(path("j.html")));
    QVERIFY(QFileInfo::exists(path("j.txt")));
}

void TestGlueCommand::alsoWritesTheFilesAskedForAndReadsTheJsonBack()
{
    const Outcome o = runGlue(folder.path(), allHalves + QStringList{"--joined", "x.wav", "--also", "json, textgrid",
                                                                     "--vtt", "x.vtt"});
    QCOMPARE(o.err, QString());
    QCOMPARE(o.code, 0);
    QVERIFY(o.out.endsWith("Ready making Karaoke\nSaving TextGrid: x.TextGrid\nSaving JSON: x.json\n"));
    QVERIFY(QFileInfo::exists(path("x.TextGrid")));
    QVERIFY(!QFileInfo::exists(path("x.eaf")));
    // --vtt still writes the plain cues.
    QCOMPARE(readTextFile(path("x.vtt")).mid(0, 4),
             (QStringList{"WEBVTT", "", "00:00:00.000 --> 00:00:00.996", "so we left."}));

    // The JSON file is a word file: glued as part 1, its words come back as written.
    const Outcome again = runGlue(folder.path(), {"--ctm1", "x.json", "--wav1", "a.wav", "--wav2", "b.wav",
                                                  "--joined", "y.wav", "--also", "json"});
    QCOMPARE(again.err, QString());
    QCOMPARE(again.code, 0);
    QStringList words = readTextFile(path("x.spk"));
    words.replaceInStrings(QRegularExpression("^x\t"), "y\t");
    QCOMPARE(readTextFile(path("y.spk")), words);
    const Outcome refused = runGlue(folder.path(), allHalves + QStringList{"--joined", "z.wav", "--also", "eaf,pdf"});
    QCOMPARE(refused.code, 2);
    QVERIFY2(refused.err.contains("--also must be words of eaf, textgrid, vtt-words and json, apart by commas."),
             qPrintable(refused.err));
}

void TestGlueCommand::withoutJoinedGlueIsCancelled_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("err");
    QTest::newRow("then Save has nothing") << QStringList{} << 1
                                           << "Nothing to save yet: run Glue first.\n";
    QTest::newRow("no Save") << QStringList{"--no-save"} << 0 << QString();
    QTest::newRow("no Save, no WebVTT either") << QStringList{"--no-save", "--vtt", "x.vtt"} << 0 << QString();
}

void TestGlueCommand::withoutJoinedGlueIsCancelled()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, err);
    const QStringList before = QDir(folder.path()).entryList(QDir::Files, QDir::Name);
    QList<QByteArray> bytes;
    for (const QString &file : before)
        bytes << readBytes(path(file));
    const Outcome o = runGlue(folder.path(), allHalves + arguments);
    QCOMPARE(o.code, code);
    QCOMPARE(o.err, err);
    // A cancelled Glue logs, names and writes nothing.
    QCOMPARE(o.out, QString());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files, QDir::Name), before);
    for (qsizetype k = 0; k < before.size(); ++k)
        QCOMPARE(readBytes(path(before[k])), bytes[k]);
}

void TestGlueCommand::refusedBeforeAnythingIsWritten_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::addColumn<QStringList>("absent"); // files that must not exist afterwards
    QTest::newRow("one recording")
        << QStringList{"--ctm1", "a.spk", "--wav1", "a.wav", "--joined", "x.wav"} << QString()
        << "Open both recordings before Glue.\n" << QStringList{"x.wav"};
    QTest::newRow("no recording")
        << QStringList{"--ctm1", "a.spk", "--joined", "x.wav"} << QString()
        << "Open both recordings before Glue.\n" << QStringList{"x.wav"};
    QStringList glueOverWav1 = allHalves;
    glueOverWav1 << "--joined" << "a.wav";
    QTest::newRow("Glue over WAV 1") << glueOverWav1 << QString()
                                     << "Glue would overwrite the opened file \"a.wav\". Nothing was glued.\n"
                                     << QStringList{};
    QStringList glueOverText = allHalves;
    glueOverText << "--joined" << "./b.txt";
    QTest::newRow("Glue over a text") << glueOverText << QString()
                                      << "Glue would overwrite the opened file \"./b.txt\". Nothing was glued.\n"
                                      << QStringList{};
    // a.flac is no input, but the word file and the text Save would write
    // next to it are.
    QStringList saveOverInputs = allHalves;
    saveOverInputs << "--joined" << "a.flac";
    QStringList log = glueLog("1000");
    log.replaceInStrings("j.wav", "a.flac");
    QTest::newRow("Save over the word file 1")
        << saveOverInputs << linesText(log)
        << "Save would overwrite the opened file \"a.spk\". Nothing was saved.\n"
        << QStringList{"a.srt", "a.html", "a_word.txt"};
}

void TestGlueCommand::refusedBeforeAnythingIsWritten()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(QStringList, absent);
    const QStringList inputs{"a.spk", "b.spk", "a.txt", "b.txt", "a.wav", "b.wav"};
    QList<QByteArray> bytes;
    for (const QString &input : inputs)
        bytes << readBytes(path(input));
    const Outcome o = runGlue(folder.path(), arguments);
    QFile::remove(path("a.flac"));
    QCOMPARE(o.code, 1);
    QCOMPARE(o.out, out);
    QCOMPARE(o.err, err);
    for (qsizetype k = 0; k < inputs.size(); ++k)
        QCOMPARE(readBytes(path(inputs[k])), bytes[k]);
    for (const QString &file : absent)
        QVERIFY2(!QFileInfo::exists(path(file)), qPrintable(file));
}

void TestGlueCommand::theJoinedNameReachesEveryFileIntact_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("wordFile");
    QTest::addColumn<QString>("firstLine"); // of the word file
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("source"); // the page's audio source line
    QTest::newRow("a blank in the name, blank separator")
        << QStringList{"--separator", "space", "--ctm1", "blank.ctm", "--wav1", "a.wav", "--wav2", "b.wav",
                       "--joined", "my talk.wav", "--srt", "my talk.srt"}
        << "my talk.ctm" << "my_talk 1 0.100 0.400 so 0.90" << "my talk.html"
        << "      <source src=\"my%20talk.wav\" type=\"audio/wav\">";
    QTest::newRow("a blank in the name, tab separator")
        << QStringList{"--ctm1", "a.spk", "--wav1", "a.wav", "--wav2", "b.wav", "--joined", "tab talk.wav"}
        << "tab talk.spk" << "tab talk\t1\t0.100\t0.400\tso\t0.90\tSP_01 Anna" << "tab talk.html"
        << "      <source src=\"tab%20talk.wav\" type=\"audio/wav\">";
    QTest::newRow("no extension")
        << QStringList{"--ctm1", "a.spk", "--wav1", "a.wav", "--wav2", "b.wav", "--joined", "plain"}
        << "plain.spk" << "plain\t1\t0.100\t0.400\tso\t0.90\tSP_01 Anna" << "plain.html"
        << "      <source src=\"plain\" type=\"audio/wav\">";
    QTest::newRow("capital extension")
        << QStringList{"--ctm1", "a.spk", "--wav1", "a.wav", "--wav2", "b.wav", "--joined", "Big.WAV"}
        << "Big.spk" << "Big\t1\t0.100\t0.400\tso\t0.90\tSP_01 Anna" << "Big.html"
        << "      <source src=\"Big.WAV\" type=\"audio/wav\">";
}

void TestGlueCommand::theJoinedNameReachesEveryFileIntact()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, wordFile);
    QFETCH(QString, firstLine);
    QFETCH(QString, page);
    QFETCH(QString, source);
    QTemporaryDir out;
    for (const char *input : {"a.spk", "blank.ctm", "a.wav", "b.wav"})
        QVERIFY(QFile::copy(path(input), out.filePath(input)));
    const Outcome o = runGlue(out.path(), arguments);
    QCOMPARE(o.err, QString());
    QCOMPARE(o.code, 0);
    QCOMPARE(readTextFile(out.filePath(wordFile)).first(), firstLine);
    const QStringList lines = readTextFile(out.filePath(page));
    QVERIFY2(lines.contains(source), qPrintable(lines.filter("source").join('\n')));
    // The confidence of each word as the table shows it.
    QCOMPARE(lines.filter("conf=\"0.90\" timestamp=\"0.100\"").size(), 1);
}

void TestGlueCommand::settingsReachTheResult()
{
    const Outcome o = runGlue(folder.path(), allHalves
                                                 + QStringList{"--keep-sil", "--keep-star-words", "--no-enlarge",
                                                               "--srt", "k.srt", "--joined", "k.wav"});
    QCOMPARE(o.err, QString());
    QCOMPARE(o.code, 0);
    QCOMPARE(readTextFile(path("k.srt")),
             (QStringList{"1", "00:00:00,100 --> 00:00:00,990", "so uh* we SIL left.", "", "2",
                          "00:00:01,000 --> 00:00:01,450", "fine.", ""}));

    const Outcome blank = runGlue(folder.path(), {"--separator", "space", "--ctm1", "blank.ctm", "--before", "0",
                                                  "--after", "0", "--wav1", "a.wav", "--wav2", "b.wav", "--joined",
                                                  "s.wav", "--srt", "s.srt"});
    QCOMPARE(blank.err, QString());
    QCOMPARE(blank.code, 0);
    QCOMPARE(readTextFile(path("s.srt")), (QStringList{"1", "00:00:00,100 --> 00:00:00,990", "so left.", ""}));
    QCOMPARE(readTextFile(path("s.ctm")), (QStringList{"s 1 0.100 0.400 so 0.90", "s 1 0.400 0.990 left. 1.00"}));
}

void TestGlueCommand::failureLeavesTheLogSoFar_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");

    QTest::newRow("a bad word file stops before the glue")
        << QStringList{"--ctm1", "blank.ctm", "--no-save"} << QString()
        << "\"blank.ctm\", line 1: '' is not a valid floating point value; "
           "the fields are apart by blanks: choose \"Space\" on the Settings tab (--separator space)\n";
    QTest::newRow("a missing text")
        << QStringList{"--text1", "nothere.txt", "--no-save"} << QString()
        << "Cannot open file \"nothere.txt\". No such file or directory\n";
    QTest::newRow("a file that is no recording stops Open Wav")
        << QStringList{"--wav1", "a.wav", "--wav2", "a.spk", "--joined", "bad.wav"} << QString()
        << "\"a.spk\" is a text file, not a recording\n";
    QTest::newRow("a joined file that cannot be created stops the glue")
        << QStringList{"--wav1", "a.wav", "--wav2", "b.wav", "--joined", "nodir/x.wav", "--no-save"}
        << "Make one Wav-file from two\n"
        << "Cannot create file \"nodir/x.wav\". No such file or directory\n";
}

void TestGlueCommand::failureLeavesTheLogSoFar()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, out);
    QFETCH(QString, err);
    const Outcome o = runGlue(folder.path(), arguments);
    QCOMPARE(o.code, 1);
    QCOMPARE(o.out, out);
    QCOMPARE(o.err, err);
}

void TestGlueCommand::badArgumentsPrintTheUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error"); // the first line on stderr
    const QString before = "--before must be a whole number from 0 to 2000.";
    const QString pause = "--pause-ends-phrase must be a whole number from 100 to 10000.";
    const QString channels = "--channels must be mix, left or right.";
    const QString low = "--low-confidence must be a number from 0 to 1.";
    const QString parts = "--parts does not go with --ctm1, --ctm2, --text1, --text2, --wav1 or --wav2.";
    QTest::newRow("before above 2000") << QStringList{"--before", "2001"} << before;
    QTest::newRow("negative after") << QStringList{"--after", "-1"} << "--after must be a whole number from 0 to 2000.";
    QTest::newRow("after with a fraction") << QStringList{"--after", "1.5"}
                                           << "--after must be a whole number from 0 to 2000.";
    QTest::newRow("before with a sign") << QStringList{"--before", "+5"} << before;
    QTest::newRow("before not a number") << QStringList{"--before", "abc"} << before;
    QTest::newRow("unknown separator") << QStringList{"--separator", "comma"} << "--separator must be tab or space.";
    QTest::newRow("pause below 100") << QStringList{"--pause-ends-phrase", "99"} << pause;
    QTest::newRow("pause above 10000") << QStringList{"--pause-ends-phrase", "10001"} << pause;
    QTest::newRow("pause not a number") << QStringList{"--pause-ends-phrase", "1s"} << pause;
    QTest::newRow("unknown option") << QStringList{"--foo"} << "Unknown option 'foo'.";
    QTest::newRow("a file name without option") << QStringList{"a.spk"}
                                                << "glue takes no file names without an option.";
    QTest::newRow("option without its value") << QStringList{"--ctm1"} << "Missing value after '--ctm1'.";
    QTest::newRow("unknown page style") << QStringList{"--page", "modern"} << "--page must be classic or standalone.";
    QTest::newRow("unknown channel") << QStringList{"--channels", "both"} << channels;
    QTest::newRow("channel as a number") << QStringList{"--channels", "1"} << channels;
    QTest::newRow("low confidence above 1") << QStringList{"--low-confidence", "1.5"} << low;
    QTest::newRow("negative low confidence") << QStringList{"--low-confidence", "-0.1"} << low;
    QTest::newRow("low confidence not a number") << QStringList{"--low-confidence", "half"} << low;
    QTest::newRow("low confidence with a comma") << QStringList{"--low-confidence", "0,5"} << low;
    QTest::newRow("parts and ctm1") << QStringList{"--parts", "list.tsv", "--ctm1", "a.spk"} << parts;
    QTest::newRow("parts and wav2") << QStringList{"--wav2", "b.wav", "--parts", "list.tsv"} << parts;
}

void TestGlueCommand::badArgumentsPrintTheUsage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    QTemporaryDir empty;
    const Outcome o = runGlue(empty.path(), QStringList{"--no-save"} + arguments);
    QCOMPARE(o.code, 2);
    QCOMPARE(o.out, QString());
    QCOMPARE(o.err.section(u'\n', 0, 0), error);
    QVERIFY2(o.err.contains("Usage:") && o.err.contains("--joined"), qPrintable(o.err));
    QVERIFY(QDir(empty.path()).isEmpty());
}

// The options of the settings, their values and help, as the help lists them.
void TestGlueCommand::helpListsTheSettings()
{
    const Outcome o = runGlue(folder.path(), {"--help"});
    QCOMPARE(o.code, 0);
    const QStringList lines = o.out.split(u'\n');
    const qsizetype first = lines.indexOf(QRegularExpression("^  --separator .*"));
    const qsizetype files = lines.indexOf(QRegularExpression("^  --ctm1 .*"));
    QVERIFY(first > 0 && files > first);
    QCOMPARE(lines.mid(first, files - first),
             (QStringList{
                 "  --separator <tab|space>      Field separator of the CTM files: tab (default)",
                 "                               or space.",
                 "  --layout <aligner|nist>      Layout of the CTM files: aligner (field 4 is the",
                 "                               end, default) or nist (NIST CTM: field 4 is the",
                 "                               duration).",
                 "  --word-format <format>       What the word files to read are; auto (default)",
                 "                               finds it from the file. <format>: auto, ctm,",
                 "                               nist, whisperx, whisper, whispercpp, gentle,",
                 "                               textgrid, eaf, vtt, deepgram, aws, assemblyai,",
                 "                               google, vosk.",
                 "  --tier <name>                The tier of TextGrid and EAF files to read as",
                 "                               words (default: the tiers named \"words\" or \"NAME",
                 "                               - words\", else the first with times).",
                 "  --pause-ends-phrase <ms>     End phrases at pauses (a SIL word or a gap",
                 "                               between words) of at least <ms>, 100 to 10000.",
                 "  --no-enlarge                 Do not enlarge the display time of the cues.",
                 "  --before <ms>                Start cues <ms> earlier, 0 to 2000 (default",
                 "                               100).",
                 "  --after <ms>                 End cues <ms> later, 0 to 2000 (default 200).",
                 "  --profile <name>             Cut the subtitles to a broadcaster's rules;",
                 "                               <name> is a profile or a profile file: classic,",
                 "                               streaming, streaming-en, teletext, captions32.",
                 "  --fps <fps>                  The frame rate of the video the subtitles go",
                 "                               with, for gaps counted in frames, 1 to 120",
                 "                               (default 25).",
                 "  --keep-star-words            Keep words holding \"*\" in the phrases.",
                 "  --keep-sil                   Keep \"SIL\" in the phrase texts.",
                 "  --page <classic|standalone>  Karaoke page: classic (default) or standalone",
                 "                               (one file, no network, fast on long interviews).",
                 "  --low-confidence <x>         The standalone page marks words below confidence",
                 "                               <x>, and the review lists runs of them, 0 to 1",
                 "                               (default 0.5; 0 marks none).",
                 "  --language <tag>             The language spoken in the interview, the",
                 "                               karaoke page's lang (default nl): nl, en, de, fr,",
                 "                               fy.",
                 "  --channels <mix|left|right>  What of a stereo recording is joined: mix",
                 "                               (default: the channels averaged), left (the first",
                 "                               channel) or right (the second).",
                 "  --encoding <name>            Encoding of the texts and word files to read;",
                 "                               auto (default) finds it from the file. <name>:",
                 "                               auto, utf-8, windows-1252, windows-1250,",
                 "                               windows-1251, windows-1253, windows-1254,",
                 "                               iso-8859-2, gb18030, big5, shift_jis, euc-jp,",
                 "                               euc-kr, koi8-r.",
                 "  --unknown-words <words>      The tokens the aligner writes for a word it does",
                 "                               not know, separated by blanks (default \"<unk>",
                 "                               <UNK> [unk] <noise>\").",
                 "  --long-word <ms>             The review lists words longer than <ms>, 100 to",
                 "                               60000 (default 2500).",
                 "  --long-gap <ms>              The review lists gaps inside a speaker's turn",
                 "                               longer than <ms>, 100 to 600000 (default 5000).",
                 "  --also <files>               Save also writes these files beside the joined",
                 "                               recording, named after it, <files> apart by",
                 "                               commas: eaf (ELAN), textgrid (Praat), vtt-words",
                 "                               (WebVTT with word times), json (Naadwerk JSON).",
             }));
}

void TestGlueCommand::limitsOfTheDisplayTimesAreAccepted()
{
    const Outcome o = runGlue(folder.path(), allHalves + QStringList{"--before", "0", "--after", "2000", "--no-save"});
    QCOMPARE(o.err, QString());
    QCOMPARE(o.code, 0);
}

void TestGlueCommand::pageOptionsChooseThePage_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("standalone");
    QTest::addColumn<QStringList>("lowWords");

    // The words of the halves: so 0.9, uh* 0.2, we 1, left. 1, fine. 0.8.
    QTest::newRow("classic at start") << QStringList{} << false << QStringList{};
    QTest::newRow("classic by name") << QStringList{"--page", "classic", "--low-confidence", "1"} << false
                                     << QStringList{};
    QTest::newRow("standalone, below 0.5") << QStringList{"--page", "standalone"} << true << QStringList{"uh*"};
    QTest::newRow("standalone, below 0.85") << QStringList{"--page", "standalone", "--low-confidence", ".85"}
                                            << true << QStringList{"uh*", "fine."};
    QTest::newRow("standalone, none marked") << QStringList{"--page", "standalone", "--low-confidence", "0"}
                                             << true << QStringList{};
}

void TestGlueCommand::pageOptionsChooseThePage()
{
    QFETCH(QStringList, options);
    QFETCH(bool, standalone);
    QFETCH(QStringList, lowWords);
    const Outcome o = runGlue(folder.path(), allHalves + QStringList{"--joined", "p.wav"} + options);
    QCOMPARE(o.err, QString());
    QCOMPARE(o.code, 0);
    // Either page is NAME.html beside the joined recording.
    const QStringList page = readTextFile(path("p.html"));
    QCOMPARE(page.filter("ajax.googleapis.com").isEmpty(), standalone);
    QCOMPARE(page.contains("<main id=\"transcript\" aria-describedby=\"help\">"), standalone);
    QStringList low;
    for (const QString &line : page) {
        if (line.startsWith("<span class=\"w low\""))
            low << line.section('>', 1, 1).section('<', 0, 0);
    }
    QCOMPARE(low, lowWords);
}

void TestGlueCommand::channelsChooseWhatIsJoined()
{
    // Stereo at 16 kHz: a speaker on the right, the left channel silent.
    std::vector<qint16> interleaved;
    for (int i = 0; i < 400; ++i)
        interleaved.insert(interleaved.end(), {qint16(0), qint16(1000 + i)});
    writeBytes(path("lr.wav"), riff(chunk("fmt ", fmtBody(1, 2, 16000, 16)) + chunk("data", pcm16(interleaved))));
    for (const QString channel : {"left", "right"}) {
        const Outcome o = runGlue(folder.path(), {"--channels", channel, "--wav1", "lr.wav", "--wav2", "lr.wav", "--joined",
                                                  channel + ".wav", "--no-save"});
        QCOMPARE(o.err, QString());
        QCOMPARE(o.code, 0);
        const std::vector<qint16> joined = samplesAfter44(path(channel + ".wav"));
        QCOMPARE(joined.size(), 800u);
        for (int i = 0; i < 800; ++i)
            QCOMPARE(joined[size_t(i)], qint16(channel == u"left" ? 0 : 1000 + i % 400));
    }
}

QTEST_GUILESS_MAIN(TestGlueCommand)
#include "tst_gluecommand.moc"
