// Glue's warnings about doubtful words, in the forms aligners get wrong:
// NIST files read in the aligner layout, word files of the wrong part,
// lists out of order, many words piled on one time.
#include "support/fakeperson.h"
#include "support/files.h"
#include "support/wavbuilder.h"

#include "job/gluejob.h"
#include "job/wordwarnings.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// The warning about a word after its part's recording, as Glue words it.
QString afterRecording(const QString &file, int line, qint64 endMs, int part, qint64 recordingMs)
{
    // One arg() for all: a file standing for "%1" must not be filled in again.
    return QStringLiteral("Warning: \"%1\", line %2: the word ends at %3 ms, after recording %4 ends (%5 ms); are "
                          "the word file and the recording of the same part?")
        .arg(file, QString::number(line), QString::number(endMs), QString::number(part),
             QString::number(recordingMs));
}

// One part of a glue of parts: its word file's bytes, the frames of its
// 16 kHz recording and the silence after it.
struct WarnedPart
{
    QByteArray words;
    qint64 frames = 16000;
    qint64 gapMs = 0;
};
using WarnedParts = QList<WarnedPart>;

// A word line of the aligner layout, times in seconds.
QByteArray word(const char *start, const char *end, const char *text = "w.")
{
    return QByteArray("u\t1\t") + start + '\t' + end + '\t' + text + "\t1\n";
}

} // namespace

Q_DECLARE_METATYPE(WarnedParts)

class TstWordWarnings : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }

    // The warning lines Glue logged, checked to stand right after the
    // combining of the word lists, with Glue going on after them.
    static QStringList warningsAfter(const FakePerson &person, const QString &combining, const QString &next)
    {
        const qsizetype at = person.logged.indexOf(combining);
        if (at < 0)
            return {QStringLiteral("no line \"%1\"").arg(combining)};
        QStringList lines;
        qsizetype i = at + 1;
        while (i < person.logged.size() && person.logged[i].startsWith(u"Warning: "))
            lines << person.logged[i++];
        if (person.logged.filter(u"Warning: ").size() != lines.size())
            lines << QStringLiteral("more warnings elsewhere in the log");
        if (i >= person.logged.size() || person.logged[i] != next)
            lines << QStringLiteral("not followed by \"%1\"").arg(next);
        if (person.logged.last() != u"Ready making Word-file")
            lines << QStringLiteral("Glue did not go on");
        return lines;
    }

private slots:
    void glueWarnsOncePerKind_data();
    void glueWarnsOncePerKind();
    void alternationsAreNamedOncePerFile();
    void wordsWithoutTimesAreCountedOncePerFile();
    void aGlueOfPartsJudgesEveryPartByItsOwnRecording_data();
    void aGlueOfPartsJudgesEveryPartByItsOwnRecording();
    void theWarningsOfOneFileAtATime_data();
    void theWarningsOfOneFileAtATime();
    void aFileNameIsQuotedAsItIs_data();
    void aFileNameIsQuotedAsItIs();
};

