// The Glue command: the join and its offsets, the joined word table and text,
// the log of every step, and the Open Wav commands.
#include "job/tnaadwerkjob.h"
#include "lines/efout.h"
#include "lines/tleesctm.h"
#include "nepersoon_helper.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QStringList ctm1Regels{"u\t1\t0.10\t0.40\tso\t0.91\tSP_01 Anna", "u\t1\t0.40\t0.70\twe\t1\tSP_01 Anna",
                             "u\t1\t0.70\t1.20\tleft.\t0.5\tSP_01 Anna"};
const QStringList ctm2Regels{"u\t1\t0.00\t0.25\tyes\t0.75\tSP_02 Bob", "u\t1\t0.30\t0.90\tfine.\t1\tSP_02 Bob"};

} // namespace

class TstGlueOpdracht : public QObject
{
    Q_OBJECT

    QTemporaryDir map;
    QString pad(const QString &naam) const { return map.filePath(naam); }

private slots:
    void aWholeGlueLogsEveryStep();
    void offsetOfHalfTwo_data();
    void offsetOfHalfTwo();
    void cancelledDialogGluesWithMinusOne();
    void cancelledDialogKeepsTheNamesOfTheLastJoin();
    void missingRecordingIsNoError();
    void badHeaderEndsTheGlue();
    void acceptingTheProposedNameReplacesWavOne();
    void halfTwoIsShiftedAndNumberedOn();
    void onlyOneHalfOpened();
    void rowsBeyondTheWordsOfCtm2BecomeEmptyWords();
    void aSecondGlueAppendsAgain();
    void openWavShowsTheFrameCount();
    void openWavErrorsKeepCountAndLabel();
};

void TstGlueOpdracht::aWholeGlueLogsEveryStep()
{
    schrijfRegels(pad("a.ctm"), ctm1Regels);
    schrijfRegels(pad("b.ctm"), ctm2Regels);
    schrijfRegels(pad("a.txt"), {"[Speaker: SP_01 Anna]", "So we left."});
    schrijfRegels(pad("b.txt"), {"[Speaker: SP_02 Bob]", "Yes, fine."});
    schrijfWavBestand(pad("a.wav"), 16000, 1, 16, 160000);
    schrijfWavBestand(pad("b.wav"), 16000, 1, 16, 16000);

    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    persoon.openAntwoorden << pad("a.ctm") << pad("b.ctm") << pad("a.txt") << pad("b.txt") << pad("a.wav")
                           << pad("b.wav");
    job.miCTM1Click();
    job.miCTM2Click();
    job.miOpenText1Click();
    job.miOpenText2Click();
    job.miWav1Click();
    job.miWav2Click();
    QVERIFY(persoon.gelogd.isEmpty()); // the Open commands log nothing
    job.cbEnlarge = false;
    persoon.bewaarAntwoorden << pad("joined.wav");
    job.miGlueClick();

    QCOMPARE(persoon.gelogd,
             (QStringList{"Make one Wav-file from two", "Reading two wavfiles:",
                          "1: " + pad("a.wav") + " (160000)", "2: " + pad("b.wav") + " (16000)",
                          "Writting into wavfile:", "W: " + pad("joined.wav") + " (176000)",
                          "Samples to add is 160000", "Time to add is 10000ms", "Combining the two CTMs",
                          "Combining the two Texts", "Make Phrases", "Start making Phrases",
                          "Ready making Phrases", "Make SRT", "Start making SRT", "Ready making SRT",
                          "Make Word-like transcription", "Start making Word-file", "Ready making Word-file"}));
    QCOMPARE(job.tekst(TTekstView::Result), persoon.gelogd);
    QCOMPARE(persoon.dialogen.last().bewaren, true);
    QCOMPARE(persoon.dialogen.last().filterEntry, 3);
    QCOMPARE(persoon.dialogen.last().map, map.path());
    QCOMPARE(persoon.dialogen.last().voorstel, QStringLiteral("a.wav"));

    QCOMPARE(job.fnWav0, pad("joined.wav"));
    QCOMPARE(job.fnText0, pad("joined.txt"));
    QCOMPARE(job.fnCTM0, pad("joined.ctm"));
    QCOMPARE(QFileInfo(pad("joined.wav")).size(), 44 + 2 * 176000);
    QCOMPARE(job.L0, 176000);
    QCOMPARE(job.L1, 160000);
    QCOMPARE(job.L2, 16000);
    QCOMPARE(job.label(TLabel::Label1), pad("joined.ctm"));
    QCOMPARE(job.label(TLabel::Label2), QString());
    QCOMPARE(job.label(TLabel::Label5), "Word-file: " + pad("joined_word.txt"));
    QCOMPARE(job.label(TLabel::Label6), QString());
    QCOMPARE(job.label(TLabel::Label7), "Saved: " + pad("joined.wav"));
    QCOMPARE(job.label(TLabel::Label8), QString());
    QCOMPARE(job.gekozenTab(), TTab::CTM1);

    QCOMPARE(job.sgCTM1.aantalRijen(), 5);
    QCOMPARE(rij(job.sgCTM1, 2), (QStringList{"3", "700", "1200", "left.", "0.50", "SP_01 Anna"}));
    QCOMPARE(rij(job.sgCTM1, 3), (QStringList{"4", "10000", "10250", "yes", "0.75", "SP_02 Bob"}));
    QCOMPARE(rij(job.sgCTM1, 4), (QStringList{"5", "10300", "10900", "fine.", "1.00", "SP_02 Bob"}));
    QCOMPARE(rij(job.sgCTM2, 0), rij(job.sgCTM1, 3));
    QCOMPARE(job.deCues, (QStringList{"100|1200|so we left.", "10000|10900|yes fine."}));
    QCOMPARE(job.tekst(TTekstView::SRT),
             (QStringList{"1", "00:00:00,100 --> 00:00:01,200", "so we left.", "", "2",
                          "00:00:10,000 --> 00:00:10,900", "yes fine.", ""}));
    QCOMPARE(job.tekst(TTekstView::Text1),
             (QStringList{"[Speaker: SP_01 Anna]", "So we left.", "[Speaker: SP_02 Bob]", "Yes, fine."}));
    QCOMPARE(job.tekst(TTekstView::Word).mid(7), (QStringList{"Anna\tSo we left.", "Bob\tYes, fine."}));
}

