// Phrase building: the word table cut into phrases, the phrase table and its
// Text column.
#include "job/tnaadwerkjob.h"
#include "nepersoon_helper.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include "lines/tekst.h"

namespace {

// Rows of word table 1 given as {start, end, word}.
using Woorden = QList<QStringList>;

void vulWoordTabel(TTekstTabel &tabel, const Woorden &woorden)
{
    std::vector<QString> cellen;
    for (int r = 0; r < woorden.size(); ++r)
        cellen.insert(cellen.end(), {QString::number(r + 1), woorden[r][0], woorden[r][1],
                                     woorden[r][2], QStringLiteral("1.00"), QStringLiteral("X")});
    tabel.vervangAlles(std::move(cellen));
}

QList<QStringList> alleRijen(const TTekstTabel &t)
{
    QList<QStringList> rijen;
    for (int r = 0; r < t.aantalRijen(); ++r) {
        QStringList cellen;
        for (int k = 0; k < t.aantalKolommen(); ++k)
            cellen << t.cel(r, k);
        rijen << cellen;
    }
    return rijen;
}

// The phrase building written out step by step, with the text operations
// done the plain way (trim after every append, a pattern for the SIL token,
// repeated passes over double blanks). The job's builder must agree with it.
struct LetterlijkePhrases
{
    QStringList cues;
    QList<QStringList> rijen;
};

LetterlijkePhrases letterlijk(const Woorden &w, bool skip, bool silence)
{
    const auto cel = [&](int r, int k) { return r < w.size() ? w[r][k - 1] : QString(); };
    LetterlijkePhrases uit;
    QString P;
    QString S = trimTekst(cel(0, 1));
    const int n = static_cast<int>(w.size());
    for (int r = 0; r < n; ++r) {
        const QString E = trimTekst(cel(r, 2));
        QString W = trimTekst(cel(r, 3));
        const QChar laatste = W.isEmpty() ? QChar() : W.back();
        if (W.contains(u'*') && skip)
            W = QString();
        P = trimTekst(P + u' ' + W);
        if (P == u"SIL") {
            P = QString();
            S = trimTekst(cel(r + 1, 1));
        }
        if (laatste == u'.' || laatste == u'!' || laatste == u'?') {
            uit.cues << S + u'|' + E + u'|' + trimTekst(P);
            P = QString();
            if (r != n - 1)
                S = trimTekst(cel(r + 1, 1));
        }
    }
    static const QRegularExpression silToken(QStringLiteral("(?<![^ ])SIL(?![^ ])"));
    for (int i = 0; i < uit.cues.size(); ++i) {
        const QString &regel = uit.cues[i];
        const qsizetype p1 = regel.indexOf(u'|');
        const QString start = regel.left(p1);
        const QString rest = regel.mid(p1 + 1);
        const qsizetype p2 = rest.indexOf(u'|');
        const QString eind = rest.left(p2);
        QString T = rest.mid(p2 + 1);
        QStringList rij{QString::number(i + 1), QString(start).replace(u'.', u','),
                        QString(eind).replace(u'.', u','), QString::number(T.size())};
        if (silence)
            T.replace(silToken, QStringLiteral(" "));
        while (T.contains(QStringLiteral("  ")))
            T.replace(QStringLiteral("  "), QStringLiteral(" "));
        rij << T;
        uit.rijen << rij;
    }
    return uit;
}

} // namespace

class TstPhrases : public QObject
{
    Q_OBJECT

private slots:
    void phrasesOfAWordTable_data();
    void phrasesOfAWordTable();
    void bothLogLinesAlsoForAnEmptyTable();
    void textColumnTakesTheRoomLeftButNeverUnder50_data();
    void textColumnTakesTheRoomLeftButNeverUnder50();
    void aSecondRunReplacesEverything();
    void agreesWithTheStepByStepBuildingOnRandomTables();
};

