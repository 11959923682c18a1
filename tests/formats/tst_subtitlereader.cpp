#include "base/error.h"
#include "base/text.h"
#include "base/textfile.h"
#include "formats/subtitlereader.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

// The lines of a UTF-8 file with LF line ends that holds the given lines, as
// a reader gets them from the file.
QStringList fileLines(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + '\n';
    return linesFromBytes(bytes);
}

QStringList shown(const std::vector<Cue> &cues)
{
    QStringList out;
    for (const Cue &c : cues)
        out << QStringLiteral("%1 %2-%3 %4").arg(c.number).arg(c.start).arg(c.end).arg(c.text);
    return out;
}

// What reading a subtitle file normalises its lines to.
QStringList normalised(const QStringList &lines)
{
    QStringList trimmedLines;
    for (const QString &line : fileLines(lines))
        trimmedLines << trimmed(line);
    return normaliseSubtitleLines(trimmedLines, trimmedLines.size());
}

} // namespace

class TestSubtitleReader : public QObject
{
    Q_OBJECT
private slots:
    void readsCuesAndMarksEmptyCues();
    void normalisesTheLines_data();
    void normalisesTheLines();
    void readsCues_data();
    void readsCues();
    void badTimeStopsTheReading();
    void normalisationFollowsTheLiteralMethod();
};

void TestSubtitleReader::readsCuesAndMarksEmptyCues()
{
    const QStringList lines = {"1", "00:00:01,000 --> 00:00:02,500", "Hello ,world", "and more", "",
                               "2", "00:00:03,000 --> 00:00:04,000", ""};
    QCOMPARE(normalised(lines), QStringList({"1", "00:00:01,000 --> 00:00:02,500", "Hello, world", "and more", "",
                                             "2", "00:00:03,000 --> 00:00:04,000", "[empty cue]", ""}));
    QCOMPARE(shown(parseSubtitleLines(fileLines(lines))),
             QStringList({"1 1000-2500 Hello, world and more", "2 3000-4000 [empty cue]"}));
    QCOMPARE(shown(parseCues(normalised(lines))), shown(parseSubtitleLines(fileLines(lines))));
}

void TestSubtitleReader::normalisesTheLines_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("five blanks become two")
        << QStringList({"a     b"}) << QStringList({"a  b", ""});
    QTest::newRow("<br> by a blank, <BR> kept")
        << QStringList({"one<br>two <BR> three"}) << QStringList({"one two <BR> three", ""});
    QTest::newRow("blank moves behind punctuation")
        << QStringList({"yes , no . why ? stop !"}) << QStringList({"yes, no. why? stop!", ""});
    QTest::newRow("runs of empty lines shrink to one")
        << QStringList({"a", "", "", "", "b", ""}) << QStringList({"a", "", "b", ""});
    QTest::newRow("a line emptied by the clean-up stays")
        << QStringList({"text", "<br>", ""}) << QStringList({"text", "", ""});
    QTest::newRow("empty cue without a final empty line")
        << QStringList({"1", "00:00:01,000 --> 00:00:02,000"})
        << QStringList({"1", "00:00:01,000 --> 00:00:02,000", "[empty cue]", ""});
    QTest::newRow("arrow and blank are enough to mark")
        << QStringList({"a --> b", ""}) << QStringList({"a --> b", "[empty cue]", ""});
    QTest::newRow("arrow without blank is not")
        << QStringList({"a -->b", ""}) << QStringList({"a -->b", ""});
    // Each marked cue pushes the later lines on while the walk stops at the
    // file's own line count: the last empty cue is not reached.
    QTest::newRow("the walk ends at the file's line count")
        << QStringList({"1", "00:00:01,000 --> 00:00:02,000", "", "2", "00:00:03,000 --> 00:00:04,000"})
        << QStringList({"1", "00:00:01,000 --> 00:00:02,000", "[empty cue]", "", "2",
                        "00:00:03,000 --> 00:00:04,000", ""});
    QTest::newRow("empty cues one after the other")
        << QStringList({"00:00:01,000 --> 00:00:02,000", "", "00:00:03,000 --> 00:00:04,000", "",
                        "00:00:05,000 --> 00:00:06,000", "", "x", ""})
        << QStringList({"00:00:01,000 --> 00:00:02,000", "[empty cue]", "",
                        "00:00:03,000 --> 00:00:04,000", "[empty cue]", "",
                        "00:00:05,000 --> 00:00:06,000", "[empty cue]", "", "x", ""});
}