void TstGlueOpdracht::offsetOfHalfTwo_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("kanalen");
    QTest::addColumn<qint64>("frames");
    QTest::addColumn<qint64>("sampPlus");
    QTest::addColumn<qint64>("tijdPlus");

    QTest::newRow("10 s at 16 kHz") << 16000 << 1 << qint64(160000) << qint64(160000) << qint64(10000);
    QTest::newRow("1.5 ms rounds up to 2") << 16000 << 1 << qint64(24) << qint64(24) << qint64(2);
    QTest::newRow("2.5 ms rounds down to 2") << 16000 << 1 << qint64(40) << qint64(40) << qint64(2);
    QTest::newRow("half a ms rounds to 0") << 16000 << 1 << qint64(8) << qint64(8) << qint64(0);
    QTest::newRow("stereo counts frames") << 16000 << 2 << qint64(1600) << qint64(1600) << qint64(100);
    // The offset is where half 2 starts in the joined 16 kHz file: 10 s of
    // 8 kHz audio take 160000 frames there.
    QTest::newRow("10 s at 8 kHz") << 8000 << 1 << qint64(80000) << qint64(160000) << qint64(10000);
    QTest::newRow("1 s at 44.1 kHz") << 44100 << 2 << qint64(44100) << qint64(16000) << qint64(1000);
}

void TstGlueOpdracht::offsetOfHalfTwo()
{
    QFETCH(int, rate);
    QFETCH(int, kanalen);
    QFETCH(qint64, frames);
    QFETCH(qint64, sampPlus);
    QFETCH(qint64, tijdPlus);
    schrijfWavBestand(pad("een.wav"), rate, kanalen, 16, frames);
    schrijfWavBestand(pad("twee.wav"), 16000, 1, 16, 100);

    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    persoon.openAntwoorden << pad("een.wav") << pad("twee.wav");
    job.miWav1Click();
    job.miWav2Click();
    persoon.bewaarAntwoorden << pad("samen.wav");
    job.miGlueClick();
    QCOMPARE(job.L1, frames);
    QCOMPARE(job.L2, 100);
    QCOMPARE(job.sampPlus, sampPlus);
    QCOMPARE(job.L0, sampPlus + 100);
    QCOMPARE(job.tijdPlus, tijdPlus);
    QCOMPARE(persoon.gelogd[2], "1: " + pad("een.wav") + " (" + QString::number(frames) + ")");
    QCOMPARE(persoon.gelogd[6], "Samples to add is " + QString::number(sampPlus));
    QCOMPARE(persoon.gelogd[7], "Time to add is " + QString::number(tijdPlus) + "ms");
}

