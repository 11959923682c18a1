#include "bewaarpersoon_helper.h"

#include "job/tnaadwerkjob.h"
#include "lines/efout.h"
#include "lines/regellijst.h"
#include "lines/tleesctm.h"
#include "lines/tleessrts.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

using Rijen = QList<QStringList>; // rows of word table 1, six cells each

namespace {

QByteArray lees(const QString &pad)
{
    QFile f(pad);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}

QStringList bestanden(const QString &map)
{
    return QDir(map).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QString reden(int fout)
{
    return QString::fromLocal8Bit(std::strerror(fout));
}

void vulTabel(TTekstTabel &tabel, const Rijen &rijen)
{
    std::vector<QString> cellen;
    for (const QStringList &rij : rijen)
        cellen.insert(cellen.end(), rij.begin(), rij.end());
    tabel.vervangAlles(std::move(cellen));
}

const Rijen voorbeeldRijen = {
    {u"1"_s, u"0"_s, u"480"_s, u"SIL"_s, u"1.00"_s, u"A"_s},
    {u"2"_s, u"480"_s, u"900"_s, u"Good"_s, u"0.93"_s, u"A"_s},
    {u"3"_s, u"900"_s, u"1400"_s, u"morning."_s, u"0.88"_s, u"A"_s},
    {u"4"_s, u"1400"_s, u"2100"_s, u"SIL"_s, u"1.00"_s, u"A"_s},
    {u"5"_s, u"2100"_s, u"2500"_s, u"<unk>"_s, u"0.97"_s, u"B"_s},
    {u"6"_s, u"2500"_s, u"3020"_s, u"there!"_s, u"0.91"_s, u"B"_s},
};

// The state a Glue leaves when its dialog was answered with map/joined.wav.
void naEenGlue(TNaadwerkJob &job, const QString &map, const Rijen &rijen = voorbeeldRijen)
{
    job.fnWav0 = map + u"/joined.wav"_s;
    job.fnText0 = map + u"/joined.txt"_s;
    job.fnCTM0 = map + u"/joined.ctm"_s;
    job.fnWord = map + u"/joined_word.txt"_s;
    vulTabel(job.sgCTM1, rijen);
    job.zetTekst(TTekstView::Text1, {u"[StartTime: 0 ms]"_s, u"[Speaker: SP_01 A]"_s,
                                     u"Good morning."_s, QString(), u"  there!"_s});
    job.srt0->deRegels = QStringList{u"1"_s, u"00:00:00,380 --> 00:00:01,600"_s,
                                     u"Good morning."_s, QString()};
    job.deWord = QStringList{u"Interview joined_word.txt"_s, QString(), u"Transcript"_s,
                             u"A\tGood morning. there!"_s};
}

} // namespace

class TestBewaar : public QObject
{
    Q_OBJECT
private slots:
    void bewaarCTMSchrijftEenRegelPerRij_data();
    void bewaarCTMSchrijftEenRegelPerRij();
    void saveSchrijftAllesNaastDeOpname();
    void eenAfgebrokenDialoogSchrijftNiets();
    void saveVoorEenGlueStoptMeteen();
    void eenOngeldigeTijdStoptNaDeSRT_data();
    void eenOngeldigeTijdStoptNaDeSRT();
    void eenBestandDatNietGemaaktKanWorden_data();
    void eenBestandDatNietGemaaktKanWorden();
    void tweeKeerBewarenVolgtDeEersteSpreker();
    void hetVoorbeeldInterviewVanOpenenTotBewaren();
};

void TestBewaar::bewaarCTMSchrijftEenRegelPerRij_data()
{
    QTest::addColumn<Rijen>("rijen");
    QTest::addColumn<QChar>("sep");
    QTest::addColumn<QString>("ctmNaam");
    QTest::addColumn<QString>("bestand");
    QTest::addColumn<QStringList>("regels");

    QTest::newRow("a word without speaker: CTM, six fields")
        << Rijen{{u"1"_s, u"1500"_s, u"1890"_s, u"hello"_s, u"0.87"_s, u"X"_s}} << QChar(u' ')
        << u"joined.ctm"_s << u"joined.ctm"_s << QStringList{u"joined 1 1.500 1.890 hello 0.87"_s};
    QTest::newRow("a speaker: SPK, seven fields")
        << Rijen{{u"1"_s, u"1500"_s, u"1890"_s, u"hello"_s, u"0.87"_s, u"A"_s}} << QChar(u' ')
        << u"joined.ctm"_s << u"joined.spk"_s << QStringList{u"joined 1 1.500 1.890 hello 0.87 A"_s};
    QTest::newRow("zero and minus one")
        << Rijen{{u"1"_s, u"0"_s, u"-1"_s, u"a"_s, u"1.00"_s, u"X"_s}} << QChar(u' ')
        << u"joined.ctm"_s << u"joined.ctm"_s << QStringList{u"joined 1 0.000 -0.001 a 1.00"_s};
    QTest::newRow("first speaker X decides for all: no speakers")
        << Rijen{{u"1"_s, u"10"_s, u"20"_s, u"a"_s, u"0.50"_s, u"X"_s},
                 {u"2"_s, u"20"_s, u"30"_s, u"b"_s, u"0.60"_s, u"A"_s}}
        << QChar(u' ') << u"joined.ctm"_s << u"joined.ctm"_s
        << QStringList{u"joined 1 0.010 0.020 a 0.50"_s, u"joined 1 0.020 0.030 b 0.60"_s};
    QTest::newRow("first speaker A decides for all: X is written")
        << Rijen{{u"1"_s, u"10"_s, u"20"_s, u"a"_s, u"0.50"_s, u"A"_s},
                 {u"2"_s, u"20"_s, u"30"_s, u"b"_s, u"0.60"_s, u"X"_s}}
        << QChar(u' ') << u"joined.ctm"_s << u"joined.spk"_s
        << QStringList{u"joined 1 0.010 0.020 a 0.50 A"_s, u"joined 1 0.020 0.030 b 0.60 X"_s};
    QTest::newRow("x in lower case is a speaker")
        << Rijen{{u"1"_s, u"10"_s, u"20"_s, u"a"_s, u"0.50"_s, u"x"_s}} << QChar(u' ')
        << u"joined.ctm"_s << u"joined.spk"_s << QStringList{u"joined 1 0.010 0.020 a 0.50 x"_s};
    QTest::newRow("an empty table is an SPK file without lines")
        << Rijen{} << QChar(u' ') << u"joined.ctm"_s << u"joined.spk"_s << QStringList{};
    QTest::newRow("tab: one tab between fields, a blank inside a word stays")
        << Rijen{{u"1"_s, u"65000"_s, u"65250"_s, u"good day"_s, u"0.50"_s, u"SP 1"_s}}
        << QChar(u'\t') << u"joined.ctm"_s << u"joined.spk"_s
        << QStringList{u"joined\t1\t65.000\t65.250\tgood day\t0.50\tSP 1"_s};
    QTest::newRow("the base name loses only the last extension")
        << Rijen{{u"1"_s, u"7"_s, u"2147483647"_s, u"a"_s, u"0.10"_s, u"X"_s}} << QChar(u' ')
        << u"take.1.ctm"_s << u"take.1.ctm"_s << QStringList{u"take.1 1 0.007 2147483.647 a 0.10"_s};
    QTest::newRow("a name without extension gets one")
        << Rijen{{u"1"_s, u"-2147483648"_s, u"+5"_s, u"a"_s, u"0.10"_s, u"A"_s}} << QChar(u' ')
        << u"joined"_s << u"joined.spk"_s << QStringList{u"joined 1 -2147483.648 0.005 a 0.10 A"_s};
}

void TestBewaar::bewaarCTMSchrijftEenRegelPerRij()
{
    QFETCH(Rijen, rijen);
    QFETCH(QChar, sep);
    QFETCH(QString, ctmNaam);
    QFETCH(QString, bestand);
    QFETCH(QStringList, regels);

    QTemporaryDir map;
    TBewaarPersoon persoon;
    TNaadwerkJob job(persoon);
    vulTabel(job.sgCTM1, rijen);
    job.ctm0->sep = sep;
    job.fnCTM0 = map.filePath(ctmNaam);

    QCOMPARE(job.bewaarCTM(), true);
    const QString pad = map.filePath(bestand);
    QCOMPARE(job.fnCTM0, pad);
    QCOMPARE(job.ctm0->fileNaam, pad);
    QCOMPARE(job.ctm0->deRegels, regels);
    QCOMPARE(lees(pad), regellijstNaarBytes(regels));
    QCOMPARE(bestanden(map.path()), QStringList{bestand});
    QCOMPARE(job.tekst(TTekstView::Result), QStringList{u"Saving CTM: "_s + pad});
    QCOMPARE(job.label(TLabel::Label6), u"Saved: "_s + pad);
}

void TestBewaar::saveSchrijftAllesNaastDeOpname()
{
    QTemporaryDir tmp;
    const QString map = tmp.filePath(u"out"_s);
    const QString ander = tmp.filePath(u"elders"_s);
    QVERIFY(QDir().mkpath(map));
    QVERIFY(QDir().mkpath(ander));

    TBewaarPersoon persoon;
    TNaadwerkJob job(persoon);
    naEenGlue(job, map);
    const QStringList logVooraf = {u"earlier line"_s};
    job.zetTekst(TTekstView::Result, logVooraf);
    persoon.antwoorden = {ander + u"/other.srt"_s};

    job.miSaveClick();

    // The dialog proposes the text's name with ".srt"; the chosen name
    // influences no other file.
    QCOMPARE(persoon.vragen, (QList<TBewaarPersoon::Vraag>{{true, 1, map, u"joined.srt"_s}}));
    QCOMPARE(job.fnSRT, ander + u"/other.srt"_s);
    QCOMPARE(bestanden(ander), QStringList{u"other.srt"_s});
    QCOMPARE(bestanden(map), (QStringList{u"joined.html"_s, u"joined.spk"_s, u"joined.txt"_s,
                                          u"joined_word.txt"_s}));

    QCOMPARE(lees(ander + u"/other.srt"_s), regellijstNaarBytes(job.srt0->deRegels));
    QCOMPARE(leesRegellijst(map + u"/joined.spk"_s),
             (QStringList{u"joined 1 0.000 0.480 SIL 1.00 A"_s, u"joined 1 0.480 0.900 Good 0.93 A"_s,
                          u"joined 1 0.900 1.400 morning. 0.88 A"_s,
                          u"joined 1 1.400 2.100 SIL 1.00 A"_s,
                          u"joined 1 2.100 2.500 <unk> 0.97 B"_s,
                          u"joined 1 2.500 3.020 there! 0.91 B"_s}));
    // The text is written from its view, blank lines and leading blanks kept.
    QCOMPARE(lees(map + u"/joined.txt"_s), regellijstNaarBytes(job.tekst(TTekstView::Text1)));
    QCOMPARE(lees(map + u"/joined_word.txt"_s), regellijstNaarBytes(job.deWord));
    QCOMPARE(lees(map + u"/joined.html"_s), regellijstNaarBytes(job.deHTML));
    QCOMPARE(job.fnKarao, map + u"/joined.html"_s);

    // The page: title from the text's name, the words of table 1, the
    // recording by its bare name.
    const QStringList &pagina = job.deHTML;
    QCOMPARE(pagina.size(), 77 + 14 + 26);
    QCOMPARE(pagina[4], u"    <title>joined</title>"_s);
    QCOMPARE(pagina[79], u"    <h1>Forced Alignment joined</h1>"_s);
    QCOMPARE(pagina[85], u"   <h2>B</h2>"_s);
    QCOMPARE(pagina[87],
             u"     <span class=\"player conf10\" conf=\"1\" timestamp=\"2.100\" speaker=\"B\">"
             "&lt;unk&gt;</span>"_s);
    QCOMPARE(pagina[77 + 14 + 5], u"      <source src=\"joined.wav\" type=\"audio/wav\">"_s);

    QCOMPARE(job.label(TLabel::Label1), u"Saved: "_s + ander + u"/other.srt"_s);
    QCOMPARE(job.label(TLabel::Label6), u"Saved: "_s + map + u"/joined.spk"_s);
    QCOMPARE(job.label(TLabel::Label8), u"Saved: "_s + map + u"/joined.txt"_s);
    QCOMPARE(job.label(TLabel::Label2), u"Saved: "_s + map + u"/joined.html"_s);
    QCOMPARE(job.label(TLabel::Label5), u"Saved: "_s + map + u"/joined_word.txt"_s);
    QCOMPARE(job.tekst(TTekstView::Result),
             logVooraf + QStringList({u"Saving CTM: "_s + map + u"/joined.spk"_s,
                                      u"Start making Karaoke"_s, u"Ready making Karaoke"_s}));
}

void TestBewaar::eenAfgebrokenDialoogSchrijftNiets()
{
    QTemporaryDir map;
    TBewaarPersoon persoon;
    TNaadwerkJob job(persoon);
    naEenGlue(job, map.path());
    job.fnText0 = map.filePath(u"joined"_s); // no extension: ".srt" is appended

    job.miSaveClick();

    QCOMPARE(persoon.vragen, (QList<TBewaarPersoon::Vraag>{{true, 1, map.path(), u"joined.srt"_s}}));
    QCOMPARE(job.fnSRT, map.filePath(u"joined.srt"_s));
    QCOMPARE(job.fnCTM0, map.filePath(u"joined.ctm"_s));
    QCOMPARE(bestanden(map.path()), QStringList{});
    QCOMPARE(job.tekst(TTekstView::Result), QStringList{});
    for (int i = 0; i < aantalLabels; ++i)
        QCOMPARE(job.label(static_cast<TLabel>(i)), QString());
}

void TestBewaar::saveVoorEenGlueStoptMeteen()
{
    QTemporaryDir map;
    const QString terug = QDir::currentPath();
    QVERIFY(QDir::setCurrent(map.path()));

    TBewaarPersoon persoon;
    TNaadwerkJob job(persoon);
    vulTabel(job.sgCTM1, voorbeeldRijen);
    persoon.antwoorden = {map.filePath(u"x.srt"_s)};
    QString melding;
    try {
        job.miSaveClick();
    } catch (const EFout &e) {
        melding = e.bericht();
    }
    QDir::setCurrent(terug);

    QCOMPARE(melding, u"Nothing to save yet: run Glue first."_s);
    QCOMPARE(persoon.vragen.size(), 0);
    QCOMPARE(job.fnSRT, QString());
    QCOMPARE(bestanden(map.path()), QStringList{});
    QCOMPARE(job.tekst(TTekstView::Result), QStringList{});
    QCOMPARE(job.label(TLabel::Label1), QString());
}

void TestBewaar::eenOngeldigeTijdStoptNaDeSRT_data()
{
    QTest::addColumn<int>("kolom");
    QTest::addColumn<QString>("cel");
    QTest::newRow("start with a fraction") << 1 << u"1.5"_s;
    QTest::newRow("end beyond 32 bits") << 2 << u"2147483648"_s;
    QTest::newRow("empty start") << 1 << QString();
    QTest::newRow("end with a trailing letter") << 2 << u"12a"_s;
}

void TestBewaar::eenOngeldigeTijdStoptNaDeSRT()
{
    QFETCH(int, kolom);
    QFETCH(QString, cel);

    QTemporaryDir map;
    TBewaarPersoon persoon;
    TNaadwerkJob job(persoon);
    naEenGlue(job, map.path());
    job.sgCTM1.zetCel(2, kolom, cel);
    persoon.antwoorden = {map.filePath(u"joined.srt"_s)};

    QString melding;
    try {
        job.miSaveClick();
    } catch (const EFout &e) {
        melding = e.bericht();
    }
    QCOMPARE(melding, u"'%1' is not a valid integer value"_s.arg(cel));
    // The SRT is written; the word list holds the two lines built before.
    QCOMPARE(bestanden(map.path()), QStringList{u"joined.srt"_s});
    QCOMPARE(job.ctm0->deRegels.size(), 2);
    QCOMPARE(job.fnCTM0, map.filePath(u"joined.ctm"_s));
    QCOMPARE(job.label(TLabel::Label1), u"Saved: "_s + map.filePath(u"joined.srt"_s));
    QCOMPARE(job.label(TLabel::Label6), QString());
    QCOMPARE(job.tekst(TTekstView::Result), QStringList{});
}

void TestBewaar::eenBestandDatNietGemaaktKanWorden_data()
{
    QTest::addColumn<QString>("geval");
    QTest::addColumn<QString>("faalt");     // the file whose creation fails, relative
    QTest::addColumn<QStringList>("blijft"); // files written before, relative
    QTest::addColumn<int>("labels");          // labels set: 0 none, 1 Label1, ...
    QTest::newRow("the SRT's folder does not exist")
        << u"srt-map-weg"_s << u"weg/joined.srt"_s << QStringList{} << 0;
    QTest::newRow("the recording's folder does not exist")
        << u"opname-map-weg"_s << u"weg/joined.spk"_s << QStringList{u"joined.srt"_s} << 1;
    QTest::newRow("a file where the recording's folder should be")
        << u"opname-map-is-bestand"_s << u"bestand/joined.spk"_s << QStringList{u"joined.srt"_s}
        << 1;
    QTest::newRow("the transcript's folder does not exist")
        << u"woord-map-weg"_s << u"weg/joined_word.txt"_s
        << QStringList{u"joined.html"_s, u"joined.spk"_s, u"joined.srt"_s, u"joined.txt"_s} << 4;
    QTest::newRow("no permission in the recording's folder")
        << u"geen-recht"_s << u"dicht/joined.spk"_s << QStringList{u"joined.srt"_s} << 1;
}

void TestBewaar::eenBestandDatNietGemaaktKanWorden()
{
    QFETCH(QString, geval);
    QFETCH(QString, faalt);
    QFETCH(QStringList, blijft);
    QFETCH(int, labels);

    QTemporaryDir tmp;
    const QString map = tmp.path();
    TBewaarPersoon persoon;
    TNaadwerkJob job(persoon);
    naEenGlue(job, map);
    persoon.antwoorden = {map + u"/joined.srt"_s};
    int fout = ENOENT;
    bool onveranderlijk = false;

    if (geval == u"srt-map-weg") {
        persoon.antwoorden = {map + u"/weg/joined.srt"_s};
    } else if (geval == u"opname-map-weg") {
        naEenGlue(job, map + u"/weg"_s);
    } else if (geval == u"opname-map-is-bestand") {
        QFile f(map + u"/bestand"_s);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        naEenGlue(job, map + u"/bestand"_s);
        fout = ENOTDIR;
    } else if (geval == u"woord-map-weg") {
        job.fnWord = map + u"/weg/joined_word.txt"_s;
    } else if (geval == u"geen-recht") {
        QVERIFY(QDir(map).mkdir(u"dicht"_s));
        naEenGlue(job, map + u"/dicht"_s);
        if (::geteuid() != 0) {
            QVERIFY(QFile::setPermissions(map + u"/dicht"_s,
                                          QFile::ReadOwner | QFile::ExeOwner));
            fout = EACCES;
        } else if (QProcess::execute(u"chattr"_s, {u"+i"_s, map + u"/dicht"_s}) == 0) {
            // Root passes every permission check; an immutable folder still
            // refuses new files.
            onveranderlijk = true;
            fout = EPERM;
        } else {
            QSKIP("Running as root on a file system without chattr: no way to deny a "
                  "permission here.");
        }
    }

    QString melding;
    try {
        job.miSaveClick();
    } catch (const EFout &e) {
        melding = e.bericht();
    }
    if (onveranderlijk)
        QProcess::execute(u"chattr"_s, {u"-i"_s, map + u"/dicht"_s});

    QCOMPARE(melding, u"Cannot create file \"%1\". %2"_s.arg(map + u'/' + faalt, reden(fout)));
    QStringList geschreven = bestanden(map);
    geschreven.removeAll(u"bestand"_s);
    QCOMPARE(geschreven, blijft);
    for (const QString &sub : {u"dicht"_s})
        QCOMPARE(bestanden(map + u'/' + sub), QStringList{});

    const QList<TLabel> volgorde = {TLabel::Label1, TLabel::Label6, TLabel::Label8, TLabel::Label2,
                                    TLabel::Label5};
    for (int i = 0; i < volgorde.size(); ++i)
        QCOMPARE(job.label(volgorde[i]).startsWith(u"Saved: "_s), i < labels);
}

void TestBewaar::tweeKeerBewarenVolgtDeEersteSpreker()
{
    QTemporaryDir map;
    TBewaarPersoon persoon;
    TNaadwerkJob job(persoon);
    naEenGlue(job, map.path());
    persoon.antwoorden = {map.filePath(u"joined.srt"_s), map.filePath(u"joined.srt"_s)};

    job.miSaveClick();
    QCOMPARE(job.fnCTM0, map.filePath(u"joined.spk"_s));
    job.sgCTM1.zetCel(0, 5, u"X"_s);
    job.miSaveClick();
    QCOMPARE(job.fnCTM0, map.filePath(u"joined.ctm"_s));
    QCOMPARE(leesRegellijst(map.filePath(u"joined.ctm"_s)).first(),
             u"joined 1 0.000 0.480 SIL 1.00"_s);
    // The earlier SPK file stays; the second Save proposed the same SRT name.
    QVERIFY(QFile::exists(map.filePath(u"joined.spk"_s)));
    QCOMPARE(persoon.vragen.size(), 2);
    QCOMPARE(persoon.vragen[0], persoon.vragen[1]);
    QCOMPARE(job.tekst(TTekstView::Result).size(), 6);
}

void TestBewaar::hetVoorbeeldInterviewVanOpenenTotBewaren()
{
    const QString voorbeeld = QStringLiteral(NAADWERK_SOURCE_DIR) + u"/examples/"_s;
    QTemporaryDir map;
    TBewaarPersoon persoon;
    TNaadwerkJob job(persoon);
    persoon.antwoorden = {voorbeeld + u"interview_1.spk"_s, voorbeeld + u"interview_2.spk"_s,
                          voorbeeld + u"interview_1.txt"_s, voorbeeld + u"interview_2.txt"_s,
                          voorbeeld + u"interview_1.wav"_s, voorbeeld + u"interview_2.wav"_s,
                          map.filePath(u"interview.wav"_s), map.filePath(u"interview.srt"_s)};
    job.miCTM1Click();
    job.miCTM2Click();
    job.miOpenText1Click();
    job.miOpenText2Click();
    job.miWav1Click();
    job.miWav2Click();
    job.miGlueClick();
    job.miSaveClick();

    QCOMPARE(persoon.antwoorden, QStringList{});
    QCOMPARE(bestanden(map.path()),
             (QStringList{u"interview.html"_s, u"interview.spk"_s, u"interview.srt"_s,
                          u"interview.txt"_s, u"interview.wav"_s, u"interview_word.txt"_s}));

    // Every row of the joined table is a line of the word file, in order;
    // every word but "SIL" is a span of the page.
    const QStringList woorden = leesRegellijst(map.filePath(u"interview.spk"_s));
    QCOMPARE(woorden.size(), job.sgCTM1.aantalRijen());
    int spans = 0;
    for (int r = 0; r < job.sgCTM1.aantalRijen(); ++r) {
        const QStringList velden = woorden[r].split(u'\t');
        QCOMPARE(velden.size(), 7);
        QCOMPARE(velden[0], u"interview"_s);
        QCOMPARE(velden[4], job.sgCTM1.cel(r, 3));
        if (velden[4] != u"SIL")
            ++spans;
    }
    const QStringList pagina = leesRegellijst(map.filePath(u"interview.html"_s));
    QCOMPARE(pagina.filter(u"<span class=\"player conf10\""_s).size(), spans);
    QVERIFY(pagina.contains(u"   <h2>Respondent</h2>"_s));
    QVERIFY(!pagina.filter(u">&lt;unk&gt;</span>"_s).isEmpty());
    // The second half is shifted by the length of the first.
    QCOMPARE(pagina.filter(u"timestamp=\"17.930\" speaker=\"Interviewer\">What</span>"_s).size(), 1);

    QCOMPARE(leesRegellijst(map.filePath(u"interview_word.txt"_s)).first(),
             u"Interview interview_word.txt"_s);
    QCOMPARE(job.tekst(TTekstView::Result).mid(job.tekst(TTekstView::Result).size() - 3),
             (QStringList{u"Saving CTM: "_s + map.filePath(u"interview.spk"_s),
                          u"Start making Karaoke"_s, u"Ready making Karaoke"_s}));
}

QTEST_GUILESS_MAIN(TestBewaar)
#include "tst_bewaar.moc"
