// SRT building from the phrase table, and the WebVTT file of its cues.
#include "job/tnaadwerkjob.h"
#include "lines/efout.h"
#include "lines/regellijst.h"
#include "lines/tleessrts.h"
#include "nepersoon_helper.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// Phrase table rows given as {start, end, text}.
using Phrases = QList<QStringList>;

void vulPhrases(TTekstTabel &tabel, const Phrases &phrases)
{
    std::vector<QString> cellen;
    for (int r = 0; r < phrases.size(); ++r)
        cellen.insert(cellen.end(), {QString::number(r + 1), phrases[r][0], phrases[r][1],
                                     QString::number(phrases[r][2].size()), phrases[r][2]});
    tabel.vervangAlles(std::move(cellen));
}

const QString lang = QStringLiteral(
    "so we moved to the city in the spring of that year because my father had found work at the "
    "harbour and we all thought that life would be easier there.");

} // namespace

class TstSrt : public QObject
{
    Q_OBJECT

private slots:
    void srtLinesOfThePhrases_data();
    void srtLinesOfThePhrases();
    void badTimeCellEndsTheBuild_data();
    void badTimeCellEndsTheBuild();
    void aSecondBuildLeavesNothingOfTheFirst();
    void webVttFileLeavesTheSrtLines();
};

void TstSrt::srtLinesOfThePhrases_data()
{
    QTest::addColumn<Phrases>("phrases");
    QTest::addColumn<bool>("enlarge");
    QTest::addColumn<int>("voor");
    QTest::addColumn<int>("na");
    QTest::addColumn<QStringList>("regels");

    const Phrases een{{"1000", "2100", "so we left."}};
    QTest::newRow("empty table") << Phrases{} << true << 100 << 200 << QStringList{};
    QTest::newRow("one phrase as it is")
        << een << false << 100 << 200
        << QStringList{"1", "00:00:01,000 --> 00:00:02,100", "so we left.", ""};
    QTest::newRow("one phrase shown longer")
        << een << true << 100 << 200
        << QStringList{"1", "00:00:00,900 --> 00:00:02,300", "so we left.", ""};
    QTest::newRow("widening by nothing keeps the times")
        << een << true << 0 << 0 << QStringList{"1", "00:00:01,000 --> 00:00:02,100", "so we left.", ""};
    QTest::newRow("times are rounded half to even")
        << Phrases{{"12.5", "2013.5", "x."}} << false << 100 << 200
        << QStringList{"1", "00:00:00,012 --> 00:00:02,014", "x.", ""};
    QTest::newRow("a long phrase becomes two cues, numbered on")
        << Phrases{{"1000", "9000", "before."}, {"10000", "22000", lang}, {"23000", "24000", "after."}}
        << false << 100 << 200
        << QStringList{"1", "00:00:01,000 --> 00:00:09,000", "before.", "",
                       "2", "00:00:10,000 --> 00:00:16,000", "so we moved to the city in the spring",
                       "of that year because my father had", "",
                       "3", "00:00:16,000 --> 00:00:22,000", "found work at the harbour and we all",
                       "thought that life would be easier there.", "",
                       "4", "00:00:23,000 --> 00:00:24,000", "after.", ""};
}

void TstSrt::srtLinesOfThePhrases()
{
    QFETCH(Phrases, phrases);
    QFETCH(bool, enlarge);
    QFETCH(int, voor);
    QFETCH(int, na);
    QFETCH(QStringList, regels);

    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    job.cbEnlarge = enlarge;
    job.sbBefore = voor;
    job.sbBeforeChange();
    job.sbAfter = na;
    job.sbAfterChange();
    vulPhrases(job.sgSRT, phrases);
    job.maakSRT();
    QCOMPARE(job.tekst(TTekstView::SRT), regels);
    QCOMPARE(job.srt0->deRegels, regels);
    QCOMPARE(persoon.gelogd, (QStringList{"Start making SRT", "Ready making SRT"}));
    QCOMPARE(persoon.gewijzigd.last(), TTekstView::SRT);
}

void TstSrt::badTimeCellEndsTheBuild_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("bericht");
    QTest::newRow("decimal comma") << "12,5" << "'12,5' is not a valid floating point value";
    QTest::newRow("empty cell") << "" << "'' is not a valid floating point value";
    QTest::newRow("letters") << "abc" << "'abc' is not a valid floating point value";
}

void TstSrt::badTimeCellEndsTheBuild()
{
    QFETCH(QString, start);
    QFETCH(QString, bericht);
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    vulPhrases(job.sgSRT, {{"0", "500", "a."}});
    job.maakSRT();
    vulPhrases(job.sgSRT, {{"100", "900", "b."}, {start, "2000", "c."}});
    persoon.gelogd.clear();
    try {
        job.maakSRT();
        QFAIL("no error");
    } catch (const EFout &e) {
        QCOMPARE(e.bericht(), bericht);
    }
    QCOMPARE(persoon.gelogd, QStringList{"Start making SRT"});
    QVERIFY(job.tekst(TTekstView::SRT).isEmpty());
    QVERIFY(job.srt0->deRegels.isEmpty());
    QCOMPARE(job.srt0->Cues[0].st, 100);
    QCOMPARE(job.srt0->Cues[0].T, QStringLiteral("b."));
}

void TstSrt::aSecondBuildLeavesNothingOfTheFirst()
{
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    job.cbEnlarge = false;
    vulPhrases(job.sgSRT, {{"0", "500", "a."}, {"600", "900", "b."}});
    job.maakSRT();
    vulPhrases(job.sgSRT, {{"5000", "6000", "c."}});
    job.maakSRT();
    const QStringList regels{"1", "00:00:05,000 --> 00:00:06,000", "c.", ""};
    QCOMPARE(job.tekst(TTekstView::SRT), regels);
    QCOMPARE(job.srt0->deRegels, regels);
    QCOMPARE(job.srt0->aantalCues, 1);
}

void TstSrt::webVttFileLeavesTheSrtLines()
{
    QTemporaryDir map;
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    job.cbEnlarge = false;
    vulPhrases(job.sgSRT, {{"10000", "16000", "so we moved to the city in the spring of that year because"},
                           {"15990", "22000", "found work."}});
    job.maakSRT();
    const QStringList srt = job.srt0->deRegels;
    job.bewaarVTT(map.filePath("uit.vtt"));
    QCOMPARE(leesRegellijst(map.filePath("uit.vtt")),
             (QStringList{"WEBVTT", "", "00:00:10.000 --> 00:00:15.995", "so we moved to the city in the",
                          "spring of that year because", "", "00:00:15.995 --> 00:00:22.000", "found work.", ""}));
    QCOMPARE(job.srt0->deRegels, srt);
    QCOMPARE(srt[1], QStringLiteral("00:00:10,000 --> 00:00:15,995"));
    QCOMPARE(persoon.gelogd.size(), 2); // writing the WebVTT file logs nothing
}

QTEST_GUILESS_MAIN(TstSrt)
#include "tst_srt.moc"
