// The annotation files Save can also write (Praat TextGrid, ELAN EAF,
// Naadwerk JSON, WebVTT with word times), each read back by a real reader:
// Praat itself, xmllint with a check of the EAF's structure, Naadwerk's own
// JSON reader.

#include "base/atomicfile.h"
#include "formats/annotatedinterview.h"
#include "formats/eafwriter.h"
#include "formats/naadwerkjsonreader.h"
#include "formats/naadwerkjsonwriter.h"
#include "formats/textgridwriter.h"
#include "formats/wordfile.h"
#include "formats/wordvttwriter.h"
#include "support/files.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace {

WordRow row(std::int64_t start, std::int64_t end, const QString &text, const QString &speaker = u"X"_s,
            float confidence = 0.9f)
{
    WordRow r;
    r.start = start;
    r.end = end;
    r.text = text;
    r.speaker = speaker;
    r.confidence = confidence;
    return r;
}

// An interview of rows, cut into phrases of rows [first, last] with their texts.
struct Fixture
{
    std::vector<WordRow> rows;
    std::vector<AnnotatedPhrase> phrases;
    std::int64_t lengthMs = 0;

    AnnotatedInterview interview(const QString &recording) const
    {
        AnnotatedInterview made;
        made.words = rows;
        made.phrases = phrases;
        made.lengthMs = lengthMs;
        made.recordingPath = recording;
        return made;
    }
};

// One speaker: a phrase of two words, a gap, a phrase of one word, silence
// to the recording's end.
Fixture oneSpeaker()
{
    return {{row(100, 500, u"hello"_s), row(500, 900, u"world."_s), row(1500, 2000, u"again"_s)},
            {{0, 1, u"hello world."_s}, {2, 2, u"again"_s}},
            3000};
}

// Two speakers in one phrase, B's word overlapping A's, a "SIL" row, a
// quoted word, the last word past the recording's end.
Fixture twoSpeakers()
{
    return {{row(0, 400, u"Yes,"_s, u"A"_s), row(300, 700, u"no"_s, u"B"_s), row(700, 700, u"SIL"_s, u"B"_s),
             row(800, 1200, u"say \"hi\" & <go>."_s, u"A"_s)},
            {{0, 3, u"Yes, no say \"hi\" & <go>."_s}},
            1000};
}

QByteArray written(const QString &path, const std::function<void(AtomicFile &)> &write)
{
    AtomicFile out(path);
    write(out);
    out.commit();
    return readBytes(path);
}

// What a program prints for a file; fails the test when it fails.
QString output(const QString &program, const QStringList &arguments)
{
    QByteArray printed;
    const QString failure = runProgram(program, arguments, &printed);
    if (!failure.isEmpty())
        qWarning().noquote() << failure << printed;
    return failure.isEmpty() ? QString::fromUtf8(printed) : u"(failed) "_s + failure;
}

QString readerScript(const char *name)
{
    return QStringLiteral(NAADWERK_SOURCE_DIR "/tests/formats/readers/") + QLatin1StringView(name);
}

// Word rows as a part shows the words of a word file.
std::vector<WordRow> rowsOf(const std::vector<Word> &words)
{
    std::vector<WordRow> rows;
    for (const Word &word : words)
        rows.push_back(row(word.start, word.end, word.text, word.speaker, word.confidence));
    return rows;
}

} // namespace

Q_DECLARE_METATYPE(Fixture)

class TestAnnotationFiles : public QObject
{
    Q_OBJECT

private slots:
    void praatReadsTheTextGrid_data();
    void praatReadsTheTextGrid();
    void elanStructureHoldsInTheEaf_data();
    void elanStructureHoldsInTheEaf();
    void jsonReadsBackByteForByte();
    void jsonIsReadAsAWordFileWhateverTheLayout();
    void brokenJsonIsRefusedSayingWhy_data();
    void brokenJsonIsRefusedSayingWhy();
    void wordVttTimesEachWordAfterTheFirst();
};