void TstGlueOpdracht::cancelledDialogGluesWithMinusOne()
{
    schrijfRegels(pad("b.ctm"), ctm2Regels);
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    persoon.openAntwoorden << pad("b.ctm");
    job.miCTM2Click();
    const auto labels = persoon.labels;
    persoon.bewaarAntwoorden << QString();
    job.miGlueClick();
    QCOMPARE(persoon.gelogd.mid(0, 4), (QStringList{"Make one Wav-file from two", "Samples to add is -1",
                                                    "Time to add is -1ms", "Combining the two CTMs"}));
    for (const qint64 n : {job.L0, job.L1, job.L2, job.sampPlus, job.tijdPlus})
        QCOMPARE(n, -1);
    // The dialog only proposed a name: no label and no file name changed
    // before Word building set its label.
    QCOMPARE(persoon.labels.mid(0, labels.size()), labels);
    QCOMPARE(persoon.labels.size(), labels.size() + 1);
    QCOMPARE(job.fnWav0, QString());
    QCOMPARE(rij(job.sgCTM1, 0), (QStringList{"1", "-1", "249", "yes", "0.75", "SP_02 Bob"}));
}

void TstGlueOpdracht::cancelledDialogKeepsTheNamesOfTheLastJoin()
{
    schrijfWavBestand(pad("een.wav"), 16000, 1, 16, 10);
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    persoon.openAntwoorden << pad("een.wav");
    job.miWav1Click();
    persoon.bewaarAntwoorden << pad("eerste.wav") << QString();
    job.miGlueClick();
    job.miGlueClick();
    QCOMPARE(job.fnWav0, pad("eerste.wav"));
    QCOMPARE(job.fnText0, pad("eerste.txt"));
    QCOMPARE(job.fnCTM0, pad("eerste.ctm"));
    // Both times the dialog proposes WAV 1, not the last joined file.
    QCOMPARE(persoon.dialogen[2].voorstel, QStringLiteral("een.wav"));
    QCOMPARE(persoon.dialogen[2].map, map.path());
    QCOMPARE(job.tijdPlus, -1);
}

void TstGlueOpdracht::missingRecordingIsNoError()
{
    schrijfWavBestand(pad("een.wav"), 16000, 1, 16, 10);
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    persoon.openAntwoorden << pad("een.wav");
    job.miWav1Click();
    persoon.bewaarAntwoorden << pad("x.b.wav");
    job.miGlueClick();
    QCOMPARE(persoon.gelogd.mid(0, 3),
             (QStringList{"Make one Wav-file from two", "Samples to add is -1", "Time to add is -1ms"}));
    QCOMPARE(persoon.gelogd.last(), QStringLiteral("Ready making Word-file"));
    QCOMPARE(job.L1, -1);
    QCOMPARE(job.label(TLabel::Label1), pad("x.b.ctm"));
    QCOMPARE(job.label(TLabel::Label7), "Saved: " + pad("x.b.wav"));
    QVERIFY(!QFileInfo::exists(pad("x.b.wav")));
}

void TstGlueOpdracht::badHeaderEndsTheGlue()
{
    schrijfRegels(pad("b.ctm"), ctm2Regels);
    schrijfWavBestand(pad("een.wav"), 16000, 1, 16, 32);
    schrijfWavBestand(pad("twee.wav"), 16000, 1, 16, 32);
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    persoon.openAntwoorden << pad("b.ctm") << pad("een.wav") << pad("twee.wav");
    job.miCTM2Click();
    job.miWav1Click();
    job.miWav2Click();
    schrijfBytes(pad("twee.wav"), QByteArray("RIFX") + QByteArray(60, '\0'));
    persoon.bewaarAntwoorden << pad("kapot.wav");
    QCOMPARE(bericht([&] { job.miGlueClick(); }), QStringLiteral("Wrong idRIFF"));
    QCOMPARE(persoon.gelogd, QStringList{"Make one Wav-file from two"});
    QCOMPARE(job.L1, 32);
    QCOMPARE(job.L2, -1);
    QCOMPARE(job.L0, -1);
    QCOMPARE(job.sampPlus, -1);
    QCOMPARE(job.tijdPlus, -1);
    QCOMPARE(job.label(TLabel::Label7), "Saved: " + pad("kapot.wav"));
    QCOMPARE(job.sgCTM1.aantalRijen(), 0);
    QCOMPARE(job.sgCTM2.cel(0, 0), QStringLiteral("1"));
    QVERIFY(!QFileInfo::exists(pad("kapot.wav")));
}

