#include "base/atomicfile.h"
#include "base/textfile.h"
#include "support/files.h"
#include "formats/karaokebody.h"
#include "formats/karaokepage.h"

#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

// One row of a word table, the columns that the page reads.
struct Row
{
    QString start, word, speaker;
};

// Word rows as the glue leaves them; the start is the cell's text as shown
// or typed. The end holds a value the page must not show; every confidence
// is 0.42.
std::vector<WordRow> wordRows(const QList<Row> &rows)
{
    std::vector<WordRow> out;
    int number = 0;
    for (const Row &r : rows) {
        WordRow row;
        row.number = ++number;
        row.setCell(WordRow::Start, r.start);
        row.end = 999999;
        row.text = r.word;
        row.confidence = 0.42f;
        row.speaker = r.speaker;
        out.push_back(std::move(row));
    }
    return out;
}

// A word span; speaker is the row's own speaker cell, which the page shows
// in its information table when the mouse is over the word.
QString span(const QString &seconds, const QString &word, const QString &speaker,
             const QString &conf = u"0.42"_s)
{
    return u"     <span class=\"player conf10\" conf=\"%4\" timestamp=\"%1\" speaker=\"%2\">%3</span>"_s
        .arg(seconds, speaker, word, conf);
}

const QString p = u"    <p class=\"transcript\">"_s;
const QString endP = u"    </p>"_s;
const QString endDiv = u"   </div>"_s;

QString h2(const QString &speaker)
{
    return u"   <h2>"_s + speaker + u"</h2>"_s;
}

} // namespace

Q_DECLARE_METATYPE(QList<Row>)

class TestKaraokeBody : public QObject
{
    Q_OBJECT
private slots:
    void msTextToSecondsPutsThePointBeforeTheLastThreeDigits_data();
    void msTextToSecondsPutsThePointBeforeTheLastThreeDigits();
    void startNumbersShowAsTheirTextsWould_data();
    void theConfidenceIsTheTablesCell_data();
    void theConfidenceIsTheTablesCell();
    void startNumbersShowAsTheirTextsWould();
    void theExampleGivesTheWholePage();
    void theWalkAlongTheWords_data();
    void theWalkAlongTheWords();
    void thePageUsesTheDefaultStyle();
    void thePageUsesTheStyleItIsGiven();
    void streamedPageIsTheSavedPage_data();
    void streamedPageIsTheSavedPage();
};

void TestKaraokeBody::msTextToSecondsPutsThePointBeforeTheLastThreeDigits_data()
{
    QTest::addColumn<QString>("ms");
    QTest::addColumn<QString>("seconds");
    QTest::newRow("1500") << u"1500"_s << u"1.500"_s;
    QTest::newRow("65000") << u"65000"_s << u"65.000"_s;
    QTest::newRow("5") << u"5"_s << u"0.005"_s;
    QTest::newRow("three digits") << u"480"_s << u"0.480"_s;
    QTest::newRow("empty") << QString() << u"0.000"_s;
    QTest::newRow("zero") << u"0"_s << u"0.000"_s;
    QTest::newRow("minus one") << u"-1"_s << u"-0.001"_s;
    QTest::newRow("minus 1500") << u"-1500"_s << u"-1.500"_s;
    QTest::newRow("large") << u"7384567"_s << u"7384.567"_s;
}

void TestKaraokeBody::msTextToSecondsPutsThePointBeforeTheLastThreeDigits()
{
    QFETCH(QString, ms);
    QTEST(msTextToSeconds(ms), "seconds");
}

void TestKaraokeBody::startNumbersShowAsTheirTextsWould_data()
{
    QTest::addColumn<qint64>("ms");
    for (const qint64 ms : {qint64(0), qint64(5), qint64(-1), qint64(999), qint64(1000), qint64(-1000),
                            qint64(-1234567), qint64(7384567), std::numeric_limits<qint64>::max(),
                            std::numeric_limits<qint64>::min()})
        QTest::newRow(qPrintable(QString::number(ms))) << ms;
}

void TestKaraokeBody::startNumbersShowAsTheirTextsWould()
{
    // A start that shows its number gives the seconds of the number's text.
    QFETCH(qint64, ms);
    WordRow row;
    row.start = ms;
    row.text = u"w"_s;
    row.speaker = u"A"_s;
    const QStringList lines = karaokeBody(std::vector<WordRow>{row}, u"t"_s);
    QCOMPARE(lines.at(4), span(msTextToSeconds(QString::number(ms)), u"w"_s, u"A"_s, u"0.00"_s));
}

