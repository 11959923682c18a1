#include "lines/tekst.h"
#include "lines/tleessrts.h"

#include <QRandomGenerator>

#include <limits>

#include <QTest>

namespace {

struct C
{
    qint64 st;
    qint64 et;
    QString T;
};

// A cue list holding the given cues, numbered from 1.
void vul(TleesSRTs &srt, const QList<C> &cues)
{
    srt.maakRecords(static_cast<std::int32_t>(cues.size()));
    for (qsizetype i = 0; i < cues.size(); ++i)
        srt.Cues[static_cast<size_t>(i)] = {static_cast<std::int32_t>(i + 1), cues[i].st, cues[i].et, cues[i].T};
}

// The valid cues as "id st-et text", one per cue, so that a failure shows all.
QStringList toon(const TleesSRTs &srt)
{
    QStringList uit;
    for (std::int32_t i = 0; i < srt.aantalCues; ++i) {
        const TCue &c = srt.Cues[static_cast<size_t>(i)];
        uit << QStringLiteral("%1 %2-%3 %4").arg(c.id).arg(c.st).arg(c.et).arg(c.T);
    }
    return uit;
}

QString woorden(int lengte)
{
    // Words of four letters and a blank: "abcd abcd abc...", cut to the length.
    QString s;
    while (s.size() < lengte)
        s += QStringLiteral("abcd ");
    s.truncate(lengte);
    return s;
}

} // namespace

class TestTleesSRTs : public QObject
{
    Q_OBJECT
private slots:
    void maakRecordsHoudtVroegereCues();

    void herstelOverlapOntmoetInHetMidden_data();
    void herstelOverlapOntmoetInHetMidden();
    void srtEnVttVanHetVoorbeeld();
    void renderenVanBijzondereTeksten_data();
    void renderenVanBijzondereTeksten();
    void renderenZonderCues();
    void tweeKeerRenderenGeeftHetzelfde();
    void renderenNummertOpPlaatsEnNegeertCuesVoorbijAantal();

    void zoekSpatieVindtDeDichtsteBlank_data();
    void zoekSpatieVindtDeDichtsteBlank();
    void breekRegelZetEenMarkering_data();
    void breekRegelZetEenMarkering();

    void maakMooiMaaktSchoon_data();
    void maakMooiMaaktSchoon();
    void maakMooiSplitsInTweeDelen();
    void maakMooiSplitsInDrieDelen();
    void maakMooiSplitsGrenzen_data();
    void maakMooiSplitsGrenzen();
    void maakMooiVerliestGeenTekenZonderBlank();
    void maakMooiLaatCuesVoorbijAantalStaan();
    void maakMooiVolgtDeLetterlijkeWerkwijze();

    void veruimToontijdVoorbeeld();
    void veruimToontijdDeeltDeTussenruimte_data();
    void veruimToontijdDeeltDeTussenruimte();
    void veruimToontijdBeginNietVoorNul_data();
    void veruimToontijdBeginNietVoorNul();
    void veruimToontijdZonderTijdLaatParenStaan();
    void tijdenAanDeRandLopenNietOver_data();
    void tijdenAanDeRandLopenNietOver();
};

void TestTleesSRTs::maakRecordsHoudtVroegereCues()
{
    TleesSRTs srt;
    QCOMPARE(srt.maxSTlengte, 95.0f);
    QCOMPARE(srt.maxRGlengte, 45.0f);
    vul(srt, {{1, 2, "a"}, {3, 4, "b"}, {5, 6, "c"}});
    srt.maakRecords(2);
    QCOMPARE(srt.aantalCues, 2);
    QCOMPARE(srt.Cues.size(), size_t(2));
    srt.maakRecords(4);
    QCOMPARE(toon(srt), QStringList({"1 1-2 a", "2 3-4 b", "0 0-0 ", "0 0-0 "}));
    srt.maakRecords(0);
    QCOMPARE(srt.aantalCues, 0);
    QVERIFY(srt.Cues.empty());
}

