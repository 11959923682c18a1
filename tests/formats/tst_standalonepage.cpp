#include "formats/standalonepage.h"

#include "base/atomicfile.h"
#include "formats/karaokepage.h"
#include "support/files.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// A word row as an aligner's SPK line gives it: start in ms, word,
// confidence, speaker.
WordRow row(std::int64_t start, const QString &text, float confidence, const QString &speaker)
{
    WordRow r;
    r.start = start;
    r.end = 200;
    r.text = text;
    r.confidence = confidence;
    r.speaker = speaker;
    return r;
}

// The transcript part of a page (from <main> to </main>), one line each,
// with its chunks.
QStringList chunkedTranscript(const QStringList &page)
{
    qsizetype from = 0;
    while (from < page.size() && !page[from].startsWith(u"<main "_s))
        ++from;
    const auto to = page.indexOf(u"</main>"_s);
    return to < from ? QStringList() : page.mid(from + 1, to - from - 1);
}

// The same without the chunks' lines.
QStringList transcript(const QStringList &page)
{
    QStringList lines = chunkedTranscript(page);
    lines.removeAll(u"<div class=\"chunk\">"_s);
    lines.removeAll(u"</div>"_s);
    return lines;
}

// The transcript lines with every word span shortened to its text, so a
// table can show where the headings and paragraphs fall.
QStringList shape(const QStringList &page)
{
    static const QRegularExpression span(u"^<span class=\"[^\"]*\" data-t=\"[^\"]*\" data-c=\"[^\"]*\"( tabindex=\"0\")?>(.*)</span>$"_s);
    QStringList out;
    for (const QString &line : transcript(page)) {
        const auto m = span.match(line);
        out << (m.hasMatch() ? m.captured(2) : line);
    }
    return out;
}

const QString Interviewer = u"Interviewer"_s;
const QString Respondent = u"Respondent"_s;

} // namespace

class TestStandalonePage : public QObject
{
    Q_OBJECT
private slots:
    void headingsAndParagraphs_data();
    void headingsAndParagraphs();
    void wordSpansCarryStartAndConfidence();
    void timingBlockGivesStartsAndParagraphSizes();
    void chunksHoldWholeParagraphsAndHeadings();
    void lowConfidenceMarks_data();
    void lowConfidenceMarks();
    void textsCannotInjectMarkup_data();
    void textsCannotInjectMarkup();
    void audioSource_data();
    void audioSource();
    void needsNoNetwork();
    void writeGivesTheLinesAsAFile();
};

