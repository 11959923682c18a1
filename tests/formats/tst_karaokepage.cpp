#include "formats/karaokepage.h"

#include <QTest>

#include <array>

using namespace Qt::Literals::StringLiterals;

namespace {

// The number of leading blanks of every line of the head and the tail, as the
// page's layout prescribes them: an independent check of the fixed text.
constexpr std::array<int, 77> headBlanks = {
    0, 0, 2, 4, 4, 4, 4, 4, 8, 19, 19, 4, 0, 4, 6, 10, 10, 0, 6, 8, 6, 0, 6, 4, 0,
    4, 7, 8, 8, 8, 10, 10, 10, 10, 16, 30, 28, 20, 8, 8, 8, 8, 8, 8, 12, 16, 16, 16, 16,
    12, 12, 12, 12, 0, 12, 12, 12, 8, 4, 4, 4, 8, 8, 8, 8, 8, 8, 8, 8, 8, 7, 8, 8, 8,
    8, 4, 2};
constexpr std::array<int, 26> tailBlanks = {
    2, 2, 2, 2, 4, 6, 9, 4, 4, 4, 6, 8, 10, 8, 6, 6, 8, 10, 10, 10, 8, 6, 4, 2, 1, 0};

int leadingBlanks(const QString &line)
{
    int n = 0;
    while (n < line.size() && line[n] == u' ')
        ++n;
    return n;
}

// A style with every setting empty.
KaraokeStyle emptyStyle()
{
    return KaraokeStyle{QString(), QString(), QString()};
}

KaraokeStyle audioKind(const QString &kind)
{
    KaraokeStyle style = emptyStyle();
    style.audioKind = kind;
    return style;
}

} // namespace

class TestKaraokePage : public QObject
{
    Q_OBJECT
private slots:
    void styleHasThePageDefaults();
    void headHas77LinesWithTheirIndent();
    void headFillsInTitleAndColours_data();
    void headFillsInTitleAndColours();
    void tailHas26LinesWithTheirIndent();
    void tailChoosesNameAndKind_data();
    void tailChoosesNameAndKind();
    void tailEncodesTheSourceName_data();
    void tailEncodesTheSourceName();
    void aSecondCallGivesItsOwnLines();
};

void TestKaraokePage::styleHasThePageDefaults()
{
    const KaraokeStyle style;
    QCOMPARE(style.heading1Colour, u" lightgray"_s);
    QCOMPARE(style.heading2Colour, u" powderblue"_s);
    QCOMPARE(style.audioKind, u"wav"_s);
}

void TestKaraokePage::headHas77LinesWithTheirIndent()
{
    const QStringList head = karaokeHead(u"joined"_s, emptyStyle());
    QCOMPARE(head.size(), 77);
    for (int i = 0; i < 77; ++i) {
        const QString &line = head[i];
        QVERIFY2(leadingBlanks(line) == headBlanks[size_t(i)],
                 qPrintable(u"line %1: \"%2\""_s.arg(i + 1).arg(line)));
        QVERIFY2(!line.endsWith(u' '), qPrintable(u"line %1 ends in a blank"_s.arg(i + 1)));
    }
    QCOMPARE(head.first(), u"<!doctype html>"_s);
    QCOMPARE(head[1], u"<html lang=\"nl\">"_s);
    QCOMPARE(head[5], u"    <script src=\"https://ajax.googleapis.com/ajax/libs/jquery/1.11.2/"
                       "jquery.min.js\"></script>"_s);
    QCOMPARE(head[35], u"                              return Math.abs(parseFloat($(this).attr("
                        "\"timestamp\")) - index)<0.20"_s);
    QCOMPARE(head[70], u"       .conf9  {color: #000000;}"_s);
    QCOMPARE(head.last(), u"  </head>"_s);
    // Empty lines are empty, not blanks.
    for (int i : {13, 18, 22, 25, 54})
        QCOMPARE(head[i - 1], QString());
}