void TestTleesSRTs::herstelOverlapOntmoetInHetMidden_data()
{
    QTest::addColumn<qint64>("eind");
    QTest::addColumn<qint64>("start");
    QTest::addColumn<qint64>("nieuwEind");
    QTest::addColumn<qint64>("nieuwStart");
    QTest::newRow("half rounds down to even") << qint64(5003) << qint64(4998) << qint64(5000) << qint64(5000);
    QTest::newRow("half rounds up to even") << qint64(5001) << qint64(4998) << qint64(5000) << qint64(5000);
    QTest::newRow("whole middle") << qint64(5004) << qint64(4998) << qint64(5001) << qint64(5001);
    QTest::newRow("touching cues stay") << qint64(5000) << qint64(5000) << qint64(5000) << qint64(5000);
    QTest::newRow("a gap stays") << qint64(4000) << qint64(5000) << qint64(4000) << qint64(5000);
    QTest::newRow("negative half to even") << qint64(-1) << qint64(-4) << qint64(-2) << qint64(-2);
    QTest::newRow("near the 64-bit limit")
        << qint64(9223372036854775807) << qint64(9223372036854775804)
        << qint64(9223372036854775806) << qint64(9223372036854775806);
}

void TestTleesSRTs::herstelOverlapOntmoetInHetMidden()
{
    QFETCH(qint64, eind);
    QFETCH(qint64, start);
    QFETCH(qint64, nieuwEind);
    QFETCH(qint64, nieuwStart);
    TleesSRTs srt;
    vul(srt, {{0, eind, "a"}, {start, 9223372036854775807, "b"}});
    srt.herstelOverlap();
    QCOMPARE(qint64(srt.Cues[0].et), nieuwEind);
    QCOMPARE(qint64(srt.Cues[1].st), nieuwStart);
}

void TestTleesSRTs::srtEnVttVanHetVoorbeeld()
{
    const QList<C> cues = {
        {10000, 16000, "so we moved to the city in the spring|of that year because my father had"},
        {15990, 22000, "found work at the harbour"}};
    TleesSRTs srt;
    srt.aantalRegels = 7;
    srt.fileNaam = "keep.srt";
    vul(srt, cues);
    srt.schrijfSRTResultaat();
    QCOMPARE(srt.deRegels, QStringList({"1", "00:00:10,000 --> 00:00:15,995",
                                        "so we moved to the city in the spring",
                                        "of that year because my father had", "", "2",
                                        "00:00:15,995 --> 00:00:22,000", "found work at the harbour", ""}));
    // The repair stays in the cues; the renderer leaves the file fields alone.
    QCOMPARE(qint64(srt.Cues[0].et), qint64(15995));
    QCOMPARE(qint64(srt.Cues[1].st), qint64(15995));
    QCOMPARE(srt.aantalRegels, 7);
    QCOMPARE(srt.fileNaam, QStringLiteral("keep.srt"));

    TleesSRTs vtt;
    vul(vtt, cues);
    vtt.schrijfVTTResultaat();
    QCOMPARE(vtt.deRegels, QStringList({"WEBVTT", "", "00:00:10.000 --> 00:00:15.995",
                                        "so we moved to the city in the spring",
                                        "of that year because my father had", "",
                                        "00:00:15.995 --> 00:00:22.000", "found work at the harbour", ""}));
}

void TestTleesSRTs::renderenVanBijzondereTeksten_data()
{
    QTest::addColumn<QString>("tekst");
    QTest::addColumn<QStringList>("regels");
    QTest::newRow("empty text") << "" << QStringList({""});
    QTest::newRow("three lines") << "a|b|c" << QStringList({"a", "b", "c"});
    QTest::newRow("marker first") << "|a" << QStringList({"", "a"});
    QTest::newRow("marker last") << "a|" << QStringList({"a", ""});
}

void TestTleesSRTs::renderenVanBijzondereTeksten()
{
    QFETCH(QString, tekst);
    QFETCH(QStringList, regels);
    TleesSRTs srt;
    vul(srt, {{1000, 2000, tekst}});
    srt.schrijfSRTResultaat();
    QCOMPARE(srt.deRegels, QStringList({"1", "00:00:01,000 --> 00:00:02,000"}) + regels + QStringList({""}));
    srt.schrijfVTTResultaat();
    QCOMPARE(srt.deRegels, QStringList({"WEBVTT", "", "00:00:01.000 --> 00:00:02.000"}) + regels + QStringList({""}));
}

void TestTleesSRTs::renderenZonderCues()
{
    TleesSRTs srt;
    srt.deRegels = QStringList({"old"});
    srt.schrijfSRTResultaat();
    QCOMPARE(srt.deRegels, QStringList());
    srt.schrijfVTTResultaat();
    QCOMPARE(srt.deRegels, QStringList({"WEBVTT", ""}));
}