void TstWordWarnings::glueWarnsOncePerKind_data()
{
    QTest::addColumn<QByteArray>("file1");
    QTest::addColumn<QByteArray>("file2");
    QTest::addColumn<QStringList>("warnings"); // "%1" and "%2" stand for the word files
    // Recording 1 lasts one second, recording 2 half a second.
    const QString afterOne = afterRecording("%1", 2, 1200, 1, 1000);
    QTest::newRow("sound files") << QByteArray("u\t1\t0.10\t0.40\ta\t1\nu\t1\t0.40\t0.90\tb.\t1\n")
                                 << QByteArray("v\t1\t0.00\t0.30\tc.\t1\n") << QStringList();
    // A NIST CTM (start, duration) read in the aligner layout.
    QTest::newRow("durations read as ends")
        << QByteArray("u\t1\t0.10\t0.30\ta\t1\nu\t1\t0.40\t0.20\tb.\t1\nu\t1\t0.70\t0.10\tc.\t1\n")
        << QByteArray("v\t1\t0.50\t0.30\td.\t1\n")
        << QStringList{"Warning: \"%1\", line 2: the word ends before it starts; field 4 may be a duration: choose "
                       "the NIST layout (\"Word file layout\" on the Settings tab, --layout nist)"};
    // Its first word also ends after recording 2 (500 ms).
    QTest::newRow("out of order in half 2")
        << QByteArray("u\t1\t0.10\t0.40\ta.\t1\n")
        << QByteArray("v\t1\t0.50\t0.60\tc\t1\nv\t1\t0.20\t0.30\td.\t1\nv\t1\t0.10\t0.15\te.\t1\n")
        << QStringList{"Warning: \"%2\", line 2: the word starts before the word before it",
                       afterRecording("%2", 1, 600, 2, 500)};
    QTest::newRow("half 1 beyond recording 1")
        << QByteArray("u\t1\t0.10\t0.40\ta\t1\nu\t1\t0.90\t1.20\tb.\t1\nu\t1\t1.20\t1.50\tc.\t1\n")
        << QByteArray("v\t1\t0.00\t0.30\tc.\t1\n") << QStringList{afterOne};
    // Half 2 is judged by its own recording, in its own times: 700 ms is
    // beyond recording 2, though the joined recording lasts 1500 ms.
    QTest::newRow("half 2 beyond recording 2")
        << QByteArray("u\t1\t0.10\t0.40\ta.\t1\n")
        << QByteArray("v\t1\t0.10\t0.30\ta\t1\nv\t1\t0.30\t0.70\tb.\t1\nv\t1\t0.70\t0.90\tc.\t1\n")
        << QStringList{afterRecording("%2", 2, 700, 2, 500)};
    QTest::newRow("half 2 ending with recording 2")
        << QByteArray("u\t1\t0.10\t0.40\ta.\t1\n") << QByteArray("v\t1\t0.10\t0.50\ta.\t1\n") << QStringList();
    // One line of the kind over both halves: the first one found.
    QTest::newRow("both halves beyond their recordings: half 1 is named")
        << QByteArray("u\t1\t0.10\t0.40\ta\t1\nu\t1\t0.90\t1.20\tb.\t1\n")
        << QByteArray("v\t1\t0.30\t0.70\tb.\t1\n") << QStringList{afterOne};
    QTest::newRow("five words at one start, in half 2")
        << QByteArray("u\t1\t0.10\t0.40\ta.\t1\n")
        << QByteArray("v\t1\t0.00\t0.10\tx\t1\nv\t1\t0.20\t0.20\ta\t1\nv\t1\t0.20\t0.20\tb\t1\nv\t1\t0.20\t0.20\tc\t1\n"
                      "v\t1\t0.20\t0.20\td\t1\nv\t1\t0.20\t0.20\te.\t1\n")
        << QStringList{"Warning: \"%2\", line 2: five or more words start at the same time (200 ms); the aligner "
                       "may have failed there"};
    QTest::newRow("four words at one start are no warning")
        << QByteArray("u\t1\t0.20\t0.20\ta\t1\nu\t1\t0.20\t0.20\tb\t1\nu\t1\t0.20\t0.20\tc\t1\nu\t1\t0.20\t0.20\td.\t1\n")
        << QByteArray("v\t1\t0.20\t0.20\ta.\t1\n") << QStringList();
    QTest::newRow("every kind, each once, the first file and line")
        << QByteArray("u\t1\t0.50\t0.40\ta\t1\nu\t1\t0.30\t0.20\tb\t1\nu\t1\t0.90\t1.10\tc.\t1\n")
        << QByteArray("v\t1\t0.50\t0.60\tc\t1\nv\t1\t0.20\t0.10\td\t1\n" + QByteArray("v\t1\t0.30\t0.30\tx\t1\n").repeated(5))
        << QStringList{"Warning: \"%1\", line 1: the word ends before it starts; field 4 may be a duration: choose "
                       "the NIST layout (\"Word file layout\" on the Settings tab, --layout nist)",
                       "Warning: \"%1\", line 2: the word starts before the word before it",
                       afterRecording("%1", 3, 1100, 1, 1000),
                       "Warning: \"%2\", line 3: five or more words start at the same time (300 ms); the aligner "
                       "may have failed there"};
}

void TstWordWarnings::glueWarnsOncePerKind()
{
    QFETCH(QByteArray, file1);
    QFETCH(QByteArray, file2);
    QFETCH(QStringList, warnings);
    writeBytes(path("one.ctm"), file1);
    writeBytes(path("two.ctm"), file2);
    writeSilentWav(path("one.wav"), 16000, 1, 16, 16000);
    writeSilentWav(path("two.wav"), 16000, 1, 16, 8000);
    FakePerson person;
    GlueJob job(person);
    job.openWordFile(1, path("one.ctm"));
    job.openWordFile(2, path("two.ctm"));
    job.openRecording(1, path("one.wav"));
    job.openRecording(2, path("two.wav"));
    job.glue(path("joined.wav"));
    for (QString &w : warnings)
        w.replace("%1", path("one.ctm")).replace("%2", path("two.ctm"));
    // The warnings stand right after "Combining the two CTMs", and Glue goes on.
    QCOMPARE(warningsAfter(person, "Combining the two CTMs", "Combining the two Texts"), warnings);
}

