#include "base/error.h"
#include "base/text.h"
#include "base/textfile.h"
#include "formats/wordfile.h"
#include "support/files.h"

#include <QStringEncoder>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

struct ReadResult
{
    QString error; // empty when the read succeeded
    std::vector<Word> words;
};

QStringList trimmedLines(const QByteArray &bytes)
{
    QStringList lines = linesFromBytes(bytes);
    for (QString &line : lines)
        line = trimmed(line);
    return lines;
}

bool sameWords(const std::vector<Word> &a, const std::vector<Word> &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const Word &x = a[i];
        const Word &y = b[i];
        if (x.line != y.line || x.start != y.start || x.end != y.end || x.text != y.text ||
            x.speaker != y.speaker || x.confidence != y.confidence)
            return false;
    }
    return true;
}

// Parses the bytes of a word file both ways (the file's trimmed lines, and
// the bytes themselves) and checks that both give the same words and error.
ReadResult read(const QByteArray &content, QChar separator)
{
    ReadResult fromLines;
    try {
        parseWordLines(trimmedLines(content), separator, fromLines.words);
    } catch (const Error &e) {
        fromLines.error = e.message();
    }
    ReadResult fromBytes;
    try {
        parseWordFile(content, separator, fromBytes.words);
    } catch (const Error &e) {
        fromBytes.error = e.message();
    }
    [&] {
        QCOMPARE(fromBytes.error, fromLines.error);
        QVERIFY(sameWords(fromBytes.words, fromLines.words));
    }();
    return fromLines;
}

QString invalid(const QString &text)
{
    return QStringLiteral("'%1' is not a valid floating point value").arg(text);
}

} // namespace

class TestWordFile : public QObject
{
    Q_OBJECT
private slots:
    void oneLineBecomesOneWord_data();
    void oneLineBecomesOneWord();
    void badLinesNameTheirField_data();
    void badLinesNameTheirField();
    void secondsBecomeMsHalfToEven_data();
    void secondsBecomeMsHalfToEven();
    void onlyTheLastSilIsDropped_data();
    void onlyTheLastSilIsDropped();
    void bytesAreReadAsTheTextFileReadsThem_data();
    void bytesAreReadAsTheTextFileReadsThem();
    void failedReadKeepsTheWordsBefore();
    void parsingIntoWordsKeepsWhatLiesBeyondTheFailure();
    void otherSeparatorFailsOnTheSameLines();
    void longFileReportsTheFirstBadLine();
    void longFileWithCrLfIsReadInOrder();
    void nistCtmAsSpeechToolsWriteIt_data();
    void nistCtmAsSpeechToolsWriteIt();
    void messagesNameFileLineAndSeparator_data();
    void messagesNameFileLineAndSeparator();
    void aFileWithoutWordsIsRefused_data();
    void aFileWithoutWordsIsRefused();
    void aLoadedFileSaysWhatItFound();
};

void TestWordFile::oneLineBecomesOneWord_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<qint64>("start");
    QTest::addColumn<qint64>("end");
    QTest::addColumn<QString>("word");
    QTest::addColumn<float>("confidence");
    QTest::addColumn<QString>("speaker");
    const QChar b = u' ', t = u'\t';
    QTest::newRow("ctm line") << QByteArray("utt 1 0.50 0.92 hello 0.87") << b << qint64(500) << qint64(920) << "hello" << 0.87f << "X";
    QTest::newRow("spk line") << QByteArray("utt 1 0.50 0.92 hello 0.87 SP1") << b << qint64(500) << qint64(920) << "hello" << 0.87f << "SP1";
    QTest::newRow("speaker keeps its blank") << QByteArray("utt 1 0.50 0.92 hello 0.87 SP 1") << b << qint64(500) << qint64(920) << "hello" << 0.87f << "SP 1";
    QTest::newRow("many blanks between later fields") << QByteArray("utt 1   0.5  \t 0.9   hi    1") << b << qint64(500) << qint64(900) << "hi" << 1.0f << "X";
    QTest::newRow("tab: word with blanks") << QByteArray("utt\t1\t0.5\t0.9\t  new york \t0.5") << t << qint64(500) << qint64(900) << "new york " << 0.5f << "X";
    QTest::newRow("five fields, fifth a number") << QByteArray("utt 1 0.5 0.9 0.75") << b << qint64(500) << qint64(900) << "" << 0.75f << "X";
    QTest::newRow("doubled separator after field 1 shifts, word is a number")
        << QByteArray("utt  1 0.5 0.9 7") << b << qint64(1000) << qint64(500) << "0.9" << 7.0f << "X";
    QTest::newRow("non-ASCII word") << QByteArray("utt 1 1 2 caf\xC3\xA9 1") << b << qint64(1000) << qint64(2000) << QStringLiteral("caf\u00E9") << 1.0f << "X";
    QTest::newRow("confidence narrowed to float") << QByteArray("u 1 0 1 w 0.1") << b << qint64(0) << qint64(1000) << "w" << 0.1f << "X";
}