void TestTleesSRTs::tweeKeerRenderenGeeftHetzelfde()
{
    TleesSRTs srt;
    vul(srt, {{0, 5003, "a"}, {4998, 6000, "b"}, {5500, 7000, "c"}});
    srt.schrijfSRTResultaat();
    const QStringList eerste = srt.deRegels;
    srt.schrijfSRTResultaat();
    QCOMPARE(srt.deRegels, eerste);
    QCOMPARE(toon(srt), QStringList({"1 0-5000 a", "2 5000-5750 b", "3 5750-7000 c"}));
}

void TestTleesSRTs::renderenNummertOpPlaatsEnNegeertCuesVoorbijAantal()
{
    TleesSRTs srt;
    vul(srt, {{0, 1000, "a"}, {1000, 2000, "b"}, {500, 3000, "never"}});
    srt.Cues[0].id = 7;
    srt.Cues[1].id = 9;
    srt.aantalCues = 2;
    srt.schrijfSRTResultaat();
    QCOMPARE(srt.deRegels, QStringList({"1", "00:00:00,000 --> 00:00:01,000", "a", "",
                                        "2", "00:00:01,000 --> 00:00:02,000", "b", ""}));
    QCOMPARE(qint64(srt.Cues[1].et), qint64(2000)); // not met by the cue beyond the count
}

void TestTleesSRTs::zoekSpatieVindtDeDichtsteBlank_data()
{
    QTest::addColumn<QString>("tekst");
    QTest::addColumn<int>("p");
    QTest::addColumn<int>("q");
    QTest::newRow("on a blank") << "ab cd" << 3 << 3;
    QTest::newRow("left is nearer") << "ab cdefg h" << 5 << 3;
    QTest::newRow("right is nearer") << "abc d efgh" << 3 << 4;
    QTest::newRow("tie goes right") << "a b c" << 3 << 4;
    QTest::newRow("no blank gives p") << "abcdef" << 3 << 3;
    QTest::newRow("p after the end") << "abc d" << 10 << 4;
    QTest::newRow("p before the start") << "ab c" << -5 << 3;
    QTest::newRow("empty text") << "" << 0 << 0;
    QTest::newRow("tab is no blank") << "ab\tc d" << 3 << 5;
}

void TestTleesSRTs::zoekSpatieVindtDeDichtsteBlank()
{
    QFETCH(QString, tekst);
    QFETCH(int, p);
    QFETCH(int, q);
    QCOMPARE(int(TleesSRTs::zoekSpatie(tekst, p)), q);
}

void TestTleesSRTs::breekRegelZetEenMarkering_data()
{
    QTest::addColumn<QString>("tekst");
    QTest::addColumn<QString>("verwacht");
    QTest::newRow("45 characters stay") << woorden(44) + "d" << woorden(44) + "d";
    const QString zesenveertig = QString(22, u'a') + u' ' + QString(23, u'b');
    QTest::newRow("46 characters break") << zesenveertig << QString(22, u'a') + u'|' + QString(23, u'b');
    QTest::newRow("tie goes right")
        << "we sat by the old stove and my aunt told long stories"
        << "we sat by the old stove and|my aunt told long stories";
    QTest::newRow("odd length rounds half to even")
        << "found work at the harbour and we all thought that life would be easier there."
        << "found work at the harbour and we all|thought that life would be easier there.";
    QTest::newRow("no blank: marker inserted before the middle")
        << QString(24, u'x') + QString(26, u'y') << QString(24, u'x') + u'|' + QString(26, u'y');
    QTest::newRow("one marker only") << woorden(200).replace(u' ', u'_') + " end"
                                     << woorden(200).replace(u' ', u'_') + "|end";
    // Six emoji are twelve code units: 48 in all, so the text breaks at 23.
    const QString emoji = QString::fromUtf8("\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600 ");
    QTest::newRow("surrogate pairs count twice")
        << emoji + woorden(35) << emoji + woorden(35).replace(9, 1, u'|');
    // 24 emoji without a blank: the middle, position 24, is the second half
    // of the twelfth; the marker goes behind that emoji, not into it.
    const QString twaalf = QString::fromUtf8("\U0001F600").repeated(12);
    QTest::newRow("no blank: a surrogate pair is not cut")
        << twaalf + twaalf << twaalf + u'|' + twaalf;
}