void TstWordWarnings::alternationsAreNamedOncePerFile()
{
    // NIST files as scoring tools write them: the first alternative of each
    // alternation is read, and each file says so in one line, before the
    // warnings of the kinds.
    writeBytes(path("one.ctm"), ";; reference\n"
                                "u 1 * * <ALT_BEGIN>\nu 1 0.10 0.20 ninety\nu 1 * * <ALT>\n"
                                "u 1 0.10 0.10 nine\nu 1 0.20 0.10 tee\nu 1 * * <ALT_END>\n"
                                "u 1 0.40 0.80 late\n"
                                "u 1 0.50 0.10 <ALT_BEGIN>\nu 1 0.50 0.10 @\nu 1 0.50 0.10 <ALT>\n"
                                "u 1 0.50 0.10 uh\nu 1 0.60 0 <ALT_END>\n");
    writeBytes(path("two.ctm"), "v 1 0.00 0.10 so\nv 1 0.10 0.10 <ALT_BEGIN>\nv 1 0.10 0.10 yes\n"
                                "v 1 0.10 0.10 <ALT_END>\n");
    writeSilentWav(path("one.wav"), 16000, 1, 16, 16000);
    writeSilentWav(path("two.wav"), 16000, 1, 16, 8000);
    FakePerson person;
    GlueJob job(person);
    job.settings.layout = WordFileLayout::Nist;
    job.openWordFile(1, path("one.ctm"));
    job.openWordFile(2, path("two.ctm"));
    job.openRecording(1, path("one.wav"));
    job.openRecording(2, path("two.wav"));
    job.glue(path("joined.wav"));
    QCOMPARE(job.wordRows(WordTable::Main).size(), 4u); // ninety, late; so, yes
    const QString alternations = QStringLiteral("Warning: \"%1\", line %2: the file holds %3 (<ALT_BEGIN> ... "
                                                "<ALT_END>), the first on this line; only the first alternative of "
                                                "each is read");
    QCOMPARE(warningsAfter(person, "Combining the two CTMs", "Combining the two Texts"),
             (QStringList{alternations.arg(path("one.ctm"), "2", "2 alternations"),
                          alternations.arg(path("two.ctm"), "2", "1 alternation"),
                          afterRecording(path("one.ctm"), 8, 1200, 1, 1000)}));
}

void TstWordWarnings::wordsWithoutTimesAreCountedOncePerFile()
{
    // WhisperX leaves numbers untimed; faster-whisper a segment without
    // words. A file whose words all have times says nothing.
    writeBytes(path("one.json"), R"({"segments": [{"start": 0.1, "end": 0.9, "text": " In 1952 %", "words": [
 {"word": "In", "start": 0.1, "end": 0.2, "score": 0.9}, {"word": "1952"}, {"word": "%"}, {"word": "ja", "start": 0.8, "end": 0.9, "score": 0.9}]}]})");
    writeBytes(path("two.json"), R"({"segments": [{"start": 0.0, "end": 0.4, "text": " nee", "words": null}]})");
    writeBytes(path("three.json"), R"({"segments": [{"start": 0.0, "end": 0.4, "text": " nee", "words": [{"word": " nee", "start": 0, "end": 0.4, "probability": 0.5}]}]})");
    writeSilentWav(path("one.wav"), 16000, 1, 16, 16000);
    writeSilentWav(path("two.wav"), 16000, 1, 16, 8000);
    FakePerson person;
    GlueJob job(person);
    job.addPartFiles({path("one.json"), path("one.wav")});
    job.addPartFiles({path("two.json"), path("two.wav")});
    job.addPartFiles({path("three.json"), path("two.wav")});
    job.glue(path("joined.wav"));
    QCOMPARE(job.wordRows(WordTable::Main).size(), 6u);
    QCOMPARE(warningsAfter(person, "Combining the 3 CTMs", "Combining the 3 Texts"),
             (QStringList{u"Warning: \"%1\": 2 words have no times of their own (the first: \"1952\"); they are "
                          "given times between their timed neighbours, shared by characters, with confidence 0"_s.arg(path("one.json")),
                          u"Warning: \"%1\": 1 word has no times of their own (the first: \"nee\"); they are "
                          "given times between their timed neighbours, shared by characters, with confidence 0"_s.arg(path("two.json"))}));
}