void TestWordFile::oneLineBecomesOneWord()
{
    QFETCH(QByteArray, line);
    QFETCH(QChar, separator);
    const ReadResult r = read(line + "\r\n", separator);
    QCOMPARE(r.error, QString());
    QCOMPARE(r.words.size(), size_t(1));
    const Word &w = r.words[0];
    QCOMPARE(w.line, 1);
    QTEST(qint64(w.start), "start");
    QTEST(qint64(w.end), "end");
    QTEST(w.text, "word");
    QTEST(w.confidence, "confidence");
    QTEST(w.speaker, "speaker");
}

void TestWordFile::badLinesNameTheirField_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("field");
    const QChar b = u' ', t = u'\t';
    QTest::newRow("empty line") << QByteArray("\n") << b << "";
    QTest::newRow("one field") << QByteArray("utt") << b << "";
    QTest::newRow("two fields: first is the start") << QByteArray("utt 1") << b << "utt";
    QTest::newRow("two numeric fields fail on the end") << QByteArray("5 1") << b << "";
    QTest::newRow("ends after the start") << QByteArray("utt 1 0.5") << b << "";
    QTest::newRow("ends after the end") << QByteArray("utt 1 0.5 0.9") << b << "";
    QTest::newRow("ends after the word") << QByteArray("utt 1 0.5 0.9 hello") << b << "hello";
    QTest::newRow("tab file read with blanks") << QByteArray("utt\t1\t0.5\t0.9\thi\t1") << b << "";
    QTest::newRow("blank file read with tabs") << QByteArray("utt 1 0.5 0.9 hi 1") << t << "";
    QTest::newRow("doubled separator, word not a number") << QByteArray("utt  1 0.5 0.9 hi 1") << b << "hi";
    QTest::newRow("decimal comma") << QByteArray("utt 1 1,5 2 hi 1") << b << "1,5";
    QTest::newRow("hex") << QByteArray("utt 1 0x10 2 hi 1") << b << "0x10";
    QTest::newRow("inf") << QByteArray("utt 1 inf 2 hi 1") << b << "inf";
    QTest::newRow("bad confidence") << QByteArray("utt 1 1 2 hi high") << b << "high";
}

void TestWordFile::badLinesNameTheirField()
{
    QFETCH(QByteArray, line);
    QFETCH(QChar, separator);
    QFETCH(QString, field);
    QCOMPARE(read(line, separator).error, invalid(field));
}

void TestWordFile::secondsBecomeMsHalfToEven_data()
{
    QTest::addColumn<QByteArray>("seconds");
    QTest::addColumn<qint64>("ms");
    QTest::newRow("tie down") << QByteArray("0.0625") << qint64(62);
    QTest::newRow("tie up") << QByteArray("0.1875") << qint64(188);
    QTest::newRow("plain") << QByteArray("0.1234") << qint64(123);
    QTest::newRow("exponent") << QByteArray("1e3") << qint64(1000000);
    QTest::newRow("negative") << QByteArray("-0.25") << qint64(-250);
    QTest::newRow("hours") << QByteArray("7199.999") << qint64(7199999);
}

void TestWordFile::secondsBecomeMsHalfToEven()
{
    QFETCH(QByteArray, seconds);
    QFETCH(qint64, ms);
    const ReadResult r = read("u 1 " + seconds + " 0 w 1", u' ');
    QCOMPARE(r.error, QString());
    QCOMPARE(qint64(r.words.at(0).start), ms);
}