void TestTleesSRTs::breekRegelZetEenMarkering()
{
    QFETCH(QString, tekst);
    QFETCH(QString, verwacht);
    TleesSRTs srt;
    QCOMPARE(srt.breekRegel(tekst), verwacht);
}

void TestTleesSRTs::maakMooiMaaktSchoon_data()
{
    QTest::addColumn<QString>("tekst");
    QTest::addColumn<QString>("verwacht");
    QTest::newRow("remark first") << "[laughs] yes" << "yes";
    QTest::newRow("two remarks") << "yes [laughs] no [coughs]" << "yes no";
    QTest::newRow("] before [") << "a ] b [c] d" << "a ] b [c] d";
    QTest::newRow("unclosed") << "[unclosed" << "[unclosed";
    QTest::newRow("only a remark") << "[empty cue]" << "";
    QTest::newRow("nested to the first ]") << "[a [b] c] d" << "c] d";
    QTest::newRow("remark between words") << "yes[laughs]no" << "yes no";
    QTest::newRow("line feed") << "one\ntwo" << "one two";
    QTest::newRow("line feed beside blanks") << "one \n two" << "one two";
    QTest::newRow("double blank") << "a  b" << "a b";
    QTest::newRow("long run of blanks") << "a       b" << "a b";
    QTest::newRow("carriage return stays") << "a\rb" << "a\rb";
    QTest::newRow("trimmed") << " \tword\t " << "word";
}

void TestTleesSRTs::maakMooiMaaktSchoon()
{
    QFETCH(QString, tekst);
    QFETCH(QString, verwacht);
    TleesSRTs srt;
    vul(srt, {{0, 1000, tekst}});
    srt.maakMooi();
    QCOMPARE(srt.Cues[0].T, verwacht);
}

void TestTleesSRTs::maakMooiSplitsInTweeDelen()
{
    const QString tekst = "so we moved to the city in the spring of that year because my father had "
                          "found work at the harbour and we all thought that life would be easier there.";
    QCOMPARE(tekst.size(), 150);
    TleesSRTs srt;
    vul(srt, {{10000, 22000, tekst}});
    srt.maakMooi();
    QCOMPARE(toon(srt),
             QStringList({"1 10000-16000 so we moved to the city in the spring|of that year because my father had",
                          "2 16000-22000 found work at the harbour and we all|thought that life would be easier there."}));
    QCOMPARE(srt.Cues.size(), size_t(2));
}

void TestTleesSRTs::maakMooiSplitsInDrieDelen()
{
    const QString tekst = "after the war the family stayed in the old house near the river where my grandmother "
                          "kept chickens and grew beans, and every summer all the cousins came from the south to "
                          "help us with the harvest.";
    QCOMPARE(tekst.size(), 196);
    TleesSRTs srt;
    vul(srt, {{0, 10000, tekst}});
    srt.maakMooi();
    QCOMPARE(toon(srt),
             QStringList({"1 0-3333 after the war the family stayed|in the old house near the river",
                          "2 3333-6666 where my grandmother kept chickens|and grew beans, and every summer",
                          "3 6667-10000 all the cousins came from the|south to help us with the harvest."}));
}