void TestKaraokeBody::theConfidenceIsTheTablesCell_data()
{
    QTest::addColumn<float>("confidence");
    QTest::addColumn<QString>("typed"); // null: the cell shows its number
    QTest::addColumn<QString>("conf");
    QTest::newRow("two decimals") << 0.5f << QString() << u"0.50"_s;
    QTest::newRow("one") << 1.0f << QString() << u"1.00"_s;
    QTest::newRow("rounded as the float shows") << 0.045f << QString() << u"0.05"_s;
    QTest::newRow("typed text") << 0.0f << u"0.5"_s << u"0.5"_s;
    QTest::newRow("typed text is escaped") << 0.0f << u"<\"&>"_s << u"&lt;&quot;&amp;&gt;"_s;
}

void TestKaraokeBody::theConfidenceIsTheTablesCell()
{
    QFETCH(float, confidence);
    QFETCH(QString, typed);
    QFETCH(QString, conf);
    WordRow row;
    row.start = 1500;
    row.text = u"w"_s;
    row.speaker = u"A"_s;
    row.confidence = confidence;
    if (!typed.isNull())
        row.setCell(WordRow::Confidence, typed);
    const QStringList lines = karaokeBody(std::vector<WordRow>{row}, u"t"_s);
    // The class stays the same whatever the confidence.
    QCOMPARE(lines.at(4), span(u"1.500"_s, u"w"_s, u"A"_s, conf));
}

void TestKaraokeBody::theExampleGivesTheWholePage()
{
    const auto rows = wordRows({{u"0"_s, u"SIL"_s, u"A"_s},
                                {u"480"_s, u"Good"_s, u"A"_s},
                                {u"900"_s, u"morning."_s, u"A"_s},
                                {u"1400"_s, u"SIL"_s, u"A"_s},
                                {u"2100"_s, u"Hello"_s, u"B"_s},
                                {u"2500"_s, u"there!"_s, u"B"_s}});
    const QStringList page = karaokePage(rows, u"joined"_s, u"/some/folder/joined.wav"_s);

    const QStringList body = {
        u"<body>"_s,
        u"  <div id=\"transcript\" style=\"max-height:500px; overflow-y: scroll;\">"_s,
        u"    <h1>Forced Alignment joined</h1>"_s,
        u"   <h2>A</h2>"_s,
        u"    <p class=\"transcript\">"_s,
        u"     <span class=\"player conf10\" conf=\"0.42\" timestamp=\"0.480\" speaker=\"A\">Good</span>"_s,
        u"     <span class=\"player conf10\" conf=\"0.42\" timestamp=\"0.900\" speaker=\"A\">morning."
        "</span>"_s,
        u"    </p>"_s,
        u"   <h2>B</h2>"_s,
        u"    <p class=\"transcript\">"_s,
        u"     <span class=\"player conf10\" conf=\"0.42\" timestamp=\"2.100\" speaker=\"B\">Hello</span>"_s,
        u"     <span class=\"player conf10\" conf=\"0.42\" timestamp=\"2.500\" speaker=\"B\">there!</span>"_s,
        u"    </p>"_s,
        u"   </div>"_s,
    };
    QCOMPARE(page.size(), 77 + 14 + 26);
    QCOMPARE(page.mid(77, 14), body);
    QCOMPARE(page[4], u"    <title>joined</title>"_s);
    QCOMPARE(page[72], u"        h1 {font-size: 18px; line-height: 1.0; margin-bottom: 0px; "
                        "background-color: lightgray;}"_s);
    QCOMPARE(page[73], u"        h2 {font-size: 16px; line-height: 1.5; margin-bottom: 0px; "
                        "background-color: powderblue;}"_s);
    QCOMPARE(page[77 + 14 + 1], u"  joined.wav"_s);
    QCOMPARE(page[77 + 14 + 5], u"      <source src=\"joined.wav\" type=\"audio/wav\">"_s);
    QCOMPARE(page.last(), u"</html>"_s);
}