void TestWordFile::onlyTheLastSilIsDropped_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("words");
    QTest::newRow("last SIL dropped") << QByteArray("u 1 0 1 a 1\nu 1 1 2 b 1\nu 1 2 3 SIL 1\n") << QStringList{"a", "b"};
    QTest::newRow("lower case stays") << QByteArray("u 1 0 1 a 1\nu 1 2 3 sil 1\n") << QStringList{"a", "sil"};
    QTest::newRow("SIL not last stays") << QByteArray("u 1 0 1 SIL 1\nu 1 2 3 a 1\n") << QStringList{"SIL", "a"};
    QTest::newRow("two trailing: one dropped") << QByteArray("u 1 0 1 a 1\nu 1 1 2 SIL 1\nu 1 2 3 SIL 1\n") << QStringList{"a", "SIL"};
    QTest::newRow("only SIL") << QByteArray("u 1 0 1 SIL 1\n") << QStringList{};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
}

void TestWordFile::onlyTheLastSilIsDropped()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, words);
    const ReadResult r = read(content, u' ');
    QCOMPARE(r.error, QString());
    QStringList texts;
    for (size_t i = 0; i < r.words.size(); ++i) {
        texts << r.words[i].text;
        QCOMPARE(r.words[i].line, int(i + 1));
    }
    QCOMPARE(texts, words);
}

void TestWordFile::bytesAreReadAsTheTextFileReadsThem_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QStringList>("speakers");
    QTest::newRow("BOM and CR LF") << QByteArray("\xEF\xBB\xBFu 1 0 1 a 1 S\r\nu 1 1 2 b 1 S\r\n")
                                   << QStringList{"a", "b"} << QStringList{"S", "S"};
    QTest::newRow("CR only, no final end") << QByteArray("u 1 0 1 a 1\ru 1 1 2 b 1")
                                           << QStringList{"a", "b"} << QStringList{"X", "X"};
    // Not UTF-8, so Windows-1252: no byte becomes a replacement character.
    QTest::newRow("Windows-1252") << QByteArray("u 1 0 1 caf\xE9 1 \x80\n")
                                  << QStringList{QStringLiteral("caf\u00E9")} << QStringList{QStringLiteral("\u20AC")};
    QTest::newRow("UTF-8") << QByteArray("u 1 0 1 \xE2\x82\xAC 1 caf\xC3\xA9\n")
                           << QStringList{QStringLiteral("\u20AC")} << QStringList{QStringLiteral("caf\u00E9")};
    // A byte-order mark after the first one is text and stays.
    QTest::newRow("second BOM is text") << QByteArray("\xEF\xBB\xBFu 1 0 1 a 1\n\xEF\xBB\xBFu 1 1 2 b 1\n")
                                        << QStringList{"a", "b"} << QStringList{"X", "X"};
    QTest::newRow("control characters trimmed") << QByteArray("\x01u 1 0 1 a 1 S\x02\n")
                                                << QStringList{"a"} << QStringList{"S"};
}

void TestWordFile::bytesAreReadAsTheTextFileReadsThem()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, words);
    QFETCH(QStringList, speakers);
    const ReadResult r = read(content, u' ');
    if (QTest::currentTestFailed())
        return;
    QStringList texts, speakerTexts;
    for (const Word &w : r.words) {
        texts << w.text;
        speakerTexts << w.speaker;
    }
    QCOMPARE(texts, words);
    QCOMPARE(speakerTexts, speakers);
}

void TestWordFile::failedReadKeepsTheWordsBefore()
{
    std::vector<Word> words;
    QVERIFY_THROWS_EXCEPTION(Error, parseWordFile("u 1 0 1 a 1\nu 1 1 2 b 1\nu 1 x 3 c 1\nu 1 3 4 SIL 1\n", u' ', words));
    QCOMPARE(words.size(), size_t(4)); // the number of lines; the SIL test is not made
    QCOMPARE(words[0].text, QStringLiteral("a"));
    QCOMPARE(words[1].text, QStringLiteral("b"));
    QCOMPARE(qint64(words[1].end), qint64(2000));
}

