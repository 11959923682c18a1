// Start-up, the Open commands for the word files and texts, the settings and Exit.
#include "job/tnaadwerkjob.h"
#include "lines/efout.h"
#include "lines/tleesctm.h"
#include "nepersoon_helper.h"

#include <QTemporaryDir>
#include <QTest>

class TstOpenen : public QObject
{
    Q_OBJECT

    QTemporaryDir map;
    QString pad(const QString &naam) const { return map.filePath(naam); }

private slots:
    void startUpSetsTheDefaults();
    void openCtmFillsItsTable_data();
    void openCtmFillsItsTable();
    void openCtmSetsLabelTabAndSeparators();
    void separatorChosenLaterWaitsForTheNextOpen();
    void badNumberLeavesTableLabelAndTab();
    void missingCtmFileShowsTheListHeldBefore();
    void openTextKeepsLinesAsTheyAre();
    void missingTextFileKeepsTheView();
    void cancelledDialogsChangeNothing();
    void spinBoxesSetTheDisplayTimes();
    void exitFreesTheListsAndClosesTheWindow();
};

void TstOpenen::startUpSetsTheDefaults()
{
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    QCOMPARE(job.tV, 100);
    QCOMPARE(job.tN, 200);
    QCOMPARE(job.sbBefore, 100);
    QCOMPARE(job.sbAfter, 200);
    QVERIFY(job.cbEnlarge);
    QVERIFY(job.cbSkipwords);
    QVERIFY(job.cbSilence);
    QVERIFY(job.rbTab);
    QCOMPARE(job.gekozenTab(), TTab::CTM1);
    QCOMPARE(persoon.tabs, QList<TTab>{TTab::CTM1});
    for (int i = 0; i < aantalLabels; ++i)
        QCOMPARE(job.label(static_cast<TLabel>(i)), QString());
    QVERIFY(job.ctm0 && job.ctm1 && job.ctm2 && job.srt0);
    // A new word list separates with a blank until a file is opened.
    QCOMPARE(job.ctm0->sep, QChar(u' '));
    QCOMPARE(job.L0, 0);
    QCOMPARE(job.tijdPlus, 0);
    QCOMPARE(job.sgCTM1.aantalRijen(), 0);
    QCOMPARE(job.sgCTM1.aantalKolommen(), 6);
    QCOMPARE(job.sgCTM1.headerData(4, Qt::Horizontal).toString(), QStringLiteral("Confidentiality"));
    QCOMPARE(job.sgSRT.aantalKolommen(), 5);
    QCOMPARE(job.sgSRT.headerData(3, Qt::Horizontal).toString(), QStringLiteral("#Chars"));
    QVERIFY(job.tekst(TTekstView::Result).isEmpty());
    QVERIFY(persoon.gelogd.isEmpty());
}

void TstOpenen::openCtmFillsItsTable_data()
{
    QTest::addColumn<QStringList>("bestand");
    QTest::addColumn<bool>("tab");
    QTest::addColumn<QList<QStringList>>("rijen");

    QTest::newRow("a final SIL word is dropped")
        << QStringList{"utt\t1\t0.50\t0.92\thello\t1", "utt\t1\t0.92\t1.5\tworld.\t0.5",
                       "utt\t1\t1.5\t2.0\tSIL\t1"}
        << true
        << QList<QStringList>{{"1", "500", "920", "hello", "1.00", "X"},
                              {"2", "920", "1500", "world.", "0.50", "X"}};
    QTest::newRow("speaker field, blank separator")
        << QStringList{"utt 1 0.0625 0.1875 yes 0.87 SP 1", "utt 1 -0.25 1e3 no 0.875 SP2"} << false
        << QList<QStringList>{{"1", "62", "188", "yes", "0.87", "SP 1"},
                              {"2", "-250", "1000000", "no", "0.88", "SP2"}};
    QTest::newRow("empty file gives no rows") << QStringList{} << true << QList<QStringList>{};
}