void TestKaraokeBody::theWalkAlongTheWords_data()
{
    QTest::addColumn<QList<Row>>("rows");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("body"); // the lines after the h1 line

    QTest::newRow("empty table: no paragraph, the closing line all the same")
        << QList<Row>{} << u"t"_s << QStringList{endP, endDiv};
    QTest::newRow("first row is a word: its span opens the paragraph, the heading is row 1's")
        << QList<Row>{{u"10"_s, u"Hi"_s, u"A"_s}, {u"20"_s, u"you"_s, u"B"_s}} << u"t"_s
        << QStringList{h2(u"B"_s), p, span(u"0.010"_s, u"Hi"_s, u"A"_s),
                       span(u"0.020"_s, u"you"_s, u"B"_s), endP, endDiv};
    QTest::newRow("one row: no heading")
        << QList<Row>{{u"1500"_s, u"Hi."_s, u"A"_s}} << u"t"_s
        << QStringList{p, span(u"1.500"_s, u"Hi."_s, u"A"_s), endP, endDiv};
    QTest::newRow("SIL after a comma or a letter does not end the paragraph; sil shows")
        << QList<Row>{{u"0"_s, u"SIL"_s, u"A"_s}, {u"1"_s, u"so,"_s, u"A"_s},
                      {u"2"_s, u"SIL"_s, u"A"_s}, {u"3"_s, u"well"_s, u"A"_s},
                      {u"4"_s, u"SIL"_s, u"A"_s}, {u"5"_s, u"sil"_s, u"A"_s}}
        << u"t"_s
        << QStringList{h2(u"A"_s), p, span(u"0.001"_s, u"so,"_s, u"A"_s),
                       span(u"0.003"_s, u"well"_s, u"A"_s), span(u"0.005"_s, u"sil"_s, u"A"_s), endP,
                       endDiv};
    QTest::newRow("two SIL rows after a sentence end: only the first closes")
        << QList<Row>{{u"0"_s, u"Yes?"_s, u"A"_s}, {u"100"_s, u"SIL"_s, u"A"_s},
                      {u"200"_s, u"SIL"_s, u"B"_s}, {u"300"_s, u"No."_s, u"B"_s}}
        << u"t"_s
        << QStringList{h2(u"A"_s), p, span(u"0.000"_s, u"Yes?"_s, u"A"_s), endP, h2(u"B"_s), p,
                       span(u"0.300"_s, u"No."_s, u"B"_s), endP, endDiv};
    QTest::newRow("a sentence end without SIL keeps the paragraph going")
        << QList<Row>{{u"0"_s, u"One."_s, u"A"_s}, {u"100"_s, u"Two."_s, u"B"_s}} << u"t"_s
        << QStringList{h2(u"B"_s), p, span(u"0.000"_s, u"One."_s, u"A"_s),
                       span(u"0.100"_s, u"Two."_s, u"B"_s), endP, endDiv};
    QTest::newRow("the same speaker gets a heading for every paragraph; an empty one none")
        << QList<Row>{{u"0"_s, u"SIL"_s, u"A"_s}, {u"10"_s, u"Go!"_s, u"A"_s},
                      {u"20"_s, u"SIL"_s, u"A"_s}, {u"30"_s, u"On."_s, u"A"_s},
                      {u"40"_s, u"SIL"_s, QString()}, {u"50"_s, u"Off"_s, QString()}}
        << u"t"_s
        << QStringList{h2(u"A"_s), p, span(u"0.010"_s, u"Go!"_s, u"A"_s), endP, h2(u"A"_s), p,
                       span(u"0.030"_s, u"On."_s, u"A"_s), endP, p,
                       span(u"0.050"_s, u"Off"_s, QString()), endP, endDiv};
    QTest::newRow("an empty word shows no span and keeps the last character")
        << QList<Row>{{u"0"_s, u"Ok."_s, u"A"_s}, {u"10"_s, QString(), u"A"_s},
                      {u"20"_s, u"SIL"_s, u"A"_s}, {u"30"_s, u"x"_s, u"A"_s}}
        << u"t"_s
        << QStringList{h2(u"A"_s), p, span(u"0.000"_s, u"Ok."_s, u"A"_s), endP, h2(u"A"_s), p,
                       span(u"0.030"_s, u"x"_s, u"A"_s), endP, endDiv};
    QTest::newRow("words, speakers and times are escaped; the sentence end is the raw word's")
        << QList<Row>{{u"0"_s, u"<unk>"_s, u"Q&A"_s}, {u"5"_s, u"\"Hi\"."_s, u"<b>"_s},
                      {u"9"_s, u"SIL"_s, u"A&B"_s}, {u"1\"0"_s, u"a&b"_s, u"\"C\""_s}}
        << u"t"_s
        << QStringList{h2(u"&lt;b&gt;"_s), p, span(u"0.000"_s, u"&lt;unk&gt;"_s, u"Q&amp;A"_s),
                       span(u"0.005"_s, u"&quot;Hi&quot;."_s, u"&lt;b&gt;"_s), endP,
                       h2(u"&quot;C&quot;"_s), p, span(u"0.1&quot;0"_s, u"a&amp;b"_s, u"&quot;C&quot;"_s),
                       endP, endDiv};
    QTest::newRow("a negative start shows a minus before the seconds")
        << QList<Row>{{u"-1"_s, u"a"_s, u"A"_s}} << u"t"_s
        << QStringList{p, span(u"-0.001"_s, u"a"_s, u"A"_s), endP, endDiv};
}