void TestAnnotationFiles::praatReadsTheTextGrid_data()
{
    QTest::addColumn<Fixture>("fixture");
    QTest::addColumn<QString>("listed");
    QTest::newRow("one speaker: gaps as empty intervals up to the recording's end")
        << oneSpeaker()
        << u"tiers 2\n"
           "tier phrases 5\n0\t100\t\n100\t900\thello world.\n900\t1500\t\n1500\t2000\tagain\n2000\t3000\t\n"
           "tier words 6\n0\t100\t\n100\t500\thello\n500\t900\tworld.\n900\t1500\t\n1500\t2000\tagain\n"
           "2000\t3000\t\n"_s;
    QTest::newRow("two speakers: a words tier each, the overlap laid after, SIL a gap, the end extended")
        << twoSpeakers()
        << u"tiers 4\n"
           "tier phrases 1\n0\t1200\tYes, no say \"hi\" & <go>.\n"
           "tier words 4\n0\t400\tYes,\n400\t700\tno\n700\t800\t\n800\t1200\tsay \"hi\" & <go>.\n"
           "tier A - words 3\n0\t400\tYes,\n400\t800\t\n800\t1200\tsay \"hi\" & <go>.\n"
           "tier B - words 3\n0\t300\t\n300\t700\tno\n700\t1200\t\n"_s;
    Fixture unicode{{row(-5, 0, u"zéro"_s), row(0, 0, u"日本 😀"_s)}, {{0, 1, u"zéro 日本 😀"_s}}, 0};
    QTest::newRow("a time before 0 and words without length: a millisecond each, UTF-8 text")
        << unicode
        << u"tiers 2\ntier phrases 2\n0\t1\tzéro 日本 😀\n1\t2\t\ntier words 2\n0\t1\tzéro\n1\t2\t日本 😀\n"_s;
    QTest::newRow("no words: one empty interval") << Fixture{{}, {}, 1500}
                                                  << u"tiers 2\ntier phrases 1\n0\t1500\t\ntier words 1\n0\t1500\t\n"_s;
}

void TestAnnotationFiles::praatReadsTheTextGrid()
{
    if (!hasProgram(u"praat"_s))
        QSKIP("praat is missing: bash scripts/install-deps.sh test");
    QFETCH(Fixture, fixture);
    QFETCH(QString, listed);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"interview.TextGrid"_s);
    const QByteArray bytes = written(path, [&](AtomicFile &out) {
        writeTextGrid(out, fixture.interview(dir.filePath(u"interview.wav"_s)));
    });
    QVERIFY(bytes.startsWith("File type = \"ooTextFile\"\n")); // no byte-order mark
    QCOMPARE(output(u"praat"_s, {u"--run"_s, readerScript("list-tiers.praat"), path}), listed);
}

void TestAnnotationFiles::elanStructureHoldsInTheEaf_data()
{
    QTest::addColumn<Fixture>("fixture");
    QTest::addColumn<QString>("listed");
    QTest::newRow("no speaker named: tiers phrases and words")
        << oneSpeaker()
        << u"tier phrases - - 2\n100\t900\thello world.\n1500\t2000\tagain\n"
           "tier words phrases - 3\n100\t500\thello\n500\t900\tworld.\n1500\t2000\tagain\n"_s;
    QTest::newRow("two speakers: each a phrase of their words in the shared one, escapes")
        << twoSpeakers()
        << u"tier A - A 2\n0\t400\tYes,\n800\t1200\tsay \"hi\" & <go>.\n"
           "tier A - words A A 2\n0\t400\tYes,\n800\t1200\tsay \"hi\" & <go>.\n"
           "tier B - B 1\n300\t700\tno\n"
           "tier B - words B B 1\n300\t700\tno\n"_s;
    Fixture oneNamed{{row(0, 100, u"a"_s, u"Ann"_s), row(50, 120, u"b."_s, u"Ann"_s), row(300, 400, u"c"_s, u"Ann"_s)},
                     {{0, 1, u"a b."_s}, {2, 2, u"c"_s}},
                     500};
    QTest::newRow("one speaker named: overlapping words laid after each other, inside their phrase")
        << oneNamed
        << u"tier Ann - Ann 2\n0\t120\ta b.\n300\t400\tc\n"
           "tier Ann - words Ann Ann 3\n0\t100\ta\n100\t120\tb.\n300\t400\tc\n"_s;
}