void TestTleesSRTs::maakMooiSplitsGrenzen_data()
{
    QTest::addColumn<QList<C>>("cues");
    QTest::addColumn<QStringList>("verwacht");
    // woorden(n - 1) + "d": n characters with blanks at 5, 10, 15 ... and none at the end.
    const QString deel1 = "abcd abcd abcd abcd abcd abcd abcd|abcd abcd abcd abcd abcd abcd abcd abcd";
    const QString deel2 = "abcd abcd abcd abcd abcd abcd abcd abcd|abcd abcd abcd abcd abcd abcd abcdd";
    QTest::newRow("95 characters: not split, one marker")
        << QList<C>{{0, 1000, woorden(94) + "d"}}
        << QStringList({"1 0-1000 abcd abcd abcd abcd abcd abcd abcd abcd abcd abcd|"
                        "abcd abcd abcd abcd abcd abcd abcd abcd abcdd"});
    QTest::newRow("96 characters: two parts")
        << QList<C>{{0, 1000, woorden(94) + "dd"}}
        << QStringList({"1 0-500 abcd abcd abcd abcd abcd|abcd abcd abcd abcd abcd",
                        "2 500-1000 abcd abcd abcd abcd abcd|abcd abcd abcd abcddd"});
    QTest::newRow("190 characters: three parts")
        << QList<C>{{0, 3000, woorden(189) + "d"}}
        << QStringList({"1 0-1000 abcd abcd abcd abcd abcd abcd|abcd abcd abcd abcd abcd abcd abcd",
                        "2 1000-2000 abcd abcd abcd abcd abcd abcd|abcd abcd abcd abcd abcd abcd",
                        "3 2000-3000 abcd abcd abcd abcd abcd abcd|abcd abcd abcd abcd abcd abcd abcdd"});
    QTest::newRow("zero duration: parts at the cue's time")
        << QList<C>{{5000, 5000, woorden(149) + "d"}}
        << QStringList({"1 5000-5000 " + deel1, "2 5000-5000 " + deel2});
    QTest::newRow("1003 ms: half rounds to even, parts overlap")
        << QList<C>{{1000, 2003, woorden(149) + "d"}}
        << QStringList({"1 1000-1502 " + deel1, "2 1501-2003 " + deel2});
    QTest::newRow("renumbered around a split cue")
        << QList<C>{{0, 100, "first"}, {100, 300, woorden(149) + "d"}, {300, 400, "[laughs] last"}}
        << QStringList({"1 0-100 first", "2 100-200 " + deel1, "3 200-300 " + deel2, "4 300-400 last"});
    // 97 characters of two code units each (194 units), no blank: three parts
    // of 33, 32 and 32 characters. The first cut, after 65 units, would fall
    // inside a character and moves behind it; so does the marker of the two
    // later parts (position 32 of 64 units).
    const auto tekens = [](int n) { return QString::fromUtf8("\U00020000").repeated(n); };
    QTest::newRow("no blank: surrogate pairs stay whole")
        << QList<C>{{0, 3000, tekens(97)}}
        << QStringList({"1 0-1000 " + tekens(16) + "|" + tekens(17), "2 1000-2000 " + tekens(16) + "|" + tekens(16),
                        "3 2000-3000 " + tekens(16) + "|" + tekens(16)});
    QTest::newRow("cleaning comes before the length")
        << QList<C>{{0, 1000, "[" + woorden(100) + "] short"}} << QStringList({"1 0-1000 short"});
}

void TestTleesSRTs::maakMooiSplitsGrenzen()
{
    QFETCH(QList<C>, cues);
    QFETCH(QStringList, verwacht);
    TleesSRTs srt;
    vul(srt, cues);
    srt.maakMooi();
    QCOMPARE(toon(srt), verwacht);
    QCOMPARE(srt.Cues.size(), size_t(srt.aantalCues));
}

void TestTleesSRTs::maakMooiVerliestGeenTekenZonderBlank()
{
    QString tekst;
    for (int i = 0; i < 200; ++i)
        tekst += QChar(u'A' + i % 26);
    TleesSRTs srt;
    vul(srt, {{0, 3000, tekst}});
    srt.maakMooi();
    // 200 characters: three parts, cut after 67 (200 / 3 rounded) and 66 (133 / 2 rounded).
    QCOMPARE(toon(srt), QStringList({"1 0-1000 " + tekst.mid(0, 33) + "|" + tekst.mid(33, 34),
                                     "2 1000-2000 " + tekst.mid(67, 32) + "|" + tekst.mid(99, 34),
                                     "3 2000-3000 " + tekst.mid(133, 33) + "|" + tekst.mid(166)}));
    QString samen;
    for (const TCue &c : srt.Cues)
        samen += QString(c.T).remove(u'|');
    QCOMPARE(samen, tekst);
}

void TestTleesSRTs::maakMooiLaatCuesVoorbijAantalStaan()
{
    TleesSRTs srt;
    vul(srt, {{0, 1000, woorden(150)}, {0, 0, "[beyond]"}});
    srt.aantalCues = 1;
    srt.maakMooi();
    QCOMPARE(srt.aantalCues, 2);
    QCOMPARE(srt.Cues.size(), size_t(3));
    QCOMPARE(srt.Cues[2].T, QStringLiteral("[beyond]"));
}

void TestTleesSRTs::veruimToontijdVoorbeeld()
{
    TleesSRTs srt;
    vul(srt, {{1000, 2000, "A"}, {2500, 3000, "B"}, {3100, 4000, "C"}});
    srt.veruimToontijd(100, 200);
    QCOMPARE(toon(srt), QStringList({"1 900-2200 A", "2 2400-3066 B", "3 3067-4200 C"}));
}