void TestSubtitleReader::normalisesTheLines()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, expected);
    QCOMPARE(normalised(lines), expected);
}

void TestSubtitleReader::readsCues_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("cues");
    QTest::newRow("no timing lines") << QStringList({"just", "some text"}) << QStringList();
    QTest::newRow("empty file") << QStringList() << QStringList();
    QTest::newRow("settings after the end time")
        << QStringList({"00:00:01,000 --> 00:00:02,000 line:0 position:10%", "hi", ""})
        << QStringList({"1 1000-2000 hi"});
    QTest::newRow("dots and short ms")
        << QStringList({"00:00:01.5 --> 00:00:02.25", "hi", ""}) << QStringList({"1 1500-2250 hi"});
    QTest::newRow("no number lines needed")
        << QStringList({"00:00:01,000 --> 00:00:02,000", "a", "", "00:00:03,000 --> 00:00:04,000", "b"})
        << QStringList({"1 1000-2000 a", "2 3000-4000 b"});
    QTest::newRow("timing line inside a text starts a cue too")
        << QStringList({"00:00:01,000 --> 00:00:02,000", "00:00:05,000 --> 00:00:06,000", ""})
        << QStringList({"1 1000-2000 00:00:05,000 --> 00:00:06,000 [empty cue]", "2 5000-6000 [empty cue]"});
    QTest::newRow("text lines joined by one blank")
        << QStringList({"00:00:01,000 --> 00:00:02,000", "  one  ", "two", "\tthree", ""})
        << QStringList({"1 1000-2000 one two three"});
    QTest::newRow("empty lines before a last cue without text")
        << QStringList({"00:00:01,000 --> 00:00:02,000", "a", "", "", "00:00:03,000 --> 00:00:04,000"})
        << QStringList({"1 1000-2000 a", "2 3000-4000 [empty cue]"});
}

void TestSubtitleReader::readsCues()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, cues);
    QCOMPARE(shown(parseSubtitleLines(fileLines(lines))), cues);
}

void TestSubtitleReader::badTimeStopsTheReading()
{
    try {
        parseSubtitleLines(fileLines({"00:00:01,000 --> 00:00:02,000", "a", "", "00:00:03,000 --> 00:0x:04,000",
                                      "b", "", "00:00:05,000 --> 00:00:06,000", "c", ""}));
        QFAIL("no error");
    } catch (const Error &e) {
        QCOMPARE(e.message(), QStringLiteral("'0x' is not a valid integer value"));
    }
}

void TestSubtitleReader::normalisationFollowsTheLiteralMethod()
{
    // The literal way: insert and delete in the list itself, one line at a time.
    auto literal = [](QStringList l) {
        const qsizetype n = l.size();
        l.append(QString());
        for (qsizetype i = 0; i < n; ++i) {
            if (l[i].contains(u"--> ") && l[i + 1].isEmpty()) {
                l[i + 1] = QStringLiteral("[empty cue]");
                l.insert(i + 2, QString());
            }
        }
        for (qsizetype j = l.size() - 1; j >= 1; --j)
            if (l[j].isEmpty() && l[j - 1].isEmpty())
                l.removeAt(j);
        for (QString &r : l) {
            r.replace("<br>", " ").replace(" ,", ", ").replace(" .", ". ").replace(" ?", "? ");
            r.replace(" !", "! ").replace("  ", " ").replace("  ", " ");
            r = trimmed(r);
        }
        return l;
    };
    const QStringList pieces = {"", "", "", "00:00:01,000 --> 00:00:02,000", "1", "a --> b", "<br>",
                                "a ,b", "x  .  y", "why ?", "a     b", "text"};
    QRandomGenerator random(17);
    for (int round = 0; round < 3000; ++round) {
        QStringList lines;
        const int n = int(random.bounded(14));
        for (int i = 0; i < n; ++i)
            lines << pieces.at(random.bounded(int(pieces.size())));
        QCOMPARE(normaliseSubtitleLines(lines, lines.size()), literal(lines));
    }
}

QTEST_APPLESS_MAIN(TestSubtitleReader)
#include "tst_subtitlereader.moc"