void TestAnnotationFiles::elanStructureHoldsInTheEaf()
{
    if (!hasProgram(u"xmllint"_s))
        QSKIP("xmllint is missing: bash scripts/install-deps.sh test");
    QFETCH(Fixture, fixture);
    QFETCH(QString, listed);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"inter view.eaf"_s);
    const QString recording = dir.filePath(u"inter view#1.wav"_s);
    written(path, [&](AtomicFile &out) {
        writeEaf(out, fixture.interview(recording), QDateTime::fromString(u"2026-01-02T03:04:05Z"_s, Qt::ISODate));
    });
    QCOMPARE(output(u"xmllint"_s, {u"--noout"_s, path}), QString());
    const QString checked = output(u"python3"_s, {readerScript("check-eaf.py"), path});
    const QString media = u"media "_s + QUrl::fromLocalFile(recording).toString(QUrl::FullyEncoded)
                          + u" ./inter%20view%231.wav\n"_s;
    QCOMPARE(checked, media + listed);
}

void TestAnnotationFiles::jsonReadsBackByteForByte()
{
    Fixture fixture{{row(-1, 0, u"tab\there"_s, u"X"_s, 1.0f), row(0, 1230, u"\"quoted\" \\ back"_s, u"Änne"_s, 0.87f),
                     row(1230, 2047, u"ctl\x01 日本 😀"_s, u"Änne"_s, 0.045f),
                     row(2147483000, 2147483647, u"late"_s, u"B"_s, 0.f)},
                    {{0, 1, u"tab here \"quoted\""_s}, {2, 3, u"ctl 日本 😀 late"_s}},
                    2147483647};
    QTemporaryDir dir;
    AnnotatedInterview interview = fixture.interview(dir.filePath(u"interview.wav"_s));
    interview.partFirstWords = {0, 2};
    interview.partStartsMs = {0, 1230};
    const QString path = dir.filePath(u"interview.json"_s);
    const QByteArray first = written(path, [&](AtomicFile &out) { writeNaadwerkJson(out, interview); });

    QVERIFY(looksLikeNaadwerkJson(first));
    const WordFileRead read = parseNaadwerkJson(first, path);
    QCOMPARE(read.words.size(), fixture.rows.size());
    QCOMPARE(read.words[0].speaker, u"X"_s);
    QCOMPARE(read.words[1].speaker, u"Änne"_s);
    QCOMPARE(read.words[1].end, std::int64_t(1230));
    QCOMPARE(read.words[2].confidence, 0.045f);
    const std::vector<WordRow> again = rowsOf(read.words);
    interview.words = again;
    const QByteArray second = written(path, [&](AtomicFile &out) { writeNaadwerkJson(out, interview); });
    QCOMPARE(second, first);
    QVERIFY(first.contains("\n    {\"part\": 2, \"start\": 1.230, \"end\": 2.047, \"word\": \"ctl\\u0001 日本 😀\", "
                           "\"confidence\": 0.045, \"speaker\": \"Änne\"},\n"));
    QVERIFY(first.startsWith("{\n  \"format\": \"naadwerk\",\n  \"version\": 1,\n"));
}

void TestAnnotationFiles::jsonIsReadAsAWordFileWhateverTheLayout()
{
    const QByteArray json = "\xEF\xBB\xBF {\"words\": [{\"word\": \"hi\", \"start\": 0.5, \"end\": 0.75}], "
                            "\"version\": 1, \"format\": \"naadwerk\"}";
    for (const WordFileLayout layout : {WordFileLayout::Aligner, WordFileLayout::Nist}) {
        const WordFileRead read = loadWordFile(json, {u' ', layout, {}, WordFileKind::Auto, {}}, u"a.json"_s);
        QCOMPARE(read.words.size(), std::size_t(1));
        QCOMPARE(read.words[0].start, std::int64_t(500));
        QCOMPARE(read.words[0].end, std::int64_t(750));
        QCOMPARE(read.words[0].confidence, 1.0f);
        QCOMPARE(read.words[0].speaker, u"X"_s);
    }
    QCOMPARE(errorMessage([&] { loadWordFile(R"({"format": "naadwerk", "version": 1, "words": []})", {}, u"e.json"_s); }),
             u"\"e.json\": no words found"_s);
    // A CTM line that happens to hold the words is no JSON file.
    QVERIFY(!looksLikeNaadwerkJson("a 1 0.0 0.5 \"format\": \"naadwerk\" 1.0\n"));
}

