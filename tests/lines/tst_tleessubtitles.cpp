#include "lines/efout.h"
#include "lines/tekst.h"
#include "lines/tleessrts.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Writes the lines as a UTF-8 file with LF line ends and returns its path.
QString schrijf(const QTemporaryDir &map, const QStringList &regels, const QString &naam = "in.srt")
{
    const QString pad = map.filePath(naam);
    QFile f(pad);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(pad));
    for (const QString &r : regels)
        f.write(r.toUtf8() + '\n');
    return pad;
}

QStringList toon(const TleesSRTs &srt)
{
    QStringList uit;
    for (std::int32_t i = 0; i < srt.aantalCues; ++i) {
        const TCue &c = srt.Cues[static_cast<size_t>(i)];
        uit << QStringLiteral("%1 %2-%3 %4").arg(c.id).arg(c.st).arg(c.et).arg(c.T);
    }
    return uit;
}

} // namespace

class TestTleesSubtitles : public QObject
{
    Q_OBJECT
private slots:
    void leestCuesEnMarkeertLegeCues();
    void normaliseertDeRegels_data();
    void normaliseertDeRegels();
    void leestCues_data();
    void leestCues();
    void fouteTijdStoptHetLezen();
    void ontbrekendBestandLeestDeOudeRegelsOpnieuw();
    void normalisatieVolgtDeLetterlijkeWerkwijze();
};

void TestTleesSubtitles::leestCuesEnMarkeertLegeCues()
{
    QTemporaryDir map;
    TleesSRTs srt;
    srt.fileNaam = schrijf(map, {"1", "00:00:01,000 --> 00:00:02,500", "Hello ,world", "and more", "",
                                 "2", "00:00:03,000 --> 00:00:04,000", ""});
    srt.leesBestand();
    QCOMPARE(srt.deRegels, QStringList({"1", "00:00:01,000 --> 00:00:02,500", "Hello, world", "and more", "",
                                        "2", "00:00:03,000 --> 00:00:04,000", "[empty cue]", ""}));
    QCOMPARE(srt.aantalRegels, 9);
    QCOMPARE(toon(srt), QStringList({"1 1000-2500 Hello, world and more", "2 3000-4000 [empty cue]"}));
    // One record per line was made; only the parsed ones count.
    QCOMPARE(srt.Cues.size(), size_t(9));
    QCOMPARE(srt.deNaam, QStringLiteral("in"));
}

void TestTleesSubtitles::normaliseertDeRegels_data()
{
    QTest::addColumn<QStringList>("regels");
    QTest::addColumn<QStringList>("verwacht");
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

void TestTleesSubtitles::normaliseertDeRegels()
{
    QFETCH(QStringList, regels);
    QFETCH(QStringList, verwacht);
    QTemporaryDir map;
    TLeesSubtitles sub;
    sub.fileNaam = schrijf(map, regels);
    sub.leesBestand();
    QCOMPARE(sub.deRegels, verwacht);
    QCOMPARE(sub.aantalRegels, int(verwacht.size()));
}

void TestTleesSubtitles::leestCues_data()
{
    QTest::addColumn<QStringList>("regels");
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
}

void TestTleesSubtitles::leestCues()
{
    QFETCH(QStringList, regels);
    QFETCH(QStringList, cues);
    QTemporaryDir map;
    TleesSRTs srt;
    srt.fileNaam = schrijf(map, regels);
    srt.leesBestand();
    QCOMPARE(toon(srt), cues);
}

void TestTleesSubtitles::fouteTijdStoptHetLezen()
{
    QTemporaryDir map;
    TleesSRTs srt;
    srt.fileNaam = schrijf(map, {"00:00:01,000 --> 00:00:02,000", "a", "", "00:00:03,000 --> 00:0x:04,000",
                                 "b", "", "00:00:05,000 --> 00:00:06,000", "c", ""});
    try {
        srt.leesBestand();
        QFAIL("no error");
    } catch (const EFout &e) {
        QCOMPARE(e.bericht(), QStringLiteral("'0x' is not a valid integer value"));
    }
    // The count is still the one of maakRecords; the cue before the bad one is filled.
    QCOMPARE(srt.aantalCues, srt.aantalRegels);
    QCOMPARE(srt.Cues[0].T, QStringLiteral("a"));
    QCOMPARE(qint64(srt.Cues[0].et), qint64(2000));
    QCOMPARE(srt.Cues[1].T, QString());
}

void TestTleesSubtitles::ontbrekendBestandLeestDeOudeRegelsOpnieuw()
{
    QTemporaryDir map;
    TleesSRTs srt;
    srt.fileNaam = schrijf(map, {"00:00:01,000 --> 00:00:02,000", "a", "", "", "00:00:03,000 --> 00:00:04,000"});
    srt.leesBestand();
    const QStringList regels = srt.deRegels;
    const QStringList cues = toon(srt);
    QCOMPARE(cues, QStringList({"1 1000-2000 a", "2 3000-4000 [empty cue]"}));

    srt.fileNaam = map.filePath("missing.srt");
    srt.leesBestand();
    QCOMPARE(srt.deRegels, regels);
    QCOMPARE(srt.aantalRegels, int(regels.size()));
    QCOMPARE(toon(srt), cues);
    QCOMPARE(srt.deNaam, QStringLiteral("in"));

    TleesSRTs nieuw;
    nieuw.fileNaam = map.filePath("missing.srt");
    nieuw.leesBestand();
    QCOMPARE(nieuw.aantalRegels, 0);
    QCOMPARE(nieuw.aantalCues, 0);
    QVERIFY(nieuw.deRegels.isEmpty());
}

void TestTleesSubtitles::normalisatieVolgtDeLetterlijkeWerkwijze()
{
    // The literal way: insert and delete in the list itself, one line at a time.
    auto letterlijk = [](QStringList l) {
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
            r = trimTekst(r);
        }
        return l;
    };
    const QStringList stukken = {"", "", "", "00:00:01,000 --> 00:00:02,000", "1", "a --> b", "<br>",
                                 "a ,b", "x  .  y", "why ?", "a     b", "text"};
    QRandomGenerator toeval(17);
    for (int geval = 0; geval < 3000; ++geval) {
        QStringList regels;
        const int n = int(toeval.bounded(14));
        for (int i = 0; i < n; ++i)
            regels << stukken.at(toeval.bounded(int(stukken.size())));
        QCOMPARE(normaliseerSubtitelRegels(regels, regels.size()), letterlijk(regels));
    }
}

QTEST_APPLESS_MAIN(TestTleesSubtitles)
#include "tst_tleessubtitles.moc"
