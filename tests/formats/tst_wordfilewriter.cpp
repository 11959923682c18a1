#include "base/atomicfile.h"
#include "base/error.h"
#include "base/numbers.h"
#include "base/textfile.h"
#include "support/files.h"
#include "formats/wordfile.h"
#include "formats/wordfilewriter.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

// The lines of a word file as Save makes them from the cells' texts: each
// time cell read as a 32-bit whole number and shown as seconds with "%.3f".
QStringList cellLines(const std::vector<WordRow> &rows, const QString &baseName, QChar separator, bool withSpeaker)
{
    const QString sep(separator);
    const QString head = baseName + sep + u'1' + sep;
    QStringList lines;
    for (const WordRow &row : rows) {
        const QString start = withDecimals(parseInt(row.cell(WordRow::Start)) / 1000.0, 3);
        const QString end = withDecimals(parseInt(row.cell(WordRow::End)) / 1000.0, 3);
        QString line = head + start + sep + end + sep + row.cell(WordRow::Text) + sep + row.cell(WordRow::Confidence);
        if (withSpeaker)
            line += sep + row.cell(WordRow::Speaker);
        lines << line;
    }
    return lines;
}

WordRow row(std::int64_t start, std::int64_t end, const QString &text, float confidence, const QString &speaker)
{
    WordRow r;
    r.start = start;
    r.end = end;
    r.text = text;
    r.confidence = confidence;
    r.speaker = speaker;
    return r;
}

QByteArray streamed(const std::vector<WordRow> &rows, const QString &baseName, QChar separator, bool withSpeaker)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.spk");
    AtomicFile out(path);
    writeWordFile(out, rows, baseName, separator, withSpeaker);
    out.commit();
    return readBytes(path);
}

} // namespace

class TestWordFileWriter : public QObject
{
    Q_OBJECT
private slots:
    void writesTheLinesOfTheRows();
    void nistLayoutWritesDurations();
    void secondsAreWhatPercentThreeFGives_data();
    void secondsAreWhatPercentThreeFGives();
    void randomRowsGiveTheLinesOfTheirCells();
    void aBadTimeCellFailsWithItsText_data();
    void aBadTimeCellFailsWithItsText();
    void aBadCellIsReportedBeforeTheFileIsCreated();
};

void TestWordFileWriter::writesTheLinesOfTheRows()
{
    const std::vector<WordRow> rows = {row(1500, 1890, u"hello"_s, 0.87f, u"SP1"_s),
                                       row(2000, 2250, u"caf\u00E9"_s, 0.045f, u"SP 2"_s)};
    QCOMPARE(streamed(rows, u"joined"_s, u' ', false),
             QByteArray("\xEF\xBB\xBFjoined 1 1.500 1.890 hello 0.87\r\njoined 1 2.000 2.250 caf\xC3\xA9 0.05\r\n"));
    QCOMPARE(streamed(rows, u"joined"_s, u'\t', true),
             QByteArray("\xEF\xBB\xBFjoined\t1\t1.500\t1.890\thello\t0.87\tSP1\r\n"
                        "joined\t1\t2.000\t2.250\tcaf\xC3\xA9\t0.05\tSP 2\r\n"));
    QCOMPARE(streamed({}, u"joined"_s, u' ', true), QByteArray("\xEF\xBB\xBF"));
}

void TestWordFileWriter::nistLayoutWritesDurations()
{
    // What NIST scoring tools read: blanks, the duration in field 4, no speaker.
    const std::vector<WordRow> rows = {row(1500, 1890, u"hello"_s, 0.87f, u"SP1"_s),
                                       row(2000, 2000, u"uh"_s, 1.0f, u"SP1"_s)};
    QTemporaryDir dir;
    const QString path = dir.filePath("out.ctm");
    AtomicFile out(path);
    writeWordFile(out, rows, u"joined"_s, u'\t', true, WordFileLayout::Nist);
    out.commit();
    const QByteArray written = readBytes(path);
    QCOMPARE(written, QByteArray("\xEF\xBB\xBFjoined 1 1.500 0.390 hello 0.87\r\njoined 1 2.000 0.000 uh 1.00\r\n"));
    // Read back in the layout it was written in, the words come again.
    const std::vector<Word> words = parseWordFile(written, u'\t', WordFileLayout::Nist);
    QCOMPARE(words.size(), 2u);
    QCOMPARE(words[0].start, 1500);
    QCOMPARE(words[0].end, 1890);
    QCOMPARE(words[1].end, 2000);
}

void TestWordFileWriter::secondsAreWhatPercentThreeFGives_data()
{
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("seconds");
    QTest::newRow("zero") << qint64(0) << u"0.000"_s;
    QTest::newRow("one") << qint64(1) << u"0.001"_s;
    QTest::newRow("minus one") << qint64(-1) << u"-0.001"_s;
    QTest::newRow("minus 999") << qint64(-999) << u"-0.999"_s;
    QTest::newRow("an hour") << qint64(3600500) << u"3600.500"_s;
    QTest::newRow("int32 max") << qint64(2147483647) << u"2147483.647"_s;
    QTest::newRow("int32 min") << qint64(-2147483648LL) << u"-2147483.648"_s;
}