void TestStandalonePage::headingsAndParagraphs_data()
{
    QTest::addColumn<std::vector<WordRow>>("rows");
    QTest::addColumn<std::vector<std::size_t>>("partStarts");
    QTest::addColumn<QStringList>("expected");

    const std::vector<WordRow> interview = {
        row(0, u"SIL"_s, 1, Interviewer),        row(400, u"Good"_s, 0.9f, Interviewer),
        row(700, u"morning."_s, 0.9f, Interviewer), row(1300, u"SIL"_s, 1, Interviewer),
        row(1500, u"Shall"_s, 0.9f, Interviewer), row(1800, u"we?"_s, 0.9f, Interviewer),
        row(2300, u"Yes."_s, 0.9f, Respondent),   row(2800, u"SIL"_s, 1, Respondent),
        row(3000, u"Born"_s, 0.9f, Respondent),   row(3400, u"here."_s, 0.9f, Respondent)};

    QTest::newRow("two halves: speaker headings, no parts")
        << interview << std::vector<std::size_t>{}
        << QStringList{u"<h2 class=\"speaker\">Interviewer</h2>"_s, u"<p data-s=\"Interviewer\">"_s, u"Good"_s,
                       u"morning."_s, u"</p>"_s, u"<p data-s=\"Interviewer\">"_s, u"Shall"_s, u"we?"_s, u"</p>"_s,
                       u"<h2 class=\"speaker\">Respondent</h2>"_s, u"<p data-s=\"Respondent\">"_s, u"Yes."_s,
                       u"</p>"_s, u"<p data-s=\"Respondent\">"_s, u"Born"_s, u"here."_s, u"</p>"_s};
    // Part 2 starts at the silence before "Shall": its heading comes where
    // the part starts and names the speaker again, who goes on.
    QTest::newRow("three parts")
        << interview << std::vector<std::size_t>{3, 8}
        << QStringList{u"<h2 class=\"part\">Part 1</h2>"_s, u"<h3 class=\"speaker\">Interviewer</h3>"_s,
                       u"<p data-s=\"Interviewer\">"_s, u"Good"_s, u"morning."_s, u"</p>"_s,
                       u"<h2 class=\"part\">Part 2</h2>"_s, u"<h3 class=\"speaker\">Interviewer</h3>"_s,
                       u"<p data-s=\"Interviewer\">"_s, u"Shall"_s, u"we?"_s, u"</p>"_s,
                       u"<h3 class=\"speaker\">Respondent</h3>"_s, u"<p data-s=\"Respondent\">"_s, u"Yes."_s,
                       u"</p>"_s, u"<h2 class=\"part\">Part 3</h2>"_s, u"<h3 class=\"speaker\">Respondent</h3>"_s,
                       u"<p data-s=\"Respondent\">"_s, u"Born"_s, u"here."_s, u"</p>"_s};
    // A part that starts in the middle of a sentence cuts the paragraph.
    QTest::newRow("a part starts mid-sentence")
        << std::vector<WordRow>{row(0, u"one"_s, 1, u"A"_s), row(300, u"two"_s, 1, u"A"_s)}
        << std::vector<std::size_t>{1}
        << QStringList{u"<h2 class=\"part\">Part 1</h2>"_s, u"<h3 class=\"speaker\">A</h3>"_s,
                       u"<p data-s=\"A\">"_s, u"one"_s, u"</p>"_s, u"<h2 class=\"part\">Part 2</h2>"_s,
                       u"<h3 class=\"speaker\">A</h3>"_s, u"<p data-s=\"A\">"_s, u"two"_s, u"</p>"_s};
    // A CTM file names no speaker ("X"): paragraphs without headings.
    QTest::newRow("no speakers")
        << std::vector<WordRow>{row(0, u"one."_s, 1, u"X"_s), row(300, u"SIL"_s, 1, u"X"_s),
                                row(600, u"two"_s, 1, u"X"_s)}
        << std::vector<std::size_t>{}
        << QStringList{u"<p data-s=\"X\">"_s, u"one."_s, u"</p>"_s, u"<p data-s=\"X\">"_s, u"two"_s, u"</p>"_s};
    QTest::newRow("no rows") << std::vector<WordRow>{} << std::vector<std::size_t>{} << QStringList{};
}

void TestStandalonePage::headingsAndParagraphs()
{
    QFETCH(std::vector<WordRow>, rows);
    QFETCH(std::vector<std::size_t>, partStarts);
    QFETCH(QStringList, expected);
    StandalonePage page;
    page.partStarts = partStarts;
    QCOMPARE(shape(page.lines(rows, u"t"_s, u"/x/t.wav"_s)), expected);
}

void TestStandalonePage::wordSpansCarryStartAndConfidence()
{
    std::vector<WordRow> rows = {row(400, u"Good"_s, 0.97f, u"A"_s), row(5, u"x"_s, 0.045f, u"A"_s),
                                 row(3723456, u"late"_s, 1, u"A"_s), row(-1, u"early"_s, 0.5f, u"A"_s)};
    WordRow typed = row(0, u"typed"_s, 0, u"A"_s);
    typed.setCell(WordRow::Start, u"1500"_s);
    typed.setCell(WordRow::Confidence, u"1"_s);
    rows.push_back(typed);
    StandalonePage page;
    page.lowConfidence = 0;
    const QStringList expected = {
        u"<p data-s=\"A\">"_s,
        u"<span class=\"w\" data-t=\"0.400\" data-c=\"0.97\" tabindex=\"0\">Good</span>"_s,
        // A float 0.045 is a hair above it: two decimals show 0.05.
        u"<span class=\"w\" data-t=\"0.005\" data-c=\"0.05\">x</span>"_s,
        u"<span class=\"w\" data-t=\"3723.456\" data-c=\"1.00\">late</span>"_s,
        u"<span class=\"w\" data-t=\"-0.001\" data-c=\"0.50\">early</span>"_s,
        u"<span class=\"w\" data-t=\"1.500\" data-c=\"1\">typed</span>"_s,
        u"</p>"_s};
    QCOMPARE(transcript(page.lines(rows, u"t"_s, u"t.wav"_s)).mid(1), expected);
}

