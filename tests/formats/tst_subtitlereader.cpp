#include "base/error.h"
#include "base/textfile.h"
#include "formats/subtitlereader.h"
#include "support/files.h"
#include "support/reshapefailures.h"

#include <QTest>

namespace {

QStringList shown(const std::vector<Cue> &cues)
{
    QStringList out;
    for (const Cue &c : cues)
        out << QStringLiteral("%1 %2-%3 %4").arg(c.number).arg(c.start).arg(c.end).arg(c.text);
    return out;
}

} // namespace

class TestSubtitleReader : public QObject
{
    Q_OBJECT
private slots:
    void readsCues_data();
    void readsCues();
    void refusesWithFileAndLine_data();
    void refusesWithFileAndLine();
    void cleansLines_data();
    void cleansLines();
    void markupOfTheFile_data();
    void markupOfTheFile();
};

void TestSubtitleReader::readsCues_data()
{
    // The bytes of the file, as subtitle editors, players and converters write them.
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("cues");
    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("no timing lines") << QByteArray("just\nsome text\n") << QStringList();
    QTest::newRow("editor output, CR LF")
        << QByteArray("1\r\n00:00:01,000 --> 00:00:02,500\r\nHello ,world\r\nand more\r\n\r\n"
                      "2\r\n00:00:03,000 --> 00:00:04,000\r\nBye\r\n\r\n")
        << QStringList({"1 1000-2500 Hello, world and more", "2 3000-4000 Bye"});
    QTest::newRow("cue without text") << QByteArray("1\n00:00:01,000 --> 00:00:02,000\n\n2\n00:00:03,000 --> 00:00:04,000\nx\n")
                                      << QStringList({"1 1000-2000 ", "2 3000-4000 x"});
    QTest::newRow("position coordinates after the times")
        << QByteArray("1\n00:00:01,000 --> 00:00:02,000  X1:100 X2:600 Y1:50 Y2:80\nhi\n")
        << QStringList({"1 1000-2000 hi"});
    QTest::newRow("one-digit fields, dots, no blanks around the arrow")
        << QByteArray("1\n0:0:1.5-->0:0:2.25\nhi\n") << QStringList({"1 1500-2250 hi"});
    QTest::newRow("fractions of one and two digits") << QByteArray("1\n00:00:01,5 --> 00:00:01,90\nhi\n")
                                                     << QStringList({"1 1500-1900 hi"});
    QTest::newRow("no fraction") << QByteArray("1\n00:00:01 --> 00:00:02\nhi\n") << QStringList({"1 1000-2000 hi"});
    // More than three decimals: a decimal fraction, rounded half to even.
    QTest::newRow("fractions of four and more digits")
        << QByteArray("1\n00:00:03,4560 --> 00:00:03,4565\na\n\n2\n00:00:03,4575 --> 00:00:03,456501\nb\n\n"
                      "3\n00:00:59,9995 --> 00:01:00,0004999\nc\n")
        << QStringList({"1 3456-3456 a", "2 3458-3457 b", "3 60000-60000 c"});
    QTest::newRow("minutes and seconds without hours")
        << QByteArray("1\n01:02,500 --> 01:03,000\nhi\n") << QStringList({"1 62500-63000 hi"});
    QTest::newRow("hours above 99")
        << QByteArray("1\n123:00:01,000 --> 123:00:02,000\nhi\n")
        << QStringList({"1 442801000-442802000 hi"});
    QTest::newRow("bilingual cue with a blank line inside")
        << QByteArray("1\n00:00:01,000 --> 00:00:02,000\nGood morning\n\nGoedemorgen\n\n"
                      "2\n00:00:03,000 --> 00:00:04,000\nBye\n")
        << QStringList({"1 1000-2000 Good morning Goedemorgen", "2 3000-4000 Bye"});
    QTest::newRow("a number in the text after a blank line stays text")
        << QByteArray("1\n00:00:01,000 --> 00:00:02,000\nThe answer is\n\n42\n")
        << QStringList({"1 1000-2000 The answer is 42"});
    QTest::newRow("missing blank line between cues")
        << QByteArray("1\n00:00:01,000 --> 00:00:02,000\nA\n2\n00:00:03,000 --> 00:00:04,000\nB\n")
        << QStringList({"1 1000-2000 A", "2 3000-4000 B"});
    QTest::newRow("timing line without a number starts a cue")
        << QByteArray("00:00:01,000 --> 00:00:02,000\nA\n00:00:03,000 --> 00:00:04,000\nB\n")
        << QStringList({"1 1000-2000 A", "2 3000-4000 B"});
    QTest::newRow("blank lines before the first cue and runs of them")
        << QByteArray("\n\n1\n00:00:01,000 --> 00:00:02,000\na\n\n\n\n2\n00:00:03,000 --> 00:00:04,000\nb")
        << QStringList({"1 1000-2000 a", "2 3000-4000 b"});
    QTest::newRow("tags kept")
        << QByteArray("1\n00:00:01,000 --> 00:00:02,000\n{\\an8}<i>Hi</i>\n<font color=\"#ffff00\">there</font>\n")
        << QStringList({"1 1000-2000 {\\an8}<i>Hi</i> <font color=\"#ffff00\">there</font>"});
    QTest::newRow("ellipses stay") << QByteArray("1\n00:00:01,000 --> 00:00:02,000\n- ...now\nWait ... what ?\n")
                                   << QStringList({"1 1000-2000 - ...now Wait ... what?"});
    QTest::newRow("cues out of order are read in file order")
        << QByteArray("1\n00:00:05,000 --> 00:00:06,000\nb\n\n2\n00:00:01,000 --> 00:00:02,000\na\n")
        << QStringList({"1 5000-6000 b", "2 1000-2000 a"});
    // WebVTT: a blank line ends a cue; the header, NOTE blocks, a STYLE
    // block and identifiers are no text, and a block without a timing line
    // is skipped, whatever its first line.
    QTest::newRow("webvtt with its blocks and identifiers")
        << QByteArray("WEBVTT - an interview\nKind: captions\n\nSTYLE\n::cue { color: yellow }\n\n"
                      "NOTE made by hand\nover two lines\n\nintro\n00:01.000 --> 00:04.000 align:start line:0\n"
                      "<v Anna>Hello <c.yellow>there</c>\nand welcome\n\n42\nnot a cue\n\n"
                      "2\n00:00:05.000 --> 00:00:06.000\nBye\n\nNOTE the end\n")
        << QStringList({"1 1000-4000 <v Anna>Hello <c.yellow>there</c> and welcome", "2 5000-6000 Bye"});
    QTest::newRow("a title after WEBVTT without a blank is no WebVTT header")
        << QByteArray("WEBVTTX\n\n00:01.000 --> 00:02.000\na\n\nb\n")
        << QStringList({"1 1000-2000 a b"});
    QTest::newRow("UTF-16 LE from a Windows editor")
        << utf16le(QStringLiteral("1\r\n00:00:01,000 --> 00:00:02,000\r\n\u00E9t\u00E9\r\n\r\n"))
        << QStringList({QStringLiteral("1 1000-2000 \u00E9t\u00E9")});
}