void TstGlueOpdracht::acceptingTheProposedNameReplacesWavOne()
{
    schrijfWavBestand(pad("een.wav"), 16000, 1, 16, 48);
    schrijfWavBestand(pad("twee.wav"), 16000, 1, 16, 16);
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    persoon.openAntwoorden << pad("een.wav") << pad("twee.wav");
    job.miWav1Click();
    job.miWav2Click();
    persoon.bewaarAntwoorden << pad("een.wav");
    job.miGlueClick();
    QCOMPARE(job.L0, 64);
    QCOMPARE(job.tijdPlus, 3);
    QCOMPARE(QFileInfo(pad("een.wav")).size(), 44 + 2 * 64);
}

void TstGlueOpdracht::halfTwoIsShiftedAndNumberedOn()
{
    schrijfRegels(pad("a.ctm"), ctm1Regels);
    schrijfRegels(pad("b.ctm"), ctm2Regels);
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    persoon.openAntwoorden << pad("a.ctm") << pad("b.ctm");
    job.miCTM1Click();
    job.miCTM2Click();
    job.sgCTM2.zetCel(0, 3, QStringLiteral("edited"));
    job.tijdPlus = 600000;
    job.combineerCTMs();
    QCOMPARE(job.sgCTM1.aantalRijen(), 5);
    QCOMPARE(rij(job.sgCTM1, 0), (QStringList{"1", "100", "400", "so", "0.91", "SP_01 Anna"}));
    QCOMPARE(rij(job.sgCTM1, 3), (QStringList{"4", "600000", "600250", "yes", "0.75", "SP_02 Bob"}));
    QCOMPARE(rij(job.sgCTM1, 4), (QStringList{"5", "600300", "600900", "fine.", "1.00", "SP_02 Bob"}));
    QCOMPARE(job.sgCTM2.aantalRijen(), 2);
    QCOMPARE(rij(job.sgCTM2, 0), rij(job.sgCTM1, 3));
    QCOMPARE(rij(job.sgCTM2, 1), rij(job.sgCTM1, 4));
    QCOMPARE(job.ctm2->Woorden[0].st, 0);
}

void TstGlueOpdracht::onlyOneHalfOpened()
{
    schrijfRegels(pad("a.ctm"), ctm1Regels);
    schrijfRegels(pad("b.ctm"), ctm2Regels);
    {
        TNepPersoon persoon;
        TNaadwerkJob job(persoon);
        persoon.openAntwoorden << pad("b.ctm");
        job.miCTM2Click();
        job.tijdPlus = 5;
        job.combineerCTMs();
        QCOMPARE(job.sgCTM1.aantalRijen(), 2);
        QCOMPARE(rij(job.sgCTM1, 0), (QStringList{"1", "5", "255", "yes", "0.75", "SP_02 Bob"}));
    }
    {
        TNepPersoon persoon;
        TNaadwerkJob job(persoon);
        persoon.openAntwoorden << pad("a.ctm");
        job.miCTM1Click();
        job.tijdPlus = 5;
        job.combineerCTMs();
        job.combineerTexts();
        QCOMPARE(job.sgCTM1.aantalRijen(), 3);
        QCOMPARE(rij(job.sgCTM1, 2), (QStringList{"3", "700", "1200", "left.", "0.50", "SP_01 Anna"}));
        QCOMPARE(job.sgCTM2.aantalRijen(), 0);
        QVERIFY(job.tekst(TTekstView::Text1).isEmpty());
    }
}

void TstGlueOpdracht::rowsBeyondTheWordsOfCtm2BecomeEmptyWords()
{
    schrijfRegels(pad("drie.ctm"), {"u 1 0 1 a 1 S", "u 1 1 2 b 1 S", "u 1 2 3 c 1 S"});
    schrijfRegels(pad("fout.ctm"), {"u 1 5 6 d 0.25 T", "u 1 x 7 e 1 T"});
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    job.rbTab = false;
    persoon.openAntwoorden << pad("drie.ctm") << pad("fout.ctm");
    job.miCTM2Click();
    QVERIFY(bericht([&] { job.miCTM2Click(); }).contains("'x'"));
    // Table 2 still shows three rows; ctm2 holds two (the second undefined).
    QCOMPARE(job.sgCTM2.aantalRijen(), 3);
    QCOMPARE(job.ctm2->aantalWoorden, 2);
    job.tijdPlus = 100;
    job.combineerCTMs();
    QCOMPARE(job.sgCTM1.aantalRijen(), 3);
    QCOMPARE(rij(job.sgCTM1, 0), (QStringList{"1", "5100", "6100", "d", "0.25", "T"}));
    QCOMPARE(rij(job.sgCTM1, 2), (QStringList{"3", "100", "100", "", "0.00", ""}));
    QCOMPARE(rij(job.sgCTM2, 2), rij(job.sgCTM1, 2));
}