// The script indexes the words from this block alone: a start or a count
// out of step with the spans would light up the wrong word.
void TestStandalonePage::timingBlockGivesStartsAndParagraphSizes()
{
    std::vector<WordRow> rows = {row(400, u"Good"_s, 0.9f, u"A"_s), row(5, u"x"_s, 0.9f, u"A"_s),
                                 row(1000, u"end."_s, 0.9f, u"A"_s), row(1050, u"SIL"_s, 0.9f, u"A"_s),
                                 row(1100, u""_s, 0.9f, u"A"_s), row(1200, u"next"_s, 0.9f, u"B"_s)};
    WordRow typed = row(0, u"typed"_s, 0.9f, u"B"_s);
    typed.setCell(WordRow::Start, u"1.5"_s); // no number of its own: the span says it
    rows.push_back(typed);
    rows.push_back(row(-1, u"early"_s, 0.9f, u"B"_s));
    rows.push_back(row(3000, u"later"_s, 0.9f, u"A"_s));
    StandalonePage page;
    page.partStarts = {8};
    const QStringList lines = page.lines(rows, u"t"_s, u"t.wav"_s);
    // Each start after the one before it, a typed one left to its span;
    // the silence and the empty word show no span and have no start.
    const QString expected = u"<script type=\"application/json\" id=\"timing\">"
                             u"{\"t\":[400,-395,995,200,null,-1201,3001],\"p\":[3,3,1]}</script>"_s;
    QCOMPARE(lines.filter(u"id=\"timing\""_s), QStringList{expected});
    QCOMPARE(lines.indexOf(expected), lines.indexOf(u"</main>"_s) + 1);
    QCOMPARE(transcript(lines).filter(u"<span class=\"w"_s).size(), 7);
    QCOMPARE(transcript(lines).filter(u"<p "_s).size(), 3);

    // No words: the block is there, empty.
    QCOMPARE(page.lines({}, u"t"_s, u"t.wav"_s).filter(u"id=\"timing\""_s),
             QStringList{u"<script type=\"application/json\" id=\"timing\">{\"t\":[],\"p\":[]}</script>"_s});
}

// A chunk that ended inside a paragraph, or between a heading and its
// paragraph, would break the page's markup or its reading order.
void TestStandalonePage::chunksHoldWholeParagraphsAndHeadings()
{
    const std::vector<WordRow> rows = {row(0, u"a."_s, 0.9f, u"A"_s),   row(10, u"SIL"_s, 0.9f, u"A"_s),
                                       row(20, u"b."_s, 0.9f, u"A"_s),  row(30, u"SIL"_s, 0.9f, u"A"_s),
                                       row(40, u"c"_s, 0.9f, u"B"_s),   row(50, u"d."_s, 0.9f, u"B"_s),
                                       row(60, u"SIL"_s, 0.9f, u"B"_s), row(70, u"e"_s, 0.9f, u"B"_s)};
    StandalonePage page;
    page.lowConfidence = 0;
    page.paragraphsPerChunk = 2;
    page.partStarts = {7};
    const QString chunk = u"<div class=\"chunk\">"_s;
    const QString end = u"</div>"_s;
    QStringList shown;
    for (const QString &line : chunkedTranscript(page.lines(rows, u"t"_s, u"t.wav"_s)))
        shown << (line.startsWith(u"<span "_s) ? u"w"_s : line);
    QCOMPARE(shown, (QStringList{chunk, u"<h2 class=\"part\">Part 1</h2>"_s,
                                 u"<h3 class=\"speaker\">A</h3>"_s, u"<p data-s=\"A\">"_s, u"w"_s, u"</p>"_s,
                                 u"<p data-s=\"A\">"_s, u"w"_s, u"</p>"_s, end, chunk,
                                 u"<h3 class=\"speaker\">B</h3>"_s, u"<p data-s=\"B\">"_s, u"w"_s, u"w"_s,
                                 u"</p>"_s, u"<h2 class=\"part\">Part 2</h2>"_s, u"<h3 class=\"speaker\">B</h3>"_s,
                                 u"<p data-s=\"B\">"_s, u"w"_s, u"</p>"_s, end}));
}

