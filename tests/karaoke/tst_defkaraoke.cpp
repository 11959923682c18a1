#include "karaoke/defkaraoke.h"

#include <QTest>

#include <array>

using namespace Qt::Literals::StringLiterals;

// The number of leading blanks of every line of the head and the tail, as the
// page's layout prescribes them: an independent check of the fixed text.
static constexpr std::array<int, 77> kopBlanks = {
    0, 0, 2, 4, 4, 4, 4, 4, 8, 19, 19, 4, 0, 4, 6, 10, 10, 0, 6, 8, 6, 0, 6, 4, 0,
    4, 7, 8, 8, 8, 10, 10, 10, 10, 16, 30, 28, 20, 8, 8, 8, 8, 8, 8, 12, 16, 16, 16, 16,
    12, 12, 12, 12, 0, 12, 12, 12, 8, 4, 4, 4, 8, 8, 8, 8, 8, 8, 8, 8, 8, 7, 8, 8, 8,
    8, 4, 2};
static constexpr std::array<int, 26> staartBlanks = {
    2, 2, 2, 2, 4, 6, 9, 4, 4, 4, 6, 8, 10, 8, 6, 6, 8, 10, 10, 10, 8, 6, 4, 2, 1, 0};

static int blanksVooraan(const QString &regel)
{
    int n = 0;
    while (n < regel.size() && regel[n] == u' ')
        ++n;
    return n;
}

class TestDefKaraoke : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void kopHeeft77RegelsMetHunInspringing();
    void kopVultTitelEnKleurenIn_data();
    void kopVultTitelEnKleurenIn();
    void staartHeeft26RegelsMetHunInspringing();
    void staartKiestNaamEnSoort_data();
    void staartKiestNaamEnSoort();
    void staartCodeertDeBronnaam_data();
    void staartCodeertDeBronnaam();
    void eenTweedeAanroepVultDezelfdeLijstOpnieuw();
};

void TestDefKaraoke::init()
{
    defKaraoke::kleurH1.clear();
    defKaraoke::kleurH2.clear();
    defKaraoke::audioSoort.clear();
}

void TestDefKaraoke::kopHeeft77RegelsMetHunInspringing()
{
    const QStringList kop = defKaraoke::maakKaraokeKop(u"joined"_s);
    QCOMPARE(kop.size(), 77);
    for (int i = 0; i < 77; ++i) {
        const QString &regel = kop[i];
        QVERIFY2(blanksVooraan(regel) == kopBlanks[size_t(i)],
                 qPrintable(u"line %1: \"%2\""_s.arg(i + 1).arg(regel)));
        QVERIFY2(!regel.endsWith(u' '), qPrintable(u"line %1 ends in a blank"_s.arg(i + 1)));
    }
    QCOMPARE(kop.first(), u"<!doctype html>"_s);
    QCOMPARE(kop[1], u"<html lang=\"nl\">"_s);
    QCOMPARE(kop[5], u"    <script src=\"https://ajax.googleapis.com/ajax/libs/jquery/1.11.2/"
                      "jquery.min.js\"></script>"_s);
    QCOMPARE(kop[35], u"                              return Math.abs(parseFloat($(this).attr("
                       "\"timestamp\")) - index)<0.20"_s);
    QCOMPARE(kop[70], u"       .conf9  {color: #000000;}"_s);
    QCOMPARE(kop.last(), u"  </head>"_s);
    // Empty lines are empty, not blanks.
    for (int i : {13, 18, 22, 25, 54})
        QCOMPARE(kop[i - 1], QString());
}