void TestWordFile::parsingIntoWordsKeepsWhatLiesBeyondTheFailure()
{
    // A reader that keeps its words from one read to the next: the words it
    // held below the new line count stay where the new read did not reach.
    std::vector<Word> words(2);
    words[0].text = "a";
    words[1].text = "old";
    QVERIFY_THROWS_EXCEPTION(Error, parseWordLines({"u 1 x 1 new 1", "u 1 1 2 b 1", "u 1 2 3 c 1"}, u' ', words));
    QCOMPARE(words.size(), size_t(3));
    QCOMPARE(words[0].text, QStringLiteral("a"));
    QCOMPARE(words[1].text, QStringLiteral("old"));
    QCOMPARE(words[2].text, QString());
    parseWordLines({}, u' ', words);
    QVERIFY(words.empty());
}

void TestWordFile::otherSeparatorFailsOnTheSameLines()
{
    const QByteArray tabFile("u\t1\t0\t1\ta b\t1\n");
    QCOMPARE(read(tabFile, u'\t').words.at(0).text, QStringLiteral("a b"));
    QVERIFY(!read(tabFile, u' ').error.isEmpty());
}

void TestWordFile::longFileReportsTheFirstBadLine()
{
    // Long files are parsed in parts; the error must still be the first bad
    // line in file order, and every word before it must be complete.
    const int n = 250000;
    QByteArray content;
    for (int i = 0; i < n; ++i) {
        if (i == 60000)
            content += "u 1 eerste 1 w 1\n";
        else if (i == 200000)
            content += "u 1 tweede 1 w 1\n";
        else
            content += "u 1 " + QByteArray::number(i) + " 1 w" + QByteArray::number(i) + " 1\n";
    }
    for (const bool fromBytes : {false, true}) {
        std::vector<Word> words;
        QCOMPARE(errorMessage([&] {
                     if (fromBytes)
                         parseWordFile(content, u' ', words);
                     else
                         parseWordLines(trimmedLines(content), u' ', words);
                 }),
                 invalid("eerste"));
        QCOMPARE(words[59999].text, QStringLiteral("w59999"));
        QCOMPARE(qint64(words[59999].start), qint64(59999000));
    }

    // Without the bad lines every word is read, in order.
    content.replace("u 1 eerste 1 w 1\n", "u 1 1 1 w 1\n").replace("u 1 tweede 1 w 1\n", "u 1 1 1 w 1\n");
    const ReadResult r = read(content, u' ');
    QCOMPARE(r.error, QString());
    QCOMPARE(r.words.size(), size_t(n));
    for (int i : {0, 124999, 125000, 249999})
        QCOMPARE(r.words[size_t(i)].line, i + 1);
    QCOMPARE(r.words[249999].text, QStringLiteral("w249999"));
}

void TestWordFile::longFileWithCrLfIsReadInOrder()
{
    // The bytes are cut in two near the middle: the line numbers of the
    // second half go on from the first, whatever the line ends.
    QByteArray content("\xEF\xBB\xBF");
    const char *lineEnds[] = {"\r\n", "\r", "\n"};
    const int n = 210001;
    for (int i = 0; i < n; ++i)
        content += "u 1 " + QByteArray::number(i) + " 1 w" + QByteArray::number(i) + " 0.5 S" +
                   QByteArray::number(i % 3) + lineEnds[i % 3];
    const ReadResult r = read(content, u' ');
    QCOMPARE(r.error, QString());
    QCOMPARE(r.words.size(), size_t(n));
    for (int i : {0, 105000, 105001, n - 1}) {
        QCOMPARE(r.words[size_t(i)].line, i + 1);
        QCOMPARE(r.words[size_t(i)].text, QStringLiteral("w%1").arg(i));
        QCOMPARE(r.words[size_t(i)].speaker, QStringLiteral("S%1").arg(i % 3));
    }
}