void TstOpenen::openCtmFillsItsTable()
{
    QFETCH(QStringList, bestand);
    QFETCH(bool, tab);
    QFETCH(QList<QStringList>, rijen);
    schrijfRegels(pad("w.ctm"), bestand);

    for (int nr : {1, 2}) {
        TNepPersoon persoon;
        TNaadwerkJob job(persoon);
        job.rbTab = tab;
        persoon.openAntwoorden << pad("w.ctm");
        nr == 1 ? job.miCTM1Click() : job.miCTM2Click();
        const TTekstTabel &tabel = nr == 1 ? job.sgCTM1 : job.sgCTM2;
        const TTekstTabel &ander = nr == 1 ? job.sgCTM2 : job.sgCTM1;
        QCOMPARE(tabel.aantalRijen(), rijen.size());
        for (int r = 0; r < rijen.size(); ++r)
            QCOMPARE(rij(tabel, r), rijen[r]);
        QCOMPARE(ander.aantalRijen(), 0);
        QCOMPARE(persoon.dialogen.size(), 1);
        QCOMPARE(persoon.dialogen[0].filterEntry, 1);
        QVERIFY(!persoon.dialogen[0].bewaren);
    }
}

void TstOpenen::openCtmSetsLabelTabAndSeparators()
{
    schrijfRegels(pad("tab.ctm"), {"u\t1\t0\t1\ta\t1"});
    schrijfRegels(pad("blank.ctm"), {"u 1 0 1 a 1"});
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);

    persoon.openAntwoorden << pad("tab.ctm");
    job.miCTM1Click();
    QCOMPARE(job.fnCTM1, pad("tab.ctm"));
    QCOMPARE(job.label(TLabel::Label1), "CTM-file: " + pad("tab.ctm"));
    QCOMPARE(job.gekozenTab(), TTab::CTM1);
    QCOMPARE(job.ctm1->sep, QChar(u'\t'));
    QCOMPARE(job.ctm0->sep, QChar(u'\t'));

    job.rbTab = false;
    persoon.openAntwoorden << pad("blank.ctm");
    job.miCTM2Click();
    QCOMPARE(job.fnCTM2, pad("blank.ctm"));
    QCOMPARE(job.label(TLabel::Label2), "CTM-file: " + pad("blank.ctm"));
    QCOMPARE(job.gekozenTab(), TTab::CTM2);
    QCOMPARE(job.ctm2->sep, QChar(u' '));
    // The joined file takes the separator of the file opened last, of either half.
    QCOMPARE(job.ctm0->sep, QChar(u' '));
    QCOMPARE(job.ctm1->sep, QChar(u'\t'));
    QCOMPARE(job.sgCTM2.cel(0, 3), QStringLiteral("a"));
}

void TstOpenen::separatorChosenLaterWaitsForTheNextOpen()
{
    schrijfRegels(pad("tab.ctm"), {"u\t1\t0\t1\ta\t1"});
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    persoon.openAntwoorden << pad("tab.ctm");
    job.miCTM1Click();
    job.rbTab = false;
    QCOMPARE(job.ctm0->sep, QChar(u'\t'));
    QCOMPARE(job.sgCTM1.aantalRijen(), 1);
}

void TstOpenen::badNumberLeavesTableLabelAndTab()
{
    schrijfRegels(pad("goed.ctm"), {"u\t1\t0\t1\ta\t1", "u\t1\t1\t2\tb\t1"});
    schrijfRegels(pad("fout.ctm"), {"u 1 0 1 c 1", "u 1 x 2 d 1"});
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    persoon.openAntwoorden << pad("goed.ctm") << pad("goed.ctm") << pad("fout.ctm");
    job.miCTM2Click();
    job.miCTM1Click();
    job.rbTab = false;
    QCOMPARE(bericht([&] { job.miCTM2Click(); }),
             QStringLiteral("'x' is not a valid floating point value"));
    // The read got as far as the words: name and separators are changed,
    // the table, the label and the tab are not.
    QCOMPARE(job.fnCTM2, pad("fout.ctm"));
    QCOMPARE(job.ctm2->sep, QChar(u' '));
    QCOMPARE(job.ctm0->sep, QChar(u' '));
    QCOMPARE(job.sgCTM2.aantalRijen(), 2);
    QCOMPARE(rij(job.sgCTM2, 1), (QStringList{"2", "1000", "2000", "b", "1.00", "X"}));
    QCOMPARE(job.label(TLabel::Label2), "CTM-file: " + pad("goed.ctm"));
    QCOMPARE(job.gekozenTab(), TTab::CTM1);
}