void TestAnnotationFiles::brokenJsonIsRefusedSayingWhy_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("message");
    const QString bad = u"\"f.json\": not a valid Naadwerk JSON file (%1)"_s;
    QTest::newRow("cut short") << QByteArray(R"({"format": "naadwerk", "version": 1, "words": [{"word": )")
                               << bad.arg(u"at byte 56: unterminated object"_s);
    QTest::newRow("newer version") << QByteArray(R"({"format": "naadwerk", "version": 2, "words": []})")
                                   << u"\"f.json\" was written by a newer Naadwerk (JSON version 2); this one reads "
                                      "version 1 and older."_s;
    QTest::newRow("no version") << QByteArray(R"({"format": "naadwerk", "words": []})")
                                << bad.arg(u"no whole \"version\" from 1"_s);
    QTest::newRow("no words") << QByteArray(R"({"format": "naadwerk", "version": 1})")
                              << bad.arg(u"no list \"words\""_s);
    QTest::newRow("a word without text")
        << QByteArray(R"({"format": "naadwerk", "version": 1, "words": [{"word": "a", "start": 0, "end": 1}, {"start": 1, "end": 2}]})")
        << bad.arg(u"word 2 has no text \"word\""_s);
    QTest::newRow("a time as text")
        << QByteArray(R"({"format": "naadwerk", "version": 1, "words": [{"word": "a", "start": "0.5", "end": 1}]})")
        << bad.arg(u"word 1: \"start\" is no time in seconds"_s);
    QTest::newRow("a time past 32 bits of ms")
        << QByteArray(R"({"format": "naadwerk", "version": 1, "words": [{"word": "a", "start": 0, "end": 1e12}]})")
        << bad.arg(u"word 1: \"end\" is no time in seconds"_s);
    QTest::newRow("a speaker as a number")
        << QByteArray(R"({"format": "naadwerk", "version": 1, "words": [{"word": "a", "start": 0, "end": 1, "speaker": 3}]})")
        << bad.arg(u"word 1: \"speaker\" is no text"_s);
}

void TestAnnotationFiles::brokenJsonIsRefusedSayingWhy()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, message);
    QVERIFY(looksLikeNaadwerkJson(json));
    QCOMPARE(errorMessage([&] { parseNaadwerkJson(json, u"f.json"_s); }), message);
}

void TestAnnotationFiles::wordVttTimesEachWordAfterTheFirst()
{
    // The cue of two speakers starts 100 ms before its first word (widened);
    // "well" is in no row, "SIL" and the bracketed remark in no cue; the last
    // cue ends before its last word starts.
    const std::vector<WordRow> words{row(1000, 1400, u"Yes"_s, u"Ann"_s), row(1400, 1500, u"SIL"_s, u"Ann"_s),
                                     row(1500, 1900, u"[laughs]"_s, u"Ann"_s), row(1900, 2300, u"a&b"_s, u"Ann"_s),
                                     row(2300, 2600, u"no."_s, u"Bob"_s), row(2600, 3000, u"so"_s),
                                     row(3000, 3500, u"late"_s)};
    const std::vector<Cue> cues{{1, 900, 2800, u"Yes well a&b|no."_s}, {2, 2800, 2950, u"so late"_s}};
    QTemporaryDir dir;
    const QByteArray vtt = written(dir.filePath(u"i.vtt"_s), [&](AtomicFile &out) {
        writeWordTimedVtt(out, cues, words, CueMarkup::Srt);
    });
    QCOMPARE(QString::fromUtf8(vtt),
             u"WEBVTT\n\n"
             "00:00:00.900 --> 00:00:02.800\n<v Ann>Yes well <00:00:01.900>a&amp;b</v>\n<v Bob><00:00:02.300>no.</v>\n\n"
             "00:00:02.800 --> 00:00:02.950\nso <00:00:02.950>late\n"_s);
}

QTEST_GUILESS_MAIN(TestAnnotationFiles)
#include "tst_annotationfiles.moc"