void TestStandalonePage::lowConfidenceMarks_data()
{
    QTest::addColumn<double>("threshold");
    QTest::addColumn<QStringList>("marked");
    QTest::addColumn<bool>("explained");

    // Confidences 0, 0.3, 0.5, 0.9, 1 as the word file gives them.
    QTest::newRow("default 0.5") << 0.5 << QStringList{u"c0"_s, u"c30"_s} << true;
    QTest::newRow("0.9 is not below 0.90") << 0.9 << QStringList{u"c0"_s, u"c30"_s, u"c50"_s} << true;
    QTest::newRow("1 marks all but the sure words") << 1.0 << QStringList{u"c0"_s, u"c30"_s, u"c50"_s, u"c90"_s} << true;
    QTest::newRow("0 marks none") << 0.0 << QStringList{} << false;
}

void TestStandalonePage::lowConfidenceMarks()
{
    QFETCH(double, threshold);
    QFETCH(QStringList, marked);
    QFETCH(bool, explained);
    const std::vector<WordRow> rows = {row(0, u"c0"_s, 0, u"A"_s), row(1, u"c30"_s, 0.3f, u"A"_s),
                                       row(2, u"c50"_s, 0.5f, u"A"_s), row(3, u"c90"_s, 0.90f, u"A"_s),
                                       row(4, u"c100"_s, 1, u"A"_s)};
    StandalonePage page;
    page.lowConfidence = threshold;
    const QStringList lines = page.lines(rows, u"t"_s, u"t.wav"_s);
    QStringList low;
    static const QRegularExpression lowSpan(u"^<span class=\"w low\"[^>]*>(.*)</span>$"_s);
    for (const QString &line : transcript(lines)) {
        const auto m = lowSpan.match(line);
        if (m.hasMatch())
            low << m.captured(1);
    }
    QCOMPARE(low, marked);
    const QString help = lines.filter(u"id=\"help\""_s).join(u'\n');
    QCOMPARE(help.contains(u"confidence below "_s + QString::number(threshold, 'f', 2)), explained);
}

void TestStandalonePage::textsCannotInjectMarkup_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("speaker");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("escapedWord");
    QTest::addColumn<QString>("escapedSpeaker");

    QTest::newRow("script") << u"<script>alert(1)</script>"_s << u"A"_s << u"t"_s
                            << u"&lt;script&gt;alert(1)&lt;/script&gt;"_s << u"A"_s;
    QTest::newRow("attribute break") << u"a\" onmouseover=\"x"_s << u"B\"><img src=x onerror=y>"_s
                                     << u"</title><script>x()</script>"_s << u"a&quot; onmouseover=&quot;x"_s
                                     << u"B&quot;&gt;&lt;img src=x onerror=y&gt;"_s;
    QTest::newRow("entity") << u"&amp;<unk>"_s << u"R&D"_s << u"a & b"_s << u"&amp;amp;&lt;unk&gt;"_s
                            << u"R&amp;D"_s;
}

void TestStandalonePage::textsCannotInjectMarkup()
{
    QFETCH(QString, word);
    QFETCH(QString, speaker);
    QFETCH(QString, title);
    QFETCH(QString, escapedWord);
    QFETCH(QString, escapedSpeaker);
    const std::vector<WordRow> rows = {row(0, word, 1, speaker)};
    const QStringList lines = StandalonePage().lines(rows, title, u"t.wav"_s);
    const QString page = lines.join(u'\n');
    // The page's own script is the only one, and no text adds an element.
    QCOMPARE(page.count(u"<script"_s), 2); // the page's script and its timing block, no other
    QCOMPARE(page.count(u"<script>"_s), 1);
    QVERIFY(!page.contains(u"<img"_s));
    QVERIFY(!page.contains(u"<unk>"_s));
    QVERIFY(!page.contains(u"onmouseover=\""_s));
    QCOMPARE(shape(lines), (QStringList{u"<h2 class=\"speaker\">"_s + escapedSpeaker + u"</h2>"_s,
                                        u"<p data-s=\""_s + escapedSpeaker + u"\">"_s, escapedWord, u"</p>"_s}));
    QVERIFY(page.contains(u"<title>"_s + htmlEscaped(title) + u"</title>"_s));
    QVERIFY(page.contains(u"<h1>"_s + htmlEscaped(title) + u"</h1>"_s));
}