void TestKaraokeBody::theWalkAlongTheWords()
{
    QFETCH(QList<Row>, rows);
    QFETCH(QString, title);
    QFETCH(QStringList, body);
    const QStringList lines = karaokeBody(wordRows(rows), title);
    QCOMPARE(lines.mid(0, 3),
             (QStringList{u"<body>"_s,
                          u"  <div id=\"transcript\" style=\"max-height:500px; overflow-y: scroll;\">"_s,
                          u"    <h1>Forced Alignment t</h1>"_s}));
    QCOMPARE(lines.mid(3), body);
}

void TestKaraokeBody::thePageUsesTheDefaultStyle()
{
    const QStringList page = karaokePage({}, u"<x> & y"_s, u"/tmp/a b.wav"_s);
    QCOMPARE(page.size(), 77 + 5 + 26);
    QCOMPARE(page[4], u"    <title>&lt;x&gt; &amp; y</title>"_s);
    QVERIFY(page[72].endsWith(u"background-color: lightgray;}"_s));
    QVERIFY(page[73].endsWith(u"background-color: powderblue;}"_s));
    QCOMPARE(page[77 + 2], u"    <h1>Forced Alignment &lt;x&gt; &amp; y</h1>"_s);
    QCOMPARE(page[77 + 5 + 5], u"      <source src=\"a%20b.wav\" type=\"audio/wav\">"_s);
}

void TestKaraokeBody::thePageUsesTheStyleItIsGiven()
{
    const KaraokeStyle style{u" red"_s, QString(), u"mp3"_s};
    const QStringList page = karaokePage({}, u"t"_s, u"/tmp/a b.wav"_s, style);
    QCOMPARE(page.size(), 77 + 5 + 26);
    QVERIFY(page[72].endsWith(u"background-color: red;}"_s));
    QVERIFY(page[73].endsWith(u"background-color:;}"_s));
    QCOMPARE(page[77 + 5 + 5], u"      <source src=\"a%20b.mp3\" type=\"audio/mpeg\">"_s);
}

void TestKaraokeBody::streamedPageIsTheSavedPage_data()
{
    QTest::addColumn<QList<Row>>("rows");
    QTest::newRow("no rows") << QList<Row>{};
    QTest::newRow("escaped and typed cells")
        << QList<Row>{{u"0"_s, u"SIL"_s, u"\u00C9mile"_s}, {u"1.5"_s, u"caf\u00E9 <b>"_s, u"\u00C9mile"_s},
                      {u"20"_s, u"done."_s, u"X"_s}, {u"30"_s, u"SIL"_s, u"X"_s}, {u"40"_s, u"\u20AC"_s, u"X"_s}};
    QList<Row> many;
    for (int i = 0; i < 20000; ++i)
        many << Row{QString::number(i * 37), i % 9 == 8 ? u"SIL"_s : (i % 7 == 0 ? u"end."_s : u"w\u00F6rd"_s),
                    i / 1000 % 2 ? u"A"_s : u"B"_s};
    QTest::newRow("many blocks") << many;
}

void TestKaraokeBody::streamedPageIsTheSavedPage()
{
    QFETCH(QList<Row>, rows);
    const auto wordTable = wordRows(rows);
    const KaraokeStyle style{u" red"_s, u" blue"_s, u"mp4"_s};
    QTemporaryDir dir;
    const QString saved = dir.filePath("saved.html");
    const QString streamed = dir.filePath("streamed.html");
    writeTextFile(saved, karaokePage(wordTable, u"talk"_s, u"/x/talk.wav"_s, style));
    AtomicFile out(streamed);
    writeKaraokePage(out, wordTable, u"talk"_s, u"/x/talk.wav"_s, style);
    out.commit();
    QCOMPARE(readBytes(streamed), readBytes(saved));
}

QTEST_GUILESS_MAIN(TestKaraokeBody)
#include "tst_karaokebody.moc"