void TestSubtitleReader::readsCues()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, cues);
    QCOMPARE(shown(parseSubtitleLines(linesFromBytes(file), "x.srt")), cues);
}

void TestSubtitleReader::refusesWithFileAndLine_data()
{
    // The failures of a reshape that reads a file: the reader refuses the
    // lines of some; the others fail later, and not here.
    addReshapeFailureRows([](const ReshapeFailure &f) { return !f.bytes.isNull(); });
}

void TestSubtitleReader::refusesWithFileAndLine()
{
    QFETCH(int, failure);
    const ReshapeFailure &f = reshapeFailures().at(size_t(failure));
    QCOMPARE(errorMessage([&] { parseSubtitleLines(linesFromBytes(f.bytes), "x.srt"); }),
             f.readerRefuses ? QString(f.message).replace("%f", "x.srt") : QStringLiteral("(no error)"));
}

void TestSubtitleReader::cleansLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("cleaned");
    QTest::newRow("five blanks become two") << "a     b" << "a  b";
    QTest::newRow("<br> by a blank, <BR> kept") << "one<br>two <BR> three" << "one two <BR> three";
    QTest::newRow("blank moves behind punctuation") << "yes , no . why ? stop !" << "yes, no. why? stop!";
    QTest::newRow("dialogue dash with an ellipsis") << "- ...now" << "- ...now";
    QTest::newRow("ellipsis between words") << "Wait ... what?" << "Wait ... what?";
    QTest::newRow("two dots") << "so .. yes" << "so .. yes";
    QTest::newRow("a full stop after an ellipsis") << "so . ..." << "so. ...";
    QTest::newRow("trimmed") << "  a  " << "a";
}

void TestSubtitleReader::cleansLines()
{
    QFETCH(QString, line);
    QFETCH(QString, cleaned);
    QCOMPARE(cleanSubtitleLine(line), cleaned);
}

void TestSubtitleReader::markupOfTheFile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("webVtt");
    QTest::newRow("srt") << QByteArray("1\n00:00:01,000 --> 00:00:02,000\na\n") << false;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("WEBVTT alone") << QByteArray("WEBVTT\n\n00:01.000 --> 00:02.000\na\n") << true;
    QTest::newRow("WEBVTT with a title, byte-order mark, CR LF")
        << QByteArray("\xEF\xBB\xBFWEBVTT - title\r\n\r\n") << true;
    QTest::newRow("WEBVTT and a tab") << QByteArray("WEBVTT\ttitle\n") << true;
    QTest::newRow("WEBVTTX") << QByteArray("WEBVTTX\n") << false;
    QTest::newRow("WEBVTT on a later line") << QByteArray("\nWEBVTT\n") << false;
}

void TestSubtitleReader::markupOfTheFile()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, webVtt);
    QCOMPARE(subtitleMarkup(linesFromBytes(file)) == CueMarkup::WebVtt, webVtt);
}

QTEST_APPLESS_MAIN(TestSubtitleReader)
#include "tst_subtitlereader.moc"