void TstOpenen::missingCtmFileShowsTheListHeldBefore()
{
    schrijfRegels(pad("een.ctm"), {"u 1 0 1 a 1", "u 1 1 2 b 1"});
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    job.rbTab = false;
    persoon.openAntwoorden << pad("een.ctm") << pad("weg.ctm");
    job.miCTM1Click();
    job.sgCTM1.zetCel(0, 3, QStringLiteral("edited"));
    job.miCTM1Click();
    // The word list keeps its lines and reads them again; the label names the new path.
    QCOMPARE(job.sgCTM1.aantalRijen(), 2);
    QCOMPARE(job.sgCTM1.cel(0, 3), QStringLiteral("a"));
    QCOMPARE(job.label(TLabel::Label1), "CTM-file: " + pad("weg.ctm"));

    // A fresh word list that never held lines shows no rows.
    persoon.openAntwoorden << pad("weg.ctm");
    job.miCTM2Click();
    QCOMPARE(job.sgCTM2.aantalRijen(), 0);
    QCOMPARE(job.label(TLabel::Label2), "CTM-file: " + pad("weg.ctm"));
}

void TstOpenen::openTextKeepsLinesAsTheyAre()
{
    schrijfBytes(pad("t1.txt"), "\xEF\xBB\xBF  first\r\n\r\n\tthird  \r\n");
    schrijfBytes(pad("t2.txt"), "one\ntwo");
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    persoon.openAntwoorden << pad("t1.txt") << pad("t2.txt");
    job.miOpenText1Click();
    const QStringList een{"  first", "", "\tthird  "};
    QCOMPARE(job.tekst(TTekstView::Text1), een);
    QCOMPARE(job.deText1, een);
    QCOMPARE(job.fnText1, pad("t1.txt"));
    QCOMPARE(job.label(TLabel::Label5), "Text-file: " + pad("t1.txt"));
    QCOMPARE(job.gekozenTab(), TTab::Text1);
    QCOMPARE(persoon.dialogen.last().filterEntry, 2);
    QCOMPARE(persoon.gewijzigd.last(), TTekstView::Text1);

    job.miOpenText2Click();
    QCOMPARE(job.tekst(TTekstView::Text2), (QStringList{"one", "two"}));
    QCOMPARE(job.deText2, (QStringList{"one", "two"}));
    QCOMPARE(job.label(TLabel::Label6), "Text-file: " + pad("t2.txt"));
    QCOMPARE(job.gekozenTab(), TTab::Text2);
    QCOMPARE(job.tekst(TTekstView::Text1), een);
}

void TstOpenen::missingTextFileKeepsTheView()
{
    schrijfRegels(pad("t.txt"), {"kept"});
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    persoon.openAntwoorden << pad("t.txt") << pad("nothere.txt");
    job.miOpenText1Click();
    QCOMPARE(bericht([&] { job.miOpenText1Click(); }),
             "Cannot open file \"" + pad("nothere.txt") + "\". No such file or directory");
    QCOMPARE(job.fnText1, pad("nothere.txt"));
    QCOMPARE(job.tekst(TTekstView::Text1), QStringList{"kept"});
    QCOMPARE(job.deText1, QStringList{"kept"});
    QCOMPARE(job.label(TLabel::Label5), "Text-file: " + pad("t.txt"));
}

void TstOpenen::cancelledDialogsChangeNothing()
{
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    const auto tabs = persoon.tabs;
    const auto labels = persoon.labels;
    persoon.openAntwoorden = QStringList(6, QString());
    job.miCTM1Click();
    job.miCTM2Click();
    job.miOpenText1Click();
    job.miOpenText2Click();
    job.miWav1Click();
    job.miWav2Click();
    QCOMPARE(persoon.dialogen.size(), 6);
    QCOMPARE(persoon.dialogen[4].filterEntry, 3);
    QCOMPARE(persoon.tabs, tabs);
    QCOMPARE(persoon.labels, labels);
    QVERIFY(persoon.gewijzigd.isEmpty());
    for (const QString *fn : {&job.fnCTM1, &job.fnCTM2, &job.fnText1, &job.fnText2, &job.fnWav1, &job.fnWav2})
        QCOMPARE(*fn, QString());
    QCOMPARE(job.L1, 0);
    QCOMPARE(job.sgCTM1.aantalRijen(), 0);
}

void TstOpenen::spinBoxesSetTheDisplayTimes()
{
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    job.sbBefore = 0;
    QCOMPARE(job.tV, 100); // only the change handler reads the spin box
    job.sbBeforeChange();
    job.sbAfter = 2000;
    job.sbAfterChange();
    QCOMPARE(job.tV, 0);
    QCOMPARE(job.tN, 2000);
}

void TstOpenen::exitFreesTheListsAndClosesTheWindow()
{
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    job.miExitClick();
    QVERIFY(!job.ctm0 && !job.ctm1 && !job.ctm2 && !job.srt0);
    QCOMPARE(persoon.gesloten, 1);
}

QTEST_GUILESS_MAIN(TstOpenen)
#include "tst_openen.moc"