void TestTleesSRTs::veruimToontijdDeeltDeTussenruimte_data()
{
    QTest::addColumn<qint64>("gat");
    QTest::addColumn<qint64>("eindA");
    QTest::addColumn<qint64>("startB");
    // A runs 1000 to 2000, B starts at 2000 + gat; tV 100, tN 200.
    QTest::newRow("more than enough room") << qint64(301) << qint64(2200) << qint64(2201);
    QTest::newRow("exactly enough: shares") << qint64(300) << qint64(2200) << qint64(2200);
    QTest::newRow("one short") << qint64(299) << qint64(2199) << qint64(2200);
    QTest::newRow("touching") << qint64(0) << qint64(2000) << qint64(2000);
    QTest::newRow("overlap of 90") << qint64(-90) << qint64(1940) << qint64(1940);
    QTest::newRow("overlap of 1") << qint64(-1) << qint64(2000) << qint64(1999);
}

void TestTleesSRTs::veruimToontijdDeeltDeTussenruimte()
{
    QFETCH(qint64, gat);
    QFETCH(qint64, eindA);
    QFETCH(qint64, startB);
    TleesSRTs srt;
    vul(srt, {{1000, 2000, "A"}, {2000 + gat, 9000, "B"}});
    srt.veruimToontijd(100, 200);
    QCOMPARE(toon(srt), QStringList({QStringLiteral("1 900-%1 A").arg(eindA),
                                     QStringLiteral("2 %1-9200 B").arg(startB)}));
}

void TestTleesSRTs::veruimToontijdBeginNietVoorNul_data()
{
    QTest::addColumn<qint64>("start");
    QTest::addColumn<qint64>("nieuw");
    QTest::newRow("below tV") << qint64(80) << qint64(0);
    QTest::newRow("at tV") << qint64(100) << qint64(0);
    QTest::newRow("above tV") << qint64(101) << qint64(1);
}

void TestTleesSRTs::veruimToontijdBeginNietVoorNul()
{
    QFETCH(qint64, start);
    QFETCH(qint64, nieuw);
    TleesSRTs srt;
    vul(srt, {{start, 1000, "one"}});
    srt.veruimToontijd(100, 200);
    QCOMPARE(toon(srt), QStringList({QStringLiteral("1 %1-1200 one").arg(nieuw)}));

    TleesSRTs leeg;
    leeg.veruimToontijd(100, 200);
    QCOMPARE(leeg.aantalCues, 0);
}

void TestTleesSRTs::veruimToontijdZonderTijdLaatParenStaan()
{
    TleesSRTs srt;
    vul(srt, {{1000, 2000, "A"}, {1900, 3000, "B"}, {3000, 4000, "C"}, {4500, 5000, "D"}});
    srt.veruimToontijd(0, 0);
    QCOMPARE(toon(srt), QStringList({"1 1000-2000 A", "2 1900-3000 B", "3 3000-4000 C", "4 4500-5000 D"}));
}

void TestTleesSRTs::tijdenAanDeRandLopenNietOver_data()
{
    // Times this far out only come from nonsense in a word file; the sums and
    // differences stop at the ends of the 64-bit range instead of wrapping.
    QTest::addColumn<bool>("veruim"); // veruimToontijd(100, 200), else maakMooi
    QTest::addColumn<QList<C>>("cues");
    QTest::addColumn<QStringList>("verwacht");
    const qint64 max = std::numeric_limits<qint64>::max();
    const qint64 min = std::numeric_limits<qint64>::min();
    const QString ma = QString::number(max);
    QTest::newRow("end past the largest time")
        << true << QList<C>{{0, max - 100, "a"}} << QStringList({"1 0-" + ma + " a"});
    QTest::newRow("gap larger than the range")
        << true << QList<C>{{0, min + 10, "a"}, {max - 1000, max - 1000, "b"}}
        << QStringList({QStringLiteral("1 0-%1 a").arg(min + 210), QStringLiteral("2 %1-%2 b").arg(max - 1100).arg(max - 800)});
    // The duration, 18e18 ms, does not fit: it counts as the largest time,
    // and each of the two parts lasts half of that.
    const qint64 half = max / 2 + 1; // 2^62: the half of 2^63 - 1, rounded
    QTest::newRow("split of a cue longer than the range")
        << false << QList<C>{{-9000000000000000000, 9000000000000000000, woorden(149) + "d"}}
        << QStringList({QStringLiteral("1 -9000000000000000000-%1 ").arg(-9000000000000000000 + half) +
                            "abcd abcd abcd abcd abcd abcd abcd|abcd abcd abcd abcd abcd abcd abcd abcd",
                        QStringLiteral("2 %1-9000000000000000000 ").arg(9000000000000000000 - half) +
                            "abcd abcd abcd abcd abcd abcd abcd abcd|abcd abcd abcd abcd abcd abcd abcdd"});
}

