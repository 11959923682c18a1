#include "job/ttekstabel.h"
#include "karaoke/defkaraoke.h"
#include "karaoke/karaoketranscript.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// One row of a word table, the columns that the page reads.
struct Rij
{
    QString start, woord, spreker;
};

// A word table as the glue leaves it: number, start, end, word, confidence,
// speaker. End and confidence are filled with values the page must not show.
std::unique_ptr<TTekstTabel> woordTabel(const QList<Rij> &rijen)
{
    auto tabel = std::make_unique<TTekstTabel>(QStringList{u"#"_s, u"Start time"_s, u"Duration"_s,
                                                           u"Transcription"_s, u"Confidentiality"_s,
                                                           u"Speaker"_s});
    std::vector<QString> cellen;
    int nr = 0;
    for (const Rij &r : rijen) {
        ++nr;
        cellen.insert(cellen.end(), {QString::number(nr), r.start, u"999999"_s, r.woord, u"0.42"_s,
                                     r.spreker});
    }
    tabel->vervangAlles(std::move(cellen));
    return tabel;
}

// A word span; spreker is the row's own speaker cell, which the page shows
// in its information table when the mouse is over the word.
QString span(const QString &seconden, const QString &woord, const QString &spreker)
{
    return u"     <span class=\"player conf10\" conf=\"1\" timestamp=\"%1\" speaker=\"%2\">%3</span>"_s
        .arg(seconden, spreker, woord);
}

const QString p = u"    <p class=\"transcript\">"_s;
const QString eindP = u"    </p>"_s;
const QString eindDiv = u"   </div>"_s;

QString h2(const QString &spreker)
{
    return u"   <h2>"_s + spreker + u"</h2>"_s;
}

} // namespace

Q_DECLARE_METATYPE(QList<Rij>)

class TestKaraokeTranscript : public QObject
{
    Q_OBJECT
private slots:
    void msNaarSecondenZetDePuntVoorDeLaatsteDrieCijfers_data();
    void msNaarSecondenZetDePuntVoorDeLaatsteDrieCijfers();
    void hetVoorbeeldGeeftDeHelePagina();
    void deWandelingLangsDeWoorden_data();
    void deWandelingLangsDeWoorden();
    void dePaginaZetDeInstellingenVanHetSjabloon();
};

