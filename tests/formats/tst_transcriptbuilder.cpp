#include "formats/transcriptbuilder.h"
#include "support/files.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QStringList header{"Interview t.txt", "", "Metadata", "[Please add here relevant Metadata]", "",
                         "Transcript", ""};

} // namespace

class TestTranscriptBuilder : public QObject
{
    Q_OBJECT
private slots:
    void markerLinesAreRecognised_data();
    void markerLinesAreRecognised();
    void cleanUp_data();
    void cleanUp();
    void writeTranscript_data();
    void writeTranscript();
    void badStartTimeKeepsTheLinesSoFar();
    void partMarksPassTheCleanUp();
};

void TestTranscriptBuilder::markerLinesAreRecognised_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("endTime");
    QTest::addColumn<bool>("speaker");
    QTest::addColumn<bool>("startTime");
    QTest::addColumn<bool>("bracket");
    QTest::newRow("end time") << u"[EndTime: 5 ms]"_s << true << false << false << true;
    QTest::newRow("speaker") << u"[Speaker: SP_01 Anna]"_s << false << true << false << true;
    QTest::newRow("speaker without SP_") << u"[Speaker: Anna]"_s << false << false << false << true;
    QTest::newRow("start time") << u"[StartTime: 1200 ms]"_s << false << false << true << true;
    QTest::newRow("other bracket") << u"[laughs]"_s << false << false << false << true;
    QTest::newRow("text") << u"hello [laughs]"_s << false << false << false << false;
    QTest::newRow("blank before the bracket") << u" [StartTime: 1 ms]"_s << false << false << false << false;
}

void TestTranscriptBuilder::markerLinesAreRecognised()
{
    QFETCH(QString, line);
    QTEST(TranscriptBuilder::isEndTimeLine(line), "endTime");
    QTEST(TranscriptBuilder::isSpeakerLine(line), "speaker");
    QTEST(TranscriptBuilder::isStartTimeLine(line), "startTime");
    QTEST(TranscriptBuilder::isBracketLine(line), "bracket");
}

void TestTranscriptBuilder::cleanUp_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("clean");
    QTest::newRow("nothing") << QStringList() << QStringList();
    QTest::newRow("text lines become one paragraph")
        << QStringList{"one", "", "two", "three"} << QStringList{"one two three"};
    QTest::newRow("end times go")
        << QStringList{"a", "[EndTime: 5 ms]", "b"} << QStringList{"a b"};
    QTest::newRow("of two speakers in a row the lower stays")
        << QStringList{"[Speaker: SP_01 A]", "[Speaker: SP_02 B]", "hi"}
        << QStringList{"[Speaker: SP_02 B]", "hi"};
    QTest::newRow("a repeated speaker merges the turns")
        << QStringList{"[Speaker: SP_01 A]", "one", "[Speaker: SP_01 A]", "two"}
        << QStringList{"[Speaker: SP_01 A]", "one two"};
    QTest::newRow("one start time per stretch, above the speaker")
        << QStringList{"[StartTime: 100 ms]", "[StartTime: 200 ms]", "x", "[Speaker: SP_01 A]", "y"}
        << QStringList{"x", "[StartTime: 100 ms]", "[Speaker: SP_01 A]", "y"};
    QTest::newRow("a returning speaker loses its start time once")
        << QStringList{"[StartTime: 1 ms]", "[Speaker: SP_01 A]", "a", "[StartTime: 2 ms]",
                       "[Speaker: SP_02 B]", "b", "[StartTime: 3 ms]", "[Speaker: SP_01 A]", "c",
                       "[StartTime: 4 ms]", "[Speaker: SP_02 B]", "d"}
        << QStringList{"[StartTime: 1 ms]", "[Speaker: SP_01 A]", "a", "[StartTime: 2 ms]",
                       "[Speaker: SP_02 B]", "b", "[Speaker: SP_01 A]", "c", "[StartTime: 4 ms]",
                       "[Speaker: SP_02 B]", "d"};
}

void TestTranscriptBuilder::cleanUp()
{
    QFETCH(QStringList, lines);
    QTEST(TranscriptBuilder::cleanUp(lines), "clean");
}

void TestTranscriptBuilder::writeTranscript_data()
{
    QTest::addColumn<QStringList>("clean");
    QTest::addColumn<QStringList>("out");
    QTest::newRow("header only") << QStringList() << header;
    QTest::newRow("time, speaker label and text")
        << QStringList{"[StartTime: 3723004 ms]", "[Speaker: SP_01 Anna]", "hello there", "more"}
        << header + QStringList{"\t01:02:03", "Anna\thello there", "\tmore"};
    QTest::newRow("a time line drops the label")
        << QStringList{"[Speaker: SP_01 Anna]", "[StartTime: 0 ms]", "x"}
        << header + QStringList{"\t00:00:00", "\tx"};
    // A part's mark stands alone; a label before it waits for the next text.
    QTest::newRow("part marks")
        << QStringList{TranscriptBuilder::partMark(1, 0), "[Speaker: SP_01 Anna]", "a",
                       TranscriptBuilder::partMark(2, 3723999), "b", "[Speaker: SP_02 Bob]",
                       TranscriptBuilder::partMark(12, 360000000), "c"}
        << header + QStringList{"[Part 1, 00:00:00]", "Anna\ta", "[Part 2, 01:02:03]", "\tb", "[Part 12, 100:00:00]",
                                "Bob\tc"};
    // A person's own line that reads like a mark is a bracket line as ever.
    QTest::newRow("a typed mark is text")
        << QStringList{"[Speaker: SP_01 Anna]", "[Part 2, 00:00:01]"} << header + QStringList{"Anna\t[Part 2, 00:00:01]"};
}

void TestTranscriptBuilder::writeTranscript()
{
    QFETCH(QStringList, clean);
    QStringList out;
    TranscriptBuilder::writeTranscript(clean, u"t.txt"_s, out);
    QTEST(out, "out");
}

void TestTranscriptBuilder::badStartTimeKeepsTheLinesSoFar()
{
    QStringList out;
    const auto write = [&] { TranscriptBuilder::writeTranscript({"a", "[StartTime: 12x4 ms]", "b"}, u"t.txt"_s, out); };
    QCOMPARE(errorMessage(write), u"'12x4' is not a valid integer value"_s);
    QCOMPARE(out, header + QStringList{"\ta"});
}

void TestTranscriptBuilder::partMarksPassTheCleanUp()
{
    // Without the mark, the last text of tape one and the first of tape two
    // would be joined into one paragraph.
    const QStringList clean = TranscriptBuilder::cleanUp({TranscriptBuilder::partMark(1, 0), "[Speaker: SP_01 Anna]",
                                                          "end of tape one", TranscriptBuilder::partMark(2, 61000),
                                                          "start of tape two", "and more"});
    QStringList out;
    TranscriptBuilder::writeTranscript(clean, u"t.txt"_s, out);
    QCOMPARE(out, (header + QStringList{"[Part 1, 00:00:00]", "Anna\tend of tape one", "[Part 2, 00:01:01]",
                                        "\tstart of tape two and more"}));
}

QTEST_APPLESS_MAIN(TestTranscriptBuilder)
#include "tst_transcriptbuilder.moc"