void TestWordFileWriter::secondsAreWhatPercentThreeFGives()
{
    QFETCH(qint64, ms);
    QFETCH(QString, seconds);
    QCOMPARE(withDecimals(ms / 1000.0, 3), seconds);
    const QString line = u"n 1 "_s + seconds + u" "_s + seconds + u" w 0.00"_s;
    QCOMPARE(streamed({row(ms, ms, u"w"_s, 0, u"X"_s)}, u"n"_s, u' ', false),
             QByteArray("\xEF\xBB\xBF") + line.toUtf8() + "\r\n");
}

void TestWordFileWriter::randomRowsGiveTheLinesOfTheirCells()
{
    // Times over the whole 32-bit range, typed cells in the forms a person
    // may type, confidences that round either way: the streamed file holds
    // exactly what the lines of the cells give.
    QRandomGenerator random(5);
    std::vector<WordRow> rows;
    const QStringList typedTimes = {u"007"_s, u"+15"_s, u" 42"_s, u"-0"_s};
    const QStringList typedConfidences = {u"1"_s, u"high"_s, u"0.045"_s};
    for (int i = 0; i < 30000; ++i) {
        const std::int64_t start = qint64(random.bounded(qint64(-2147483648LL), qint64(2147483647LL)));
        WordRow r = row(start, start + random.bounded(5000), u"w\u00F6rd%1"_s.arg(i), float(random.bounded(1.0)),
                        i % 2 ? u"A"_s : u"\u00C9mile"_s);
        if (i % 97 == 0)
            r.setCell(WordRow::Start, typedTimes[i % typedTimes.size()]);
        if (i % 89 == 0)
            r.setCell(WordRow::Confidence, typedConfidences[i % typedConfidences.size()]);
        rows.push_back(std::move(r));
    }
    for (const bool withSpeaker : {false, true}) {
        const QByteArray expected = bytesFromLines(cellLines(rows, u"talk"_s, u'\t', withSpeaker));
        QCOMPARE(streamed(rows, u"talk"_s, u'\t', withSpeaker), expected);
    }
}

void TestWordFileWriter::aBadTimeCellFailsWithItsText_data()
{
    QTest::addColumn<int>("badRow");
    QTest::addColumn<int>("column"); // WordRow::Start or WordRow::End
    QTest::addColumn<QString>("typed"); // empty: the number below
    QTest::addColumn<qint64>("number");
    QTest::addColumn<QString>("message");
    QTest::newRow("typed start with a point")
        << 1 << int(WordRow::Start) << u"1.5"_s << qint64(0) << u"'1.5' is not a valid integer value"_s;
    QTest::newRow("typed end with a letter")
        << 0 << int(WordRow::End) << u"12x"_s << qint64(0) << u"'12x' is not a valid integer value"_s;
    QTest::newRow("a time beyond 32 bits")
        << 2 << int(WordRow::End) << QString() << qint64(3000000000LL)
        << u"'3000000000' is not a valid integer value"_s;
    QTest::newRow("a negative time beyond 32 bits")
        << 2 << int(WordRow::Start) << QString() << qint64(-2147483649LL)
        << u"'-2147483649' is not a valid integer value"_s;
}

void TestWordFileWriter::aBadTimeCellFailsWithItsText()
{
    QFETCH(int, badRow);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(qint64, number);
    QFETCH(QString, message);
    std::vector<WordRow> rows(4, row(100, 200, u"w"_s, 0.5f, u"X"_s));
    WordRow &bad = rows[size_t(badRow)];
    if (!typed.isEmpty())
        bad.setCell(WordRow::Column(column), typed);
    else
        (column == WordRow::Start ? bad.start : bad.end) = number;
    // A later bad cell does not come first.
    rows[3].setCell(WordRow::Start, u"later"_s);

    QCOMPARE(errorMessage([&] { checkWordFileTimes(rows); }), message);
    QTemporaryDir dir;
    const QString path = dir.filePath("joined.ctm");
    QCOMPARE(errorMessage([&] {
                 AtomicFile out(path);
                 writeWordFile(out, rows, u"joined"_s, u' ', false);
             }),
             message);
    QVERIFY(!QFile::exists(path));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

void TestWordFileWriter::aBadCellIsReportedBeforeTheFileIsCreated()
{
    QTemporaryDir dir;
    std::vector<WordRow> rows = {row(0, 10, u"a"_s, 1, u"X"_s)};
    rows[0].setCell(WordRow::End, u"1,5"_s);
    // The folder does not exist either: the cell is what the message names.
    QCOMPARE(errorMessage([&] { writeWordFile(dir.filePath("none/out.ctm"), rows, u"out"_s, u' ', false); }),
             u"'1,5' is not a valid integer value"_s);

    const QString path = dir.filePath("out.ctm");
    writeBytes(path, "old");
    QCOMPARE(errorMessage([&] { writeWordFile(path, rows, u"out"_s, u' ', false); }),
             u"'1,5' is not a valid integer value"_s);
    QCOMPARE(readBytes(path), QByteArray("old"));

    rows[0].setCell(WordRow::End, u"20"_s);
    writeWordFile(path, rows, u"out"_s, u' ', true);
    QCOMPARE(readBytes(path), QByteArray("\xEF\xBB\xBFout 1 0.000 0.020 a 1.00 X\r\n"));
    QCOMPARE(errorMessage([&] { writeWordFile(dir.filePath("none/out.ctm"), rows, u"out"_s, u' ', false); }),
             u"Cannot create file \"%1\". No such file or directory"_s.arg(dir.filePath("none/out.ctm")));
}

QTEST_APPLESS_MAIN(TestWordFileWriter)
#include "tst_wordfilewriter.moc"