void TestKaraokeTranscript::msNaarSecondenZetDePuntVoorDeLaatsteDrieCijfers_data()
{
    QTest::addColumn<QString>("ms");
    QTest::addColumn<QString>("seconden");
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

void TestKaraokeTranscript::msNaarSecondenZetDePuntVoorDeLaatsteDrieCijfers()
{
    QFETCH(QString, ms);
    QTEST(msNaarSeconden(ms), "seconden");
}

void TestKaraokeTranscript::hetVoorbeeldGeeftDeHelePagina()
{
    const auto tabel = woordTabel({{u"0"_s, u"SIL"_s, u"A"_s},
                                   {u"480"_s, u"Good"_s, u"A"_s},
                                   {u"900"_s, u"morning."_s, u"A"_s},
                                   {u"1400"_s, u"SIL"_s, u"A"_s},
                                   {u"2100"_s, u"Hello"_s, u"B"_s},
                                   {u"2500"_s, u"there!"_s, u"B"_s}});
    const QStringList pagina = maakKaraokePagina(*tabel, u"joined"_s, u"/some/folder/joined.wav"_s);

    const QStringList lichaam = {
        u"<body>"_s,
        u"  <div id=\"transcript\" style=\"max-height:500px; overflow-y: scroll;\">"_s,
        u"    <h1>Forced Alignment joined</h1>"_s,
        u"   <h2>A</h2>"_s,
        u"    <p class=\"transcript\">"_s,
        u"     <span class=\"player conf10\" conf=\"1\" timestamp=\"0.480\" speaker=\"A\">Good</span>"_s,
        u"     <span class=\"player conf10\" conf=\"1\" timestamp=\"0.900\" speaker=\"A\">morning."
        "</span>"_s,
        u"    </p>"_s,
        u"   <h2>B</h2>"_s,
        u"    <p class=\"transcript\">"_s,
        u"     <span class=\"player conf10\" conf=\"1\" timestamp=\"2.100\" speaker=\"B\">Hello</span>"_s,
        u"     <span class=\"player conf10\" conf=\"1\" timestamp=\"2.500\" speaker=\"B\">there!</span>"_s,
        u"    </p>"_s,
        u"   </div>"_s,
    };
    QCOMPARE(pagina.size(), 77 + 14 + 26);
    QCOMPARE(pagina.mid(77, 14), lichaam);
    QCOMPARE(pagina[4], u"    <title>joined</title>"_s);
    QCOMPARE(pagina[72], u"        h1 {font-size: 18px; line-height: 1.0; margin-bottom: 0px; "
                          "background-color: lightgray;}"_s);
    QCOMPARE(pagina[73], u"        h2 {font-size: 16px; line-height: 1.5; margin-bottom: 0px; "
                          "background-color: powderblue;}"_s);
    QCOMPARE(pagina[77 + 14 + 1], u"  joined.wav"_s);
    QCOMPARE(pagina[77 + 14 + 5], u"      <source src=\"joined.wav\" type=\"audio/wav\">"_s);
    QCOMPARE(pagina.last(), u"</html>"_s);
}

void TestKaraokeTranscript::deWandelingLangsDeWoorden_data()
{
    QTest::addColumn<QList<Rij>>("rijen");
    QTest::addColumn<QString>("titel");
    QTest::addColumn<QStringList>("lichaam"); // the lines after the h1 line

    QTest::newRow("empty table: no paragraph, the closing line all the same")
        << QList<Rij>{} << u"t"_s << QStringList{eindP, eindDiv};
    QTest::newRow("first row is a word: its span opens the paragraph, the heading is row 1's")
        << QList<Rij>{{u"10"_s, u"Hi"_s, u"A"_s}, {u"20"_s, u"you"_s, u"B"_s}} << u"t"_s
        << QStringList{h2(u"B"_s), p, span(u"0.010"_s, u"Hi"_s, u"A"_s),
                       span(u"0.020"_s, u"you"_s, u"B"_s), eindP, eindDiv};
    QTest::newRow("one row: no heading")
        << QList<Rij>{{u"1500"_s, u"Hi."_s, u"A"_s}} << u"t"_s
        << QStringList{p, span(u"1.500"_s, u"Hi."_s, u"A"_s), eindP, eindDiv};
    QTest::newRow("SIL after a comma or a letter does not end the paragraph; sil shows")
        << QList<Rij>{{u"0"_s, u"SIL"_s, u"A"_s}, {u"1"_s, u"so,"_s, u"A"_s},
                      {u"2"_s, u"SIL"_s, u"A"_s}, {u"3"_s, u"well"_s, u"A"_s},
                      {u"4"_s, u"SIL"_s, u"A"_s}, {u"5"_s, u"sil"_s, u"A"_s}}
        << u"t"_s
        << QStringList{h2(u"A"_s), p, span(u"0.001"_s, u"so,"_s, u"A"_s),
                       span(u"0.003"_s, u"well"_s, u"A"_s), span(u"0.005"_s, u"sil"_s, u"A"_s), eindP,
                       eindDiv};
    QTest::newRow("two SIL rows after a sentence end: only the first closes")
        << QList<Rij>{{u"0"_s, u"Yes?"_s, u"A"_s}, {u"100"_s, u"SIL"_s, u"A"_s},
                      {u"200"_s, u"SIL"_s, u"B"_s}, {u"300"_s, u"No."_s, u"B"_s}}
        << u"t"_s
        << QStringList{h2(u"A"_s), p, span(u"0.000"_s, u"Yes?"_s, u"A"_s), eindP, h2(u"B"_s), p,
                       span(u"0.300"_s, u"No."_s, u"B"_s), eindP, eindDiv};
    QTest::newRow("a sentence end without SIL keeps the paragraph going")
        << QList<Rij>{{u"0"_s, u"One."_s, u"A"_s}, {u"100"_s, u"Two."_s, u"B"_s}} << u"t"_s
        << QStringList{h2(u"B"_s), p, span(u"0.000"_s, u"One."_s, u"A"_s),
                       span(u"0.100"_s, u"Two."_s, u"B"_s), eindP, eindDiv};
    QTest::newRow("the same speaker gets a heading for every paragraph; an empty one none")
        << QList<Rij>{{u"0"_s, u"SIL"_s, u"A"_s}, {u"10"_s, u"Go!"_s, u"A"_s},
                      {u"20"_s, u"SIL"_s, u"A"_s}, {u"30"_s, u"On."_s, u"A"_s},
                      {u"40"_s, u"SIL"_s, QString()}, {u"50"_s, u"Off"_s, QString()}}
        << u"t"_s
        << QStringList{h2(u"A"_s), p, span(u"0.010"_s, u"Go!"_s, u"A"_s), eindP, h2(u"A"_s), p,
                       span(u"0.030"_s, u"On."_s, u"A"_s), eindP, p,
                       span(u"0.050"_s, u"Off"_s, QString()), eindP, eindDiv};
    QTest::newRow("an empty word shows no span and keeps the last character")
        << QList<Rij>{{u"0"_s, u"Ok."_s, u"A"_s}, {u"10"_s, QString(), u"A"_s},
                      {u"20"_s, u"SIL"_s, u"A"_s}, {u"30"_s, u"x"_s, u"A"_s}}
        << u"t"_s
        << QStringList{h2(u"A"_s), p, span(u"0.000"_s, u"Ok."_s, u"A"_s), eindP, h2(u"A"_s), p,
                       span(u"0.030"_s, u"x"_s, u"A"_s), eindP, eindDiv};
    QTest::newRow("words, speakers and times are escaped; the sentence end is the raw word's")
        << QList<Rij>{{u"0"_s, u"<unk>"_s, u"Q&A"_s}, {u"5"_s, u"\"Hi\"."_s, u"<b>"_s},
                      {u"9"_s, u"SIL"_s, u"A&B"_s}, {u"1\"0"_s, u"a&b"_s, u"\"C\""_s}}
        << u"t"_s
        << QStringList{h2(u"&lt;b&gt;"_s), p, span(u"0.000"_s, u"&lt;unk&gt;"_s, u"Q&amp;A"_s),
                       span(u"0.005"_s, u"&quot;Hi&quot;."_s, u"&lt;b&gt;"_s), eindP,
                       h2(u"&quot;C&quot;"_s), p, span(u"0.1&quot;0"_s, u"a&amp;b"_s, u"&quot;C&quot;"_s),
                       eindP, eindDiv};
    QTest::newRow("a negative start shows a minus before the seconds")
        << QList<Rij>{{u"-1"_s, u"a"_s, u"A"_s}} << u"t"_s
        << QStringList{p, span(u"-0.001"_s, u"a"_s, u"A"_s), eindP, eindDiv};
}

void TestKaraokeTranscript::deWandelingLangsDeWoorden()
{
    QFETCH(QList<Rij>, rijen);
    QFETCH(QString, titel);
    QFETCH(QStringList, lichaam);
    const auto tabel = woordTabel(rijen);
    const QStringList regels = maakKaraokeTranscript(*tabel, titel);
    QCOMPARE(regels.mid(0, 3),
             (QStringList{u"<body>"_s,
                          u"  <div id=\"transcript\" style=\"max-height:500px; overflow-y: scroll;\">"_s,
                          u"    <h1>Forced Alignment t</h1>"_s}));
    QCOMPARE(regels.mid(3), lichaam);
}

void TestKaraokeTranscript::dePaginaZetDeInstellingenVanHetSjabloon()
{
    defKaraoke::kleurH1 = u" red"_s;
    defKaraoke::kleurH2.clear();
    defKaraoke::audioSoort = u"mp3"_s;
    const auto tabel = woordTabel({});
    const QStringList pagina = maakKaraokePagina(*tabel, u"<x> & y"_s, u"/tmp/a b.wav"_s);
    QCOMPARE(defKaraoke::kleurH1, u" lightgray"_s);
    QCOMPARE(defKaraoke::kleurH2, u" powderblue"_s);
    QCOMPARE(defKaraoke::audioSoort, u"wav"_s);
    QCOMPARE(pagina.size(), 77 + 5 + 26);
    QCOMPARE(pagina[4], u"    <title>&lt;x&gt; &amp; y</title>"_s);
    QCOMPARE(pagina[77 + 2], u"    <h1>Forced Alignment &lt;x&gt; &amp; y</h1>"_s);
    QCOMPARE(pagina[77 + 5 + 5], u"      <source src=\"a%20b.wav\" type=\"audio/wav\">"_s);
}

QTEST_GUILESS_MAIN(TestKaraokeTranscript)
#include "tst_karaoketranscript.moc"