void TestWordFile::nistCtmAsSpeechToolsWriteIt_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QChar>("separator"); // the setting, which NIST files do not heed
    QTest::addColumn<QStringList>("words"); // "line start-end word confidence"
    // A scoring tool's reference: header comments, blanks, no confidence.
    QTest::newRow("comments, blanks, no confidence")
        << QByteArray(";; CTM reference\n;;\nsw02001 A 0.30 0.25 hello\nsw02001 A 0.55 0.4 world\n")
        << QChar(u'\t') << QStringList({"3 300-550 hello 1", "4 550-950 world 1"});
    QTest::newRow("recogniser output with confidences and runs of blanks")
        << QByteArray("rec1  1   1.23  0.41  uh-huh   0.82\n\nrec1\t1\t1.64\t0.2\tyes\t0.5\n")
        << QChar(u' ') << QStringList({"1 1230-1640 uh-huh 0.82", "3 1640-1840 yes 0.5"});
    QTest::newRow("extra fields after the confidence are ignored")
        << QByteArray("a 1 0.000 0.500 one 0.9 lex SPEAKER1\r\n") << QChar(u'\t')
        << QStringList({"1 0-500 one 0.9"});
    QTest::newRow("UTF-16 LE with BOM") << QByteArray("\xFF\xFE" "a\0 \0" "1\0 \0" "1\0 \0" "2\0 \0" "x\0", 20)
                                        << QChar(u'\t') << QStringList({"1 1000-3000 x 1"});
    // Found by fuzzing: the sum of start and duration stops at the 64-bit end.
    QTest::newRow("an end beyond the 64-bit range")
        << QByteArray("a 1 9223372036854774.807 50 x\n") << QChar(u'\t')
        << QStringList({"1 9223372036854773760-9223372036854775807 x 1"}); // the start as a double holds it
    // A scoring tool's reference with alternations: the first alternative of
    // each is read, its empty words ("@") left out; markers may have times.
    QTest::newRow("alternations as a scoring tool's test data has them")
        << QByteArray(";; comment\n"
                      "inter_19 1 14.87 0.13 <ALT_BEGIN>\n"
                      "inter_19 1 14.87 0.13 ninety\n"
                      "inter_19 1 * * <ALT>\n"
                      "inter_19 1 14.87 0.07 nine\n"
                      "inter_19 1 14.94 0.06 tee\n"
                      "inter_19 1 * * <ALT_END>\n"
                      "inter_19 1 15.00 0.20 and\n"
                      "inter_19 1 15.20 0.10 <ALT_BEGIN>\n"
                      "inter_19 1 15.20 0.10 @\n"
                      "inter_19 1 15.20 0.10 <ALT>\n"
                      "inter_19 1 15.20 0.10 uh\n"
                      "inter_19 1 15.30 0 <ALT_END>\n"
                      "inter_19 1 15.30 0.40 then\n")
        << QChar(u'\t')
        << QStringList({"3 14870-15000 ninety 1", "8 15000-15200 and 1", "14 15300-15700 then 1"});
    QTest::newRow("a closing SIL is dropped as in the aligner layout")
        << QByteArray("a 1 0 1 one\na 1 1 1 SIL\n") << QChar(u'\t') << QStringList({"1 0-1000 one 1"});
}

void TestWordFile::nistCtmAsSpeechToolsWriteIt()
{
    QFETCH(QByteArray, file);
    QFETCH(QChar, separator);
    QFETCH(QStringList, words);
    QStringList seen;
    for (const Word &w : parseWordFile(file, separator, WordFileLayout::Nist, "x.ctm"))
        seen << QStringLiteral("%1 %2-%3 %4 %5").arg(w.line).arg(w.start).arg(w.end).arg(w.text).arg(w.confidence);
    QCOMPARE(seen, words);
    seen.clear();
    for (const Word &w : parseWordLines(trimmedLines(file), separator, WordFileLayout::Nist))
        seen << QStringLiteral("%1 %2-%3 %4 %5").arg(w.line).arg(w.start).arg(w.end).arg(w.text).arg(w.confidence);
    QCOMPARE(seen, words);
}