void TestTleesSRTs::tijdenAanDeRandLopenNietOver()
{
    QFETCH(bool, veruim);
    QFETCH(QList<C>, cues);
    QFETCH(QStringList, verwacht);
    TleesSRTs srt;
    vul(srt, cues);
    if (veruim)
        srt.veruimToontijd(100, 200);
    else
        srt.maakMooi();
    QCOMPARE(toon(srt), verwacht);
}

void TestTleesSRTs::maakMooiVolgtDeLetterlijkeWerkwijze()
{
    // The literal way: search the whole text again after every cut, trim after
    // every cut, and insert every part into the array where it belongs.
    auto letterlijk = [](TleesSRTs &srt) {
        for (std::int32_t k = 0; k < srt.aantalCues; ++k) {
            QString t = srt.Cues[size_t(k)].T;
            qsizetype a = t.indexOf(u'[') + 1, b = t.indexOf(u']') + 1;
            while (a > 0 && b > a) {
                t = trimTekst(t.left(a - 1) + " " + t.mid(b));
                a = t.indexOf(u'[') + 1;
                b = t.indexOf(u']') + 1;
            }
            t.replace(u'\n', u' ');
            while (t.contains("  "))
                t.replace("  ", " ");
            srt.Cues[size_t(k)].T = trimTekst(t);
        }
        for (std::int32_t k = 0; k < srt.aantalCues;) {
            QString t = srt.Cues[size_t(k)].T;
            const qsizetype lengte = t.size();
            if (lengte <= 95) {
                srt.Cues[size_t(k)].T = srt.breekRegel(t);
                ++k;
                continue;
            }
            const std::int32_t n = std::int32_t(lengte / 95) + 1;
            const qint64 d = afronden(double(srt.Cues[size_t(k)].et - srt.Cues[size_t(k)].st) / n);
            const qint64 s0 = srt.Cues[size_t(k)].st;
            for (std::int32_t i = 1; i < n; ++i) {
                const auto c = std::int32_t(afronden(double(t.size()) / (n - i + 1)));
                const std::int32_t q = TleesSRTs::zoekSpatie(t, c);
                const bool blank = q >= 1 && q <= t.size() && t[q - 1] == u' ';
                const qsizetype snede = blank ? q - 1 : c;
                const TCue deel{-1, s0 + (i - 1) * d, s0 + i * d, srt.breekRegel(t.left(snede))};
                srt.Cues.insert(srt.Cues.begin() + (k + i - 1), deel);
                ++srt.aantalCues;
                t = t.mid(blank ? q : c);
            }
            TCue &laatste = srt.Cues[size_t(k + n - 1)];
            laatste.st = laatste.et - d;
            laatste.T = srt.breekRegel(t);
            k += n;
        }
        for (std::int32_t i = 0; i < srt.aantalCues; ++i)
            srt.Cues[size_t(i)].id = i + 1;
    };
    const QStringList stukken = {"word", "a", " ", "  ", "[", "]", "[laughs]", "\n", "\t", "longerword", "x",
                                 "verylongwordwithoutanyblankinit"};
    QRandomGenerator toeval(42);
    for (int geval = 0; geval < 2000; ++geval) {
        QList<C> cues;
        const int aantal = 1 + int(toeval.bounded(4));
        for (int j = 0; j < aantal; ++j) {
            QString t;
            const int lengte = int(toeval.bounded(400));
            while (t.size() < lengte)
                t += stukken.at(toeval.bounded(int(stukken.size())));
            const qint64 st = toeval.bounded(100000);
            cues << C{st, st + toeval.bounded(20000), t};
        }
        TleesSRTs snel, traag;
        vul(snel, cues);
        vul(traag, cues);
        snel.maakMooi();
        letterlijk(traag);
        QCOMPARE(toon(snel), toon(traag));
    }
}

QTEST_APPLESS_MAIN(TestTleesSRTs)
#include "tst_tleessrts.moc"