void TstWordWarnings::aGlueOfPartsJudgesEveryPartByItsOwnRecording_data()
{
    QTest::addColumn<WarnedParts>("parts");
    QTest::addColumn<QStringList>("warnings"); // "%1", "%2", "%3" stand for the word files

    // Part 3 starts 2 s into the joined recording; its words are judged in
    // the times of its own file.
    QTest::newRow("three sound parts")
        << WarnedParts{{word("0.10", "0.90")}, {word("0.00", "1.00")}, {word("0.10", "0.40") + word("0.40", "0.95")}}
        << QStringList();
    QTest::newRow("part 3 beyond recording 3")
        << WarnedParts{{word("0.10", "0.90")}, {word("0.00", "1.00")}, {word("0.10", "0.40") + word("0.40", "1.25")}}
        << QStringList{afterRecording("%3", 2, 1250, 3, 1000)};
    // 8008 frames are 500.5 ms: recording 3 lasts 500 ms (half to even).
    QTest::newRow("a half millisecond goes down to even")
        << WarnedParts{{word("0.10", "0.90")}, {word("0.00", "1.00")}, {word("0.100", "0.501"), 8008}}
        << QStringList{afterRecording("%3", 1, 501, 3, 500)};
    // 8024 frames are 501.5 ms: recording 3 lasts 502 ms.
    QTest::newRow("a half millisecond goes up to even")
        << WarnedParts{{word("0.10", "0.90")}, {word("0.00", "1.00")}, {word("0.100", "0.502"), 8024}}
        << QStringList();
    QTest::newRow("a half millisecond up, then one more")
        << WarnedParts{{word("0.10", "0.90")}, {word("0.00", "1.00")}, {word("0.100", "0.503"), 8024}}
        << QStringList{afterRecording("%3", 1, 503, 3, 502)};
    // A part's gap of silence is no part of its recording.
    QTest::newRow("a word in the gap after part 2")
        << WarnedParts{{word("0.10", "0.90")}, {word("0.00", "1.20"), 16000, 500}, {word("0.10", "0.40")}}
        << QStringList{afterRecording("%2", 1, 1200, 2, 1000)};
    // One line per kind over all parts: the first one found.
    QTest::newRow("parts 2 and 3 beyond their recordings: part 2 is named")
        << WarnedParts{{word("0.10", "0.90")},
                       {word("0.00", "0.50") + word("0.50", "1.10")},
                       {word("0.00", "1.50")}}
        << QStringList{afterRecording("%2", 2, 1100, 2, 1000)};
    QTest::newRow("each kind from the part that shows it first")
        << WarnedParts{{word("0.10", "0.90")},
                       {word("0.50", "0.60") + word("0.20", "0.30")},
                       {word("0.30", "0.20") + word("0.40", "1.30") + word("0.40", "0.40").repeated(4)}}
        << QStringList{"Warning: \"%3\", line 1: the word ends before it starts; field 4 may be a duration: choose "
                       "the NIST layout (\"Word file layout\" on the Settings tab, --layout nist)",
                       "Warning: \"%2\", line 2: the word starts before the word before it",
                       afterRecording("%3", 2, 1300, 3, 1000),
                       "Warning: \"%3\", line 2: five or more words start at the same time (400 ms); the aligner "
                       "may have failed there"};
}

void TstWordWarnings::aGlueOfPartsJudgesEveryPartByItsOwnRecording()
{
    QFETCH(WarnedParts, parts);
    QFETCH(QStringList, warnings);
    FakePerson person;
    GlueJob job(person);
    QStringList files;
    for (int k = 0; k < parts.size(); ++k) {
        const QString name = QStringLiteral("part%1").arg(k + 1);
        writeBytes(path(name + ".ctm"), parts[k].words);
        writeSilentWav(path(name + ".wav"), 16000, 1, 16, parts[k].frames);
        job.addPart(PartFiles{path(name + ".ctm"), QString(), path(name + ".wav")}, parts[k].gapMs);
        files << path(name + ".ctm");
    }
    job.glue(path("parts.wav"));
    for (QString &w : warnings)
        for (int k = 0; k < files.size(); ++k)
            w.replace(QStringLiteral("%") + QString::number(k + 1), files[k]);
    QCOMPARE(warningsAfter(person, "Combining the 3 CTMs", "Combining the 3 Texts"), warnings);
}