void TestWordFile::messagesNameFileLineAndSeparator_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<int>("layout");
    QTest::addColumn<QString>("message");
    QTest::newRow("aligner, bad start on line 2")
        << QByteArray("u\t1\t0.1\t0.4\tGood\t1\nu\t1\tabc\t0.9\tday\t1\n") << QChar(u'\t') << 0
        << "\"x.ctm\", line 2: 'abc' is not a valid floating point value";
    QTest::newRow("blanks read as tab-separated")
        << QByteArray("u 1 0.1 0.4 Good 1\n") << QChar(u'\t') << 0
        << "\"x.ctm\", line 1: '' is not a valid floating point value; "
           "the fields are apart by blanks: choose \"Space\" on the Settings tab (--separator space)";
    QTest::newRow("tabs read as blank-separated")
        << QByteArray("u\t1\t0.1\t0.4\tGood\t1\n") << QChar(u' ') << 0
        << "\"x.ctm\", line 1: '' is not a valid floating point value; "
           "the fields are apart by tabs: choose \"Tab\" on the Settings tab (--separator tab)";
    QTest::newRow("an empty line in the aligner layout")
        << QByteArray("u 1 0.1 0.4 Good 1\n\n") << QChar(u' ') << 0
        << "\"x.ctm\", line 2: '' is not a valid floating point value";
    QTest::newRow("NIST, bad duration")
        << QByteArray(";; x\na 1 0.5 -- hi\n") << QChar(u'\t') << 1
        << "\"x.ctm\", line 2: '--' is not a valid floating point value";
    QTest::newRow("NIST, too few fields")
        << QByteArray("a 1 0.5 0.2\n") << QChar(u'\t') << 1
        << "\"x.ctm\", line 1: a NIST CTM line needs at least 5 fields (file channel start duration word), "
           "this one has 4; choose the aligner layout on the Settings tab (--layout aligner) if the file is not "
           "NIST CTM";
    // Only a line the other separator would read gets the hint.
    QTest::newRow("prose read as a word file")
        << QByteArray("Good morning everyone\n") << QChar(u'\t') << 0
        << "\"x.ctm\", line 1: '' is not a valid floating point value";
    // A recording or other binary is no text: no raw bytes, no hint.
    QTest::newRow("a WAV file") << QByteArray("RIFF$}\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x80>\0\0", 28)
                                << QChar(u'\t') << 0 << "\"x.ctm\" is not a word file: line 1 is not text";
    QTest::newRow("a WAV file, blanks") << QByteArray("RIFF$}\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x80>\0\0", 28)
                                        << QChar(u' ') << 0 << "\"x.ctm\" is not a word file: line 1 is not text";
    QTest::newRow("NIST, a WAV file") << QByteArray("RIFF$}\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x80>\0\0", 28)
                                      << QChar(u'\t') << 1 << "\"x.ctm\" is not a word file: line 1 is not text";
    // The first line that is no text, up to the failing one.
    QTest::newRow("a control character before the failing line")
        << QByteArray("u 1 0 1 a\x01b 1\r\nu 1 1 2 b 1\r\n\x07\x07\r\n") << QChar(u' ') << 0
        << "\"x.ctm\" is not a word file: line 1 is not text";
    QTest::newRow("a NUL after the failing line")
        << QByteArray("u 1 0 1 a 1\nu 1 x 2 b 1\n\0\n", 26) << QChar(u' ') << 0
        << "\"x.ctm\", line 2: 'x' is not a valid floating point value";
    QTest::newRow("NIST, alternation not closed")
        << QByteArray("a 1 0.1 0.2 x\na 1 * * <ALT_BEGIN>\na 1 0.3 0.1 y\n") << QChar(u'\t') << 1
        << "\"x.ctm\", line 2: <ALT_BEGIN> is not closed by <ALT_END>";
    QTest::newRow("NIST, <ALT> outside an alternation")
        << QByteArray("a 1 0.1 0.2 x\na 1 * * <ALT>\n") << QChar(u'\t') << 1
        << "\"x.ctm\", line 2: <ALT> without an <ALT_BEGIN> before it";
    QTest::newRow("NIST, <ALT_END> outside an alternation")
        << QByteArray("a 1 * * <ALT_END>\n") << QChar(u'\t') << 1
        << "\"x.ctm\", line 1: <ALT_END> without an <ALT_BEGIN> before it";
    QTest::newRow("NIST, alternations nested")
        << QByteArray("a 1 * * <ALT_BEGIN>\na 1 * * <ALT_BEGIN>\n") << QChar(u'\t') << 1
        << "\"x.ctm\", line 2: <ALT_BEGIN> inside the alternation opened on line 1";
    // Only markers may leave their times out.
    QTest::newRow("NIST, a word without times")
        << QByteArray("a 1 * * <ALT_BEGIN>\na 1 * * x\na 1 * * <ALT_END>\n") << QChar(u'\t') << 1
        << "\"x.ctm\", line 2: '*' is not a valid floating point value";
}