void TestKaraokePage::headFillsInTitleAndColours_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("heading1Colour");
    QTest::addColumn<QString>("heading2Colour");
    QTest::addColumn<QString>("line5");
    QTest::addColumn<QString>("line73");
    QTest::addColumn<QString>("line74");
    const QString h1 = u"        h1 {font-size: 18px; line-height: 1.0; margin-bottom: 0px; background-color:"_s;
    const QString h2 = u"        h2 {font-size: 16px; line-height: 1.5; margin-bottom: 0px; background-color:"_s;
    QTest::newRow("the colours the page uses")
        << u"joined"_s << u" lightgray"_s << u" powderblue"_s << u"    <title>joined</title>"_s
        << h1 + u" lightgray;}"_s << h2 + u" powderblue;}"_s;
    QTest::newRow("empty colours")
        << u"joined"_s << QString() << QString() << u"    <title>joined</title>"_s
        << h1 + u";}"_s << h2 + u";}"_s;
    QTest::newRow("title with markup characters is escaped")
        << u"Q&A <\"take\" 2>"_s << QString() << QString()
        << u"    <title>Q&amp;A &lt;&quot;take&quot; 2&gt;</title>"_s << h1 + u";}"_s << h2 + u";}"_s;
    QTest::newRow("an apostrophe stays")
        << u"Bob's"_s << QString() << QString() << u"    <title>Bob's</title>"_s
        << h1 + u";}"_s << h2 + u";}"_s;
}

void TestKaraokePage::headFillsInTitleAndColours()
{
    QFETCH(QString, title);
    QFETCH(QString, heading1Colour);
    QFETCH(QString, heading2Colour);
    KaraokeStyle style = emptyStyle();
    style.heading1Colour = heading1Colour;
    style.heading2Colour = heading2Colour;
    const QStringList head = karaokeHead(title, style);
    QCOMPARE(head.size(), 77);
    QTEST(head[4], "line5");
    QTEST(head[72], "line73");
    QTEST(head[73], "line74");
}

void TestKaraokePage::tailHas26LinesWithTheirIndent()
{
    const QStringList tail = karaokeTail(u"/data/joined.wav"_s, emptyStyle());
    QCOMPARE(tail.size(), 26);
    for (int i = 0; i < 26; ++i)
        QVERIFY2(leadingBlanks(tail[i]) == tailBlanks[size_t(i)],
                 qPrintable(u"line %1: \"%2\""_s.arg(i + 1).arg(tail[i])));
    QCOMPARE(tail.first(), u"  <br />"_s);
    QCOMPARE(tail[4], u"    <audio id=\"audioPlayer\" controls preload=\"none\">"_s);
    QCOMPARE(tail[8], u"    &nbsp;<span id=\"displayTimer\">0.0</span>"_s);
    QCOMPARE(tail[17], u"          <td><div id=\"timeindex\">&nbsp;</div></td>"_s);
    QCOMPARE(tail[18], u"          <td><div id=\"confidence\">&nbsp;</div></td>"_s);
    QCOMPARE(tail[19], u"          <td><div id=\"speaker\">&nbsp;</div></td>"_s);
    QCOMPARE(tail[24], u" </body>"_s);
    QCOMPARE(tail.last(), u"</html>"_s);
}