void TstGlueOpdracht::aSecondGlueAppendsAgain()
{
    schrijfRegels(pad("a.ctm"), ctm1Regels);
    schrijfRegels(pad("b.ctm"), ctm2Regels);
    schrijfRegels(pad("a.txt"), {"one."});
    schrijfRegels(pad("b.txt"), {"two."});
    schrijfWavBestand(pad("een.wav"), 16000, 1, 16, 16000);
    schrijfWavBestand(pad("twee.wav"), 16000, 1, 16, 16000);
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    persoon.openAntwoorden << pad("a.ctm") << pad("b.ctm") << pad("a.txt") << pad("b.txt") << pad("een.wav")
                           << pad("twee.wav");
    job.miCTM1Click();
    job.miCTM2Click();
    job.miOpenText1Click();
    job.miOpenText2Click();
    job.miWav1Click();
    job.miWav2Click();
    persoon.bewaarAntwoorden << pad("samen.wav") << QString();
    job.miGlueClick();
    job.miGlueClick();

    QCOMPARE(job.sgCTM1.aantalRijen(), 7);
    QCOMPARE(rij(job.sgCTM1, 4), (QStringList{"5", "1300", "1900", "fine.", "1.00", "SP_02 Bob"}));
    QCOMPARE(rij(job.sgCTM1, 5), (QStringList{"6", "-1", "249", "yes", "0.75", "SP_02 Bob"}));
    QCOMPARE(rij(job.sgCTM2, 1), (QStringList{"7", "299", "899", "fine.", "1.00", "SP_02 Bob"}));
    QCOMPARE(job.tekst(TTekstView::Text1), (QStringList{"one.", "two.", "two."}));
    QCOMPARE(job.tekst(TTekstView::Text2), QStringList{"two."});
    QCOMPARE(job.deCues.size(), 3);
    QCOMPARE(job.tekst(TTekstView::Word).mid(7), QStringList{"\tone. two. two."});
    QCOMPARE(persoon.gelogd.count("Make one Wav-file from two"), 2);
    QCOMPARE(job.tekst(TTekstView::Result), persoon.gelogd);
}

void TstGlueOpdracht::openWavShowsTheFrameCount()
{
    schrijfWavBestand(pad("stereo.wav"), 44100, 2, 16, 1000);
    schrijfWavBestand(pad("mono.wav"), 8000, 1, 8, 77);
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    persoon.openAntwoorden << pad("stereo.wav") << pad("mono.wav");
    job.miWav1Click();
    job.miWav2Click();
    QCOMPARE(job.fnWav1, pad("stereo.wav"));
    QCOMPARE(job.L1, 1000);
    QCOMPARE(job.L2, 77);
    QCOMPARE(job.label(TLabel::Label7), "Wav-file: " + pad("stereo.wav") + " - RIFF - 1000");
    QCOMPARE(job.label(TLabel::Label8), "Wav-file: " + pad("mono.wav") + " - RIFF - 77");
    QCOMPARE(persoon.dialogen[1].filterEntry, 3);
    QCOMPARE(persoon.tabs.size(), 1); // only start-up chose a tab
    QVERIFY(persoon.gelogd.isEmpty());
}

void TstGlueOpdracht::openWavErrorsKeepCountAndLabel()
{
    schrijfWavBestand(pad("goed.wav"), 16000, 1, 16, 50);
    schrijfBytes(pad("slecht.wav"), QByteArray("RIFF\x04\0\0\0WAVX", 12) + QByteArray(40, '\0'));
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    persoon.openAntwoorden << pad("goed.wav") << pad("slecht.wav") << pad("weg.wav");
    job.miWav1Click();
    QCOMPARE(bericht([&] { job.miWav1Click(); }), QStringLiteral("Wrong idWAVE"));
    QCOMPARE(job.fnWav1, pad("slecht.wav"));
    QCOMPARE(job.L1, 50);
    QCOMPARE(job.label(TLabel::Label7), "Wav-file: " + pad("goed.wav") + " - RIFF - 50");
    QCOMPARE(bericht([&] { job.miWav1Click(); }),
             "Cannot open file \"" + pad("weg.wav") + "\". No such file or directory");
    QCOMPARE(job.fnWav1, pad("weg.wav"));
    QCOMPARE(job.L1, 50);
}

QTEST_GUILESS_MAIN(TstGlueOpdracht)
#include "tst_glueopdracht.moc"