void TestWordFile::messagesNameFileLineAndSeparator()
{
    QFETCH(QByteArray, file);
    QFETCH(QChar, separator);
    QFETCH(int, layout);
    QFETCH(QString, message);
    const WordFileLayout l = layout == 1 ? WordFileLayout::Nist : WordFileLayout::Aligner;
    const QString seen = errorMessage([&] { parseWordFile(file, separator, l, "x.ctm"); });
    QCOMPARE(seen, message);
    QVERIFY(!seen.contains(u'\n'));
    std::vector<Word> words;
    QCOMPARE(errorMessage([&] { parseWordLines(trimmedLines(file), separator, words, l, "x.ctm"); }), message);
}

void TestWordFile::aFileWithoutWordsIsRefused_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("layout");
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("a byte-order mark only") << QByteArray("\xEF\xBB\xBF") << 0;
    QTest::newRow("UTF-16 mark only") << QByteArray("\xFF\xFE") << 0;
    QTest::newRow("blank lines") << QByteArray("\r\n  \r\n\t\r\n") << 0;
    QTest::newRow("NIST, comments and blank lines") << QByteArray(";; header\n\n;; end\n") << 1;
    QTest::newRow("a closing SIL only") << QByteArray("u 1 0 1 SIL 1\n") << 0;
    QTest::newRow("NIST, alternatives of empty words only")
        << QByteArray("a 1 * * <ALT_BEGIN>\na 1 0 1 @\na 1 * * <ALT>\na 1 0 1 x\na 1 * * <ALT_END>\n") << 1;
}

void TestWordFile::aFileWithoutWordsIsRefused()
{
    QFETCH(QByteArray, file);
    QFETCH(int, layout);
    const WordFileFormat format{u' ', layout == 1 ? WordFileLayout::Nist : WordFileLayout::Aligner, {}, WordFileKind::Auto, {}};
    QCOMPARE(errorMessage([&] { loadWordFile(file, format, "x.ctm"); }), "\"x.ctm\": no words found");
}

// What a part shows besides the words: the alternations and the encoding.
void TestWordFile::aLoadedFileSaysWhatItFound()
{
    const QByteArray nist("a 1 0 1 one\na 1 * * <ALT_BEGIN>\na 1 1 1 two\na 1 * * <ALT>\na 1 1 1 too\n"
                          "a 1 * * <ALT_END>\na 1 2 1 <ALT_BEGIN>\na 1 2 1 three\na 1 2 1 <ALT_END>\n");
    const WordFileRead read = loadWordFile(nist, {u'\t', WordFileLayout::Nist, {}, WordFileKind::Auto, {}}, "x.ctm");
    QCOMPARE(read.words.size(), 3u);
    QCOMPARE(read.words[1].text, "two");
    QCOMPARE(read.alternations, 2);
    QCOMPARE(read.firstAlternation, 2);
    QCOMPARE(read.encoding, QString());
    // Without alternations there is nothing to say.
    QCOMPARE(loadWordFile("a 1 0 1 one\n", {u' ', WordFileLayout::Nist, {}, WordFileKind::Auto, {}}, "x.ctm").alternations, 0);

    // Chinese words in GB18030, found from the bytes or chosen.
    const QString words = u"utt 1 0.10 0.50 我们 0.9\nutt 1 0.50 0.90 今天 0.8\nutt 1 0.90 1.30 散步 0.7\n"
                          u"utt 1 1.30 1.70 天气 0.9\nutt 1 1.70 2.10 很好 0.9\n"_s;
    QStringEncoder gb("GB18030");
    const QByteArray bytes = gb(words);
    for (const QByteArray &chosen : {QByteArray(), QByteArray("gb18030")}) {
        const WordFileRead chinese = loadWordFile(bytes, {u' ', WordFileLayout::Aligner, chosen, WordFileKind::Auto, {}}, "x.ctm");
        QCOMPARE(chinese.encoding, "GB18030");
        QCOMPARE(chinese.words.size(), 5u);
        QCOMPARE(chinese.words[2].text, u"散步"_s);
    }
}

QTEST_APPLESS_MAIN(TestWordFile)
#include "tst_wordfile.moc"