void TstPhrases::phrasesOfAWordTable_data()
{
    QTest::addColumn<Woorden>("woorden");
    QTest::addColumn<bool>("skip");
    QTest::addColumn<bool>("silence");
    QTest::addColumn<QStringList>("cues");
    QTest::addColumn<QList<QStringList>>("rijen");

    QTest::newRow("one phrase")
        << Woorden{{"1000", "1350", "so"}, {"1400", "1650", "we"}, {"1700", "2100", "left."}}
        << true << true << QStringList{"1000|2100|so we left."}
        << QList<QStringList>{{"1", "1000", "2100", "11", "so we left."}};
    QTest::newRow("words after the last phrase end are lost")
        << Woorden{{"0", "1", "a!"}, {"2", "3", "b?"}, {"4", "5", "c"}, {"6", "7", "go.\""}}
        << true << true << QStringList{"0|1|a!", "2|3|b?"}
        << QList<QStringList>{{"1", "0", "1", "2", "a!"}, {"2", "2", "3", "2", "b?"}};
    QTest::newRow("a left-out word still starts the phrase")
        << Woorden{{"500", "900", "uh*"}, {"1000", "1200", "yes."}} << true << true
        << QStringList{"500|1200|yes."} << QList<QStringList>{{"1", "500", "1200", "4", "yes."}};
    QTest::newRow("a left-out word still ends the phrase")
        << Woorden{{"0", "100", "ok"}, {"100", "300", "uh*."}} << true << true
        << QStringList{"0|300|ok"} << QList<QStringList>{{"1", "0", "300", "2", "ok"}};
    QTest::newRow("star words stay when not skipped")
        << Woorden{{"0", "100", "uh*"}, {"100", "300", "ok."}} << false << true
        << QStringList{"0|300|uh* ok."} << QList<QStringList>{{"1", "0", "300", "7", "uh* ok."}};
    QTest::newRow("SIL after a phrase end moves the next start")
        << Woorden{{"0", "100", "a."}, {"100", "200", "SIL"}, {"200", "300", "SIL"}, {"300", "400", "b."}}
        << true << true << QStringList{"0|100|a.", "300|400|b."}
        << QList<QStringList>{{"1", "0", "100", "2", "a."}, {"2", "300", "400", "2", "b."}};
    QTest::newRow("SIL inside a phrase is blanked only when shown")
        << Woorden{{"0", "1", "yes"}, {"1", "2", "SIL"}, {"2", "3", "fine."}} << true << true
        << QStringList{"0|3|yes SIL fine."}
        << QList<QStringList>{{"1", "0", "3", "13", "yes fine."}};
    QTest::newRow("SIL stays when not asked to blank it")
        << Woorden{{"0", "1", "yes"}, {"1", "2", "SIL"}, {"2", "3", "fine."}} << true << false
        << QStringList{"0|3|yes SIL fine."}
        << QList<QStringList>{{"1", "0", "3", "13", "yes SIL fine."}};
    QTest::newRow("SIL inside a word reaches the text whole")
        << Woorden{{"0", "1", "BASIL"}, {"1", "2", "SILVER"}, {"2", "3", "SIL."}, {"3", "4", "SILSIL"},
                   {"4", "5", "sil."}}
        << true << true << QStringList{"0|3|BASIL SILVER SIL.", "3|5|SILSIL sil."}
        << QList<QStringList>{{"1", "0", "3", "17", "BASIL SILVER SIL."},
                              {"2", "3", "5", "11", "SILSIL sil."}};
    QTest::newRow("SIL tokens next to each other all go")
        << Woorden{{"0", "1", "a"}, {"1", "2", "SIL"}, {"2", "3", "SIL"}, {"3", "4", "b."}} << true << true
        << QStringList{"0|4|a SIL SIL b."} << QList<QStringList>{{"1", "0", "4", "12", "a b."}};
    QTest::newRow("a blank the SIL leaves at the end stays")
        << Woorden{{"0", "1", "ok"}, {"1", "2", "SIL"}, {"2", "3", "x*."}} << true << true
        << QStringList{"0|3|ok SIL"} << QList<QStringList>{{"1", "0", "3", "6", "ok "}};
    QTest::newRow("a phrase of left-out words only")
        << Woorden{{"0", "1", "a*"}, {"1", "2", "b*."}} << true << true << QStringList{"0|2|"}
        << QList<QStringList>{{"1", "0", "2", "0", ""}};
    QTest::newRow("hand-edited times keep their form, a point shown as comma")
        << Woorden{{" 12.5 ", "20.25", "x."}} << true << true << QStringList{"12.5|20.25|x."}
        << QList<QStringList>{{"1", "12,5", "20,25", "2", "x."}};
    QTest::newRow("empty words neither count nor end")
        << Woorden{{"0", "1", ""}, {"1", "2", "  "}, {"2", "3", "a."}} << true << true
        << QStringList{"0|3|a."} << QList<QStringList>{{"1", "0", "3", "2", "a."}};
    QTest::newRow("a last SIL row makes no phrase")
        << Woorden{{"0", "1", "a."}, {"1", "2", "SIL"}} << true << true << QStringList{"0|1|a."}
        << QList<QStringList>{{"1", "0", "1", "2", "a."}};
    QTest::newRow("tabs are no blanks")
        << Woorden{{"0", "1", "a\t\tSIL"}, {"1", "2", "b  c."}} << false << true
        << QStringList{"0|2|a\t\tSIL b  c."}
        << QList<QStringList>{{"1", "0", "2", "12", "a\t\tSIL b c."}};
}