void TestKaraokePage::tailChoosesNameAndKind_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("mediaType");
    QTest::newRow("wav") << u"/data/joined.wav"_s << u"wav"_s << u"joined.wav"_s << u"audio/wav"_s;
    QTest::newRow("mp3 replaces the last extension")
        << u"/data/take.1.wav"_s << u"mp3"_s << u"take.1.mp3"_s << u"audio/mpeg"_s;
    QTest::newRow("mp4 plays as mpeg") << u"joined.wav"_s << u"mp4"_s << u"joined.mp4"_s << u"audio/mpeg"_s;
    QTest::newRow("capitals are not mp3") << u"joined.wav"_s << u"MP3"_s << u"joined.wav"_s << u"audio/wav"_s;
    // The wav kind names the recording exactly as it was written.
    QTest::newRow("empty kind is wav") << u"/a/b/joined.flac"_s << QString() << u"joined.flac"_s << u"audio/wav"_s;
    QTest::newRow("no extension stays without") << u"/data/joined"_s << u"wav"_s << u"joined"_s << u"audio/wav"_s;
    QTest::newRow("capital extension stays") << u"/data/joined.WAV"_s << u"wav"_s << u"joined.WAV"_s << u"audio/wav"_s;
    QTest::newRow("a dot in the folder is not an extension")
        << u"/data.v2/joined"_s << u"wav"_s << u"joined"_s << u"audio/wav"_s;
}

void TestKaraokePage::tailChoosesNameAndKind()
{
    QFETCH(QString, path);
    QFETCH(QString, kind);
    QFETCH(QString, name);
    QFETCH(QString, mediaType);
    const QStringList tail = karaokeTail(path, audioKind(kind));
    QCOMPARE(tail.size(), 26);
    QCOMPARE(tail[1], u"  "_s + name);
    QCOMPARE(tail[5], u"      <source src=\"%1\" type=\"%2\">"_s.arg(name, mediaType));
    // The information table's header names what the cell below shows.
    QVERIFY(tail.contains(u"          <th>Time_index</th><th>Confidence</th><th>Speaker</th>"_s));
}

void TestKaraokePage::tailEncodesTheSourceName_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("source");
    QTest::newRow("blank and hash")
        << u"/d/interview 1#b.wav"_s << u"interview 1#b.wav"_s << u"interview%201%23b.wav"_s;
    QTest::newRow("percent and question mark")
        << u"/d/100%?.wav"_s << u"100%?.wav"_s << u"100%25%3F.wav"_s;
    QTest::newRow("non-ASCII as UTF-8 bytes in upper-case hex")
        << u"/d/café ☕.wav"_s << u"café ☕.wav"_s << u"caf%C3%A9%20%E2%98%95.wav"_s;
    QTest::newRow("markup characters are escaped after encoding")
        << u"/d/R&D <\"1\">.wav"_s << u"R&amp;D &lt;&quot;1&quot;&gt;.wav"_s
        << u"R&amp;D%20&lt;&quot;1&quot;&gt;.wav"_s;
    QTest::newRow("a plain name is left alone")
        << u"/d/joined_2024-05.wav"_s << u"joined_2024-05.wav"_s << u"joined_2024-05.wav"_s;
}

void TestKaraokePage::tailEncodesTheSourceName()
{
    QFETCH(QString, path);
    QFETCH(QString, shown);
    QFETCH(QString, source);
    const QStringList tail = karaokeTail(path, audioKind(u"wav"_s));
    QCOMPARE(tail[1], u"  "_s + shown);
    QCOMPARE(tail[5], u"      <source src=\"%1\" type=\"audio/wav\">"_s.arg(source));
}

void TestKaraokePage::aSecondCallGivesItsOwnLines()
{
    const QStringList head1 = karaokeHead(u"first"_s, emptyStyle());
    const QStringList head2 = karaokeHead(u"second"_s, emptyStyle());
    QCOMPARE(head1[4], u"    <title>first</title>"_s);
    QCOMPARE(head2.size(), 77);
    QCOMPARE(head2[4], u"    <title>second</title>"_s);

    const QStringList tail1 = karaokeTail(u"a.wav"_s, emptyStyle());
    const QStringList tail2 = karaokeTail(u"b.wav"_s, emptyStyle());
    QCOMPARE(tail1[1], u"  a.wav"_s);
    QCOMPARE(tail2.size(), 26);
    QCOMPARE(tail2[1], u"  b.wav"_s);
}

QTEST_GUILESS_MAIN(TestKaraokePage)
#include "tst_karaokepage.moc"