void TstWordWarnings::theWarningsOfOneFileAtATime_data()
{
    // Each word as {line, start, end}; a new file starts where line is 1.
    QTest::addColumn<QList<QList<qint64>>>("words");
    QTest::addColumn<QList<qint64>>("recordingMs"); // per file; -1: unknown
    QTest::addColumn<QStringList>("warnings");      // the files are "file1", "file2"
    QTest::newRow("an unknown length is never passed")
        << QList<QList<qint64>>{{1, 0, 999999}} << QList<qint64>{-1} << QStringList();
    QTest::newRow("the end may be the recording's end")
        << QList<QList<qint64>>{{1, 0, 500}} << QList<qint64>{500} << QStringList();
    QTest::newRow("the warning names the file's part and its length")
        << QList<QList<qint64>>{{1, 0, 100}, {1, 0, 400}, {2, 400, 700}} << QList<qint64>{100, 600}
        << QStringList{afterRecording("file2", 2, 700, 2, 600)};
    // A new file starts its own order and its own run of starts.
    QTest::newRow("a new file may start before the last word of the one before")
        << QList<QList<qint64>>{{1, 900, 950}, {1, 0, 10}} << QList<qint64>{1000, 1000} << QStringList();
    QTest::newRow("a run of equal starts ends with its file")
        << QList<QList<qint64>>{{1, 900, 950}, {2, 900, 950}, {3, 900, 950}, {1, 900, 950}, {2, 900, 950}}
        << QList<qint64>{1000, 1000} << QStringList();
    QTest::newRow("a run of five in the next file")
        << QList<QList<qint64>>{{1, 900, 950}, {1, 900, 950}, {2, 900, 950}, {3, 900, 950}, {4, 900, 950},
                                {5, 900, 950}}
        << QList<qint64>{1000, 1000}
        << QStringList{"Warning: \"file2\", line 1: five or more words start at the same time (900 ms); the aligner "
                       "may have failed there"};
}

void TstWordWarnings::theWarningsOfOneFileAtATime()
{
    using Words = QList<QList<qint64>>;
    QFETCH(Words, words);
    QFETCH(QList<qint64>, recordingMs);
    QFETCH(QStringList, warnings);
    WordWarnings judge;
    int file = 0;
    for (const QList<qint64> &w : words) {
        if (w[0] == 1) {
            judge.startFile(QStringLiteral("file") + QString::number(file + 1), file + 1, recordingMs[file]);
            ++file;
        }
        judge.word(std::int32_t(w[0]), w[1], w[2]);
    }
    QCOMPARE(judge.lines(), warnings);
}

void TstWordWarnings::aFileNameIsQuotedAsItIs_data()
{
    // Names a recorder or a download may give: a percent sign before a
    // digit is no place for the line number nor for the text.
    QTest::addColumn<QString>("name");
    QTest::newRow("a plain name") << QStringLiteral("/data/take.ctm");
    QTest::newRow("percent one") << QStringLiteral("/data/take%1.ctm");
    QTest::newRow("percent two and three") << QStringLiteral("/data/%2 of %3.ctm");
    QTest::newRow("an escaped blank") << QStringLiteral("/data/take%20two.ctm");
}

void TstWordWarnings::aFileNameIsQuotedAsItIs()
{
    QFETCH(QString, name);
    WordWarnings judge;
    judge.startFile(name, 1, 1000);
    judge.word(1, 500, 400);
    judge.word(2, 100, 200);
    judge.word(3, 200, 1200);
    QCOMPARE(judge.lines(),
             (QStringList{QStringLiteral("Warning: \"%1\", line 1: the word ends before it starts; field 4 may be a "
                                         "duration: choose the NIST layout (\"Word file layout\" on the Settings "
                                         "tab, --layout nist)")
                              .arg(name),
                          QStringLiteral("Warning: \"%1\", line 2: the word starts before the word before it").arg(name),
                          afterRecording(name, 3, 1200, 1, 1000)}));
}

QTEST_GUILESS_MAIN(TstWordWarnings)
#include "tst_wordwarnings.moc"