void TstPhrases::phrasesOfAWordTable()
{
    QFETCH(Woorden, woorden);
    QFETCH(bool, skip);
    QFETCH(bool, silence);
    QFETCH(QStringList, cues);
    QFETCH(QList<QStringList>, rijen);

    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    job.cbSkipwords = skip;
    job.cbSilence = silence;
    vulWoordTabel(job.sgCTM1, woorden);
    job.maakPhrases();
    QCOMPARE(job.deCues, cues);
    QCOMPARE(alleRijen(job.sgSRT), rijen);
}

void TstPhrases::bothLogLinesAlsoForAnEmptyTable()
{
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    job.sgSRT.zetTabelBreedte(400);
    job.maakPhrases();
    QCOMPARE(persoon.gelogd, (QStringList{"Start making Phrases", "Ready making Phrases"}));
    QCOMPARE(job.tekst(TTekstView::Result), persoon.gelogd);
    QCOMPARE(job.sgSRT.aantalRijen(), 0);
    QVERIFY(job.deCues.isEmpty());
    QCOMPARE(job.sgSRT.kolomBreedte(4), 390);
}

void TstPhrases::textColumnTakesTheRoomLeftButNeverUnder50_data()
{
    QTest::addColumn<int>("tabel");
    QTest::addColumn<QList<int>>("kolommen");
    QTest::addColumn<int>("tekst");

    QTest::newRow("wide") << 800 << QList<int>{30, 80, 80, 50} << 550;
    QTest::newRow("just 50") << 300 << QList<int>{30, 80, 80, 50} << 50;
    QTest::newRow("narrow") << 200 << QList<int>{30, 80, 80, 50} << 50;
    QTest::newRow("no width reported") << 0 << QList<int>{0, 0, 0, 0} << 50;
}

void TstPhrases::textColumnTakesTheRoomLeftButNeverUnder50()
{
    QFETCH(int, tabel);
    QFETCH(QList<int>, kolommen);
    QFETCH(int, tekst);
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    job.sgSRT.zetTabelBreedte(tabel);
    for (int k = 0; k < kolommen.size(); ++k)
        job.sgSRT.zetKolomBreedte(k, kolommen[k]);
    job.sgSRT.zetKolomBreedte(4, 7);
    vulWoordTabel(job.sgCTM1, {{"0", "1", "a."}});
    job.maakPhrases();
    QCOMPARE(job.sgSRT.kolomBreedte(4), tekst);
}

void TstPhrases::aSecondRunReplacesEverything()
{
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    vulWoordTabel(job.sgCTM1, {{"0", "1", "a."}, {"1", "2", "b."}});
    job.maakPhrases();
    QCOMPARE(job.sgSRT.aantalRijen(), 2);
    vulWoordTabel(job.sgCTM1, {{"5", "6", "c."}});
    job.cbSilence = false;
    job.maakPhrases();
    QCOMPARE(job.deCues, QStringList{"5|6|c."});
    QCOMPARE(alleRijen(job.sgSRT), (QList<QStringList>{{"1", "5", "6", "2", "c."}}));
}

void TstPhrases::agreesWithTheStepByStepBuildingOnRandomTables()
{
    const QStringList woordenLijst{"", " ", "SIL", "sil", "a", "b.", "c!", "d?", "x*", "y*.", "*",
                                   "BASIL", "SILVER.", "SIL SIL", "SIL.", "e|f", "\tg ", "h  SIL  i",
                                   "\"j.\"", "k.\"", "SIL\tSIL", ".", "SI", "L."};
    const QStringList tijden{"0", "10", "1.5", " 7 ", "", "a|b", "-3", "12.25"};
    QRandomGenerator toeval(20260101);
    for (int ronde = 0; ronde < 3000; ++ronde) {
        Woorden w;
        const int n = toeval.bounded(12);
        for (int r = 0; r < n; ++r)
            w << QStringList{tijden[toeval.bounded(tijden.size())], tijden[toeval.bounded(tijden.size())],
                             woordenLijst[toeval.bounded(woordenLijst.size())]};
        const bool skip = toeval.bounded(2) == 1;
        const bool silence = toeval.bounded(2) == 1;

        TNepPersoon persoon;
        TNaadwerkJob job(persoon);
        job.cbSkipwords = skip;
        job.cbSilence = silence;
        vulWoordTabel(job.sgCTM1, w);
        job.maakPhrases();
        const LetterlijkePhrases verwacht = letterlijk(w, skip, silence);
        QCOMPARE(job.deCues, verwacht.cues);
        QCOMPARE(alleRijen(job.sgSRT), verwacht.rijen);
    }
}

QTEST_GUILESS_MAIN(TstPhrases)
#include "tst_phrases.moc"