void TestStandalonePage::audioSource_data()
{
    QTest::addColumn<QString>("audioPath");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("shownName");

    QTest::newRow("plain") << u"/data/interview.wav"_s << u"wav"_s
                           << u"<source src=\"interview.wav\" type=\"audio/wav\">"_s << u"interview.wav"_s;
    QTest::newRow("blank, hash, percent, question mark")
        << u"/d/my take #1 50% ?.wav"_s << u"wav"_s
        << u"<source src=\"my%20take%20%231%2050%25%20%3F.wav\" type=\"audio/wav\">"_s << u"my take #1 50% ?.wav"_s;
    QTest::newRow("ampersand and quote") << u"a&b\"c.wav"_s << u"wav"_s
                                         << u"<source src=\"a&amp;b&quot;c.wav\" type=\"audio/wav\">"_s
                                         << u"a&amp;b&quot;c.wav"_s;
    QTest::newRow("non-ASCII as UTF-8") << u"/d/straße.wav"_s << u"wav"_s
                                        << u"<source src=\"stra%C3%9Fe.wav\" type=\"audio/wav\">"_s
                                        << u"straße.wav"_s;
    QTest::newRow("mp3") << u"/d/i.wav"_s << u"mp3"_s << u"<source src=\"i.mp3\" type=\"audio/mpeg\">"_s
                         << u"i.mp3"_s;
}

void TestStandalonePage::audioSource()
{
    QFETCH(QString, audioPath);
    QFETCH(QString, kind);
    QFETCH(QString, source);
    QFETCH(QString, shownName);
    StandalonePage page;
    page.style.audioKind = kind;
    const QStringList lines = page.lines({}, u"t"_s, audioPath);
    QCOMPARE(lines.filter(u"<source "_s), QStringList{source});
    QCOMPARE(lines.filter(u"id=\"audioName\""_s), QStringList{u"<span id=\"audioName\">"_s + shownName + u"</span>"_s});
}

void TestStandalonePage::needsNoNetwork()
{
    const std::vector<WordRow> rows = {row(0, u"a"_s, 1, u"A"_s)};
    const QString page = StandalonePage().lines(rows, u"t"_s, u"t.wav"_s).join(u'\n');
    QVERIFY(!page.contains(u"http:"_s));
    QVERIFY(!page.contains(u"https:"_s));
    QVERIFY(!page.contains(u"<link"_s));
    QVERIFY(!page.contains(QRegularExpression(u"<script[^>]*src="_s)));
    // The script and the style are in the page.
    QVERIFY(page.contains(u"function wordAt(t)"_s));
    QVERIFY(page.contains(u".w.now {"_s));
}

void TestStandalonePage::writeGivesTheLinesAsAFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"page.html"_s);
    std::vector<WordRow> rows;
    for (int i = 0; i < 5000; ++i)
        rows.push_back(row(i * 300, i % 10 == 9 ? u"w."_s : u"w"_s, (i % 100) / 100.0f, i / 500 % 2 ? u"A"_s : u"B"_s));
    StandalonePage page;
    page.partStarts = {1000, 4000};
    AtomicFile out(path);
    page.write(out, rows, u"title"_s, u"/x/y.wav"_s);
    out.commit();
    const QStringList lines = page.lines(rows, u"title"_s, u"/x/y.wav"_s);
    QCOMPARE(readBytes(path), QByteArray("\xEF\xBB\xBF") + lines.join(u"\r\n"_s).toUtf8() + "\r\n");
}

QTEST_GUILESS_MAIN(TestStandalonePage)
#include "tst_standalonepage.moc"