void TestDefKaraoke::kopVultTitelEnKleurenIn_data()
{
    QTest::addColumn<QString>("titel");
    QTest::addColumn<QString>("kleurH1");
    QTest::addColumn<QString>("kleurH2");
    QTest::addColumn<QString>("regel5");
    QTest::addColumn<QString>("regel73");
    QTest::addColumn<QString>("regel74");
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

void TestDefKaraoke::kopVultTitelEnKleurenIn()
{
    QFETCH(QString, titel);
    QFETCH(QString, kleurH1);
    QFETCH(QString, kleurH2);
    defKaraoke::kleurH1 = kleurH1;
    defKaraoke::kleurH2 = kleurH2;
    const QStringList kop = defKaraoke::maakKaraokeKop(titel);
    QCOMPARE(kop.size(), 77);
    QTEST(kop[4], "regel5");
    QTEST(kop[72], "regel73");
    QTEST(kop[73], "regel74");
}

void TestDefKaraoke::staartHeeft26RegelsMetHunInspringing()
{
    const QStringList staart = defKaraoke::maakKaraokeStaart(u"/data/joined.wav"_s);
    QCOMPARE(staart.size(), 26);
    for (int i = 0; i < 26; ++i)
        QVERIFY2(blanksVooraan(staart[i]) == staartBlanks[size_t(i)],
                 qPrintable(u"line %1: \"%2\""_s.arg(i + 1).arg(staart[i])));
    QCOMPARE(staart.first(), u"  <br />"_s);
    QCOMPARE(staart[4], u"    <audio id=\"audioPlayer\" controls preload=\"none\">"_s);
    QCOMPARE(staart[8], u"    &nbsp;<span id=\"displayTimer\">0.0</span>"_s);
    QCOMPARE(staart[17], u"          <td><div id=\"timeindex\">&nbsp;</div></td>"_s);
    QCOMPARE(staart[18], u"          <td><div id=\"confidence\">&nbsp;</div></td>"_s);
    QCOMPARE(staart[19], u"          <td><div id=\"speaker\">&nbsp;</div></td>"_s);
    QCOMPARE(staart[24], u" </body>"_s);
    QCOMPARE(staart.last(), u"</html>"_s);
}

void TestDefKaraoke::staartKiestNaamEnSoort_data()
{
    QTest::addColumn<QString>("pad");
    QTest::addColumn<QString>("soort");
    QTest::addColumn<QString>("naam");
    QTest::addColumn<QString>("mediaType");
    QTest::newRow("wav") << u"/data/joined.wav"_s << u"wav"_s << u"joined.wav"_s << u"audio/wav"_s;
    QTest::newRow("mp3 replaces the last extension")
        << u"/data/take.1.wav"_s << u"mp3"_s << u"take.1.mp3"_s << u"audio/mpeg"_s;
    QTest::newRow("mp4 plays as mpeg") << u"joined.wav"_s << u"mp4"_s << u"joined.mp4"_s << u"audio/mpeg"_s;
    QTest::newRow("capitals are not mp3") << u"joined.wav"_s << u"MP3"_s << u"joined.wav"_s << u"audio/wav"_s;
    QTest::newRow("empty kind is wav") << u"/a/b/joined.flac"_s << QString() << u"joined.wav"_s << u"audio/wav"_s;
    QTest::newRow("no extension gets one") << u"/data/joined"_s << u"wav"_s << u"joined.wav"_s << u"audio/wav"_s;
    QTest::newRow("a dot in the folder is not an extension")
        << u"/data.v2/joined"_s << u"wav"_s << u"joined.wav"_s << u"audio/wav"_s;
}

void TestDefKaraoke::staartKiestNaamEnSoort()
{
    QFETCH(QString, pad);
    QFETCH(QString, soort);
    QFETCH(QString, naam);
    QFETCH(QString, mediaType);
    defKaraoke::audioSoort = soort;
    const QStringList staart = defKaraoke::maakKaraokeStaart(pad);
    QCOMPARE(staart.size(), 26);
    QCOMPARE(staart[1], u"  "_s + naam);
    QCOMPARE(staart[5], u"      <source src=\"%1\" type=\"%2\">"_s.arg(naam, mediaType));
}

void TestDefKaraoke::staartCodeertDeBronnaam_data()
{
    QTest::addColumn<QString>("pad");
    QTest::addColumn<QString>("getoond");
    QTest::addColumn<QString>("bron");
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

void TestDefKaraoke::staartCodeertDeBronnaam()
{
    QFETCH(QString, pad);
    QFETCH(QString, getoond);
    QFETCH(QString, bron);
    defKaraoke::audioSoort = u"wav"_s;
    const QStringList staart = defKaraoke::maakKaraokeStaart(pad);
    QCOMPARE(staart[1], u"  "_s + getoond);
    QCOMPARE(staart[5], u"      <source src=\"%1\" type=\"audio/wav\">"_s.arg(bron));
}

void TestDefKaraoke::eenTweedeAanroepVultDezelfdeLijstOpnieuw()
{
    const QStringList &kop1 = defKaraoke::maakKaraokeKop(u"first"_s);
    const QStringList &kop2 = defKaraoke::maakKaraokeKop(u"second"_s);
    QCOMPARE(&kop1, &kop2);
    QCOMPARE(kop2.size(), 77);
    QCOMPARE(kop2[4], u"    <title>second</title>"_s);

    const QStringList &staart1 = defKaraoke::maakKaraokeStaart(u"a.wav"_s);
    const QStringList &staart2 = defKaraoke::maakKaraokeStaart(u"b.wav"_s);
    QCOMPARE(&staart1, &staart2);
    QCOMPARE(staart2.size(), 26);
    QCOMPARE(staart2[1], u"  b.wav"_s);
}

QTEST_GUILESS_MAIN(TestDefKaraoke)
#include "tst_defkaraoke.moc"
