// The Word-like transcript: marker clean-up, paragraphs, time and speaker lines.
#include "audio/defwaves_tijd.h"
#include "job/tnaadwerkjob.h"
#include "lines/efout.h"
#include "lines/tekst.h"
#include "nepersoon_helper.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QStringList kop{"Interview joined_word.txt", "", "Metadata", "[Please add here relevant Metadata]",
                      "", "Transcript", ""};

bool isSpk(const QString &s) { return s.startsWith(u"[Speaker: SP_"); }
bool isStart(const QString &s) { return s.startsWith(u"[StartTime:"); }
bool isEind(const QString &s) { return s.startsWith(u"[EndTime:"); }
bool isHaak(const QString &s) { return s.startsWith(u'['); }

void verwijderLegeEenVoorEen(QStringList &L)
{
    for (qsizetype i = 0; i < L.size();)
        if (L[i].isEmpty())
            L.removeAt(i);
        else
            ++i;
}

// The clean-up as its steps read: every walk to its end, every line removed
// where it stands. Quadratic, and the reference for the job's linear passes.
QStringList letterlijkSchoon(QStringList L)
{
    const qsizetype n = L.size();
    for (qsizetype p = 0; p < n; ++p) {
        if (isEind(L[p])) {
            L[p] = QString();
        } else if (isSpk(L[p]) && p + 1 < n && isSpk(L[p + 1])) {
            L[p] = QString();
        } else if (isSpk(L[p])) {
            for (qsizetype i = p + 1; i < n; ++i) {
                if (isSpk(L[i])) {
                    if (L[i] == L[p])
                        L[i] = QString();
                    else
                        break;
                }
            }
        }
    }
    for (qsizetype p = 0; p < n; ++p) {
        if (isStart(L[p])) {
            for (qsizetype i = p + 1; i < n; ++i) {
                if (isStart(L[i]))
                    L[i] = QString();
                if (isHaak(L[i]))
                    break;
            }
        }
    }
    verwijderLegeEenVoorEen(L);
    for (qsizetype p = 0; p + 1 < L.size(); ++p)
        if (isStart(L[p]) && !isSpk(L[p + 1]))
            L.swapItemsAt(p, p + 1);
    bool gevonden = false;
    for (qsizetype p = 0; p + 1 < L.size(); ++p) {
        if (gevonden || !isSpk(L[p]))
            continue;
        for (qsizetype i = p + 1; i < L.size(); ++i) {
            if (isSpk(L[i]) && L[i] == L[p] && isStart(L[i - 1])) {
                L[i - 1] = QString();
                gevonden = true;
                break;
            }
        }
    }
    verwijderLegeEenVoorEen(L);
    for (qsizetype p = L.size() - 2; p >= 0; --p) {
        if (!isHaak(L[p]) && !isHaak(L[p + 1])) {
            L[p] = L[p] + u' ' + L[p + 1];
            L.removeAt(p + 1);
        }
    }
    return L;
}

// The formatted lines, or the lines so far and the message of the failure.
QStringList letterlijkTranscript(const QStringList &L, QString &fout)
{
    QStringList uit = kop;
    QString label;
    for (const QString &regel : L) {
        if (isStart(regel)) {
            QString t = trimTekst(regel.mid(11));
            t.chop(3);
            t = trimTekst(t);
            try {
                uit << u'\t' + msNaarTijd(strNaarInt(t)).left(8);
            } catch (const EFout &e) {
                fout = e.bericht();
                return uit;
            }
            label = QString();
        } else if (isSpk(regel)) {
            QString t = trimTekst(regel.mid(16));
            t.chop(1);
            label = trimTekst(t);
        } else {
            uit << label + u'\t' + regel;
            label = QString();
        }
    }
    return uit;
}

struct Uitkomst
{
    QStringList word;
    QStringList deWord;
    QString fout;
};

Uitkomst bouwMetJob(const QStringList &tekst)
{
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    job.fnText0 = QStringLiteral("/data/joined.txt");
    job.zetTekst(TTekstView::Text1, tekst);
    Uitkomst u;
    try {
        job.maakWord();
    } catch (const EFout &e) {
        u.fout = e.bericht();
    }
    u.word = job.tekst(TTekstView::Word);
    u.deWord = job.deWord;
    return u;
}

} // namespace

class TstWord : public QObject
{
    Q_OBJECT

    QTemporaryDir map;

private slots:
    void workedExampleThroughTheCommands();
    void transcriptLines_data();
    void transcriptLines();
    void badStartTimeStopsTheBuild();
    void aNameWithoutExtensionGetsTheSuffix();
    void agreesWithTheStepByStepCleanUpOnRandomTexts();
};

void TstWord::workedExampleThroughTheCommands()
{
    const QStringList tekst1{"[StartTime: 1500 ms]", "[Speaker: SP_01 Interviewer]", "Good morning.",
                             "Thank you for coming.", "[EndTime: 4200 ms]", "[StartTime: 4300 ms]",
                             "[Speaker: SP_01 Interviewer]", "Shall we begin?", "[EndTime: 6000 ms]", ""};
    const QStringList tekst2{"[StartTime: 6100 ms]", "[Speaker: SP_02 Respondent]", "Yes, of course.",
                             "[EndTime: 8000 ms]", "[StartTime: 65000 ms]", "[Speaker: SP_01 Interviewer]",
                             "Where were you born?", "[EndTime: 67000 ms]"};
    schrijfRegels(map.filePath("t1.txt"), tekst1);
    schrijfRegels(map.filePath("t2.txt"), tekst2);

    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    persoon.openAntwoorden << map.filePath("t1.txt") << map.filePath("t2.txt");
    job.miOpenText1Click();
    job.miOpenText2Click();
    // No recordings were opened: the join finds none and the glue goes on.
    persoon.bewaarAntwoorden << map.filePath("joined.wav");
    job.miGlueClick();

    QStringList verwacht = kop;
    verwacht << "\t00:00:01" << "Interviewer\tGood morning. Thank you for coming. Shall we begin?"
             << "\t00:00:04" << "Respondent\tYes, of course." << "Interviewer\tWhere were you born?";
    QCOMPARE(job.tekst(TTekstView::Word), verwacht);
    QCOMPARE(job.deWord, verwacht);
    QCOMPARE(job.fnWord, map.filePath("joined_word.txt"));
    QCOMPARE(job.label(TLabel::Label5), "Word-file: " + map.filePath("joined_word.txt"));
    QCOMPARE(job.tekst(TTekstView::Text1), tekst1 + tekst2);
    QCOMPARE(persoon.gelogd.mid(persoon.gelogd.size() - 3),
             (QStringList{"Make Word-like transcription", "Start making Word-file", "Ready making Word-file"}));
    QVERIFY(persoon.gewijzigd.contains(TTekstView::Word));
}

void TstWord::transcriptLines_data()
{
    QTest::addColumn<QStringList>("tekst");
    QTest::addColumn<QStringList>("regels");

    QTest::newRow("empty text") << QStringList{} << QStringList{};
    QTest::newRow("no marker lines: one paragraph")
        << QStringList{"a", "", "b", "c"} << QStringList{"\ta b c"};
    QTest::newRow("a start time without unit keeps what is left")
        << QStringList{"[StartTime: 1500]"} << QStringList{"\t00:00:00"};
    QTest::newRow("the label starts at the 17th character")
        << QStringList{"[Speaker: SP_1 Anna]", "hi"} << QStringList{"nna\thi"};
    QTest::newRow("a short speaker line gives an empty label")
        << QStringList{"[Speaker: SP_1]", "hi"} << QStringList{"\thi"};
    QTest::newRow("a speaker line at the end adds nothing")
        << QStringList{"a", "[Speaker: SP_01 A]"} << QStringList{"\ta"};
    QTest::newRow("a start time at the end gives a last time line")
        << QStringList{"a", "[StartTime: 5000 ms]"} << QStringList{"\ta", "\t00:00:05"};
    QTest::newRow("a line of blanks is text")
        << QStringList{"a", "  ", "b"} << QStringList{"\ta    b"};
    QTest::newRow("a marker after a blank is text")
        << QStringList{"x", " [Speaker: SP_01 Anna]", "y"} << QStringList{"\tx  [Speaker: SP_01 Anna] y"};
    QTest::newRow("an other bracket line stands alone")
        << QStringList{"a", "[laughs]", "b"} << QStringList{"\ta", "\t[laughs]", "\tb"};
    QTest::newRow("an other bracket line takes the label")
        << QStringList{"[Speaker: SP_01 Anna]", "[laughs]", "b"} << QStringList{"Anna\t[laughs]", "\tb"};
    QTest::newRow("one start time per stretch")
        << QStringList{"[StartTime: 1000 ms]", "a", "[StartTime: 2000 ms]", "b"}
        << QStringList{"\ta b", "\t00:00:01"};
    QTest::newRow("alternating speakers: the third turn loses its time")
        << QStringList{"[StartTime: 1000 ms]", "[Speaker: SP_01 A]", "x", "[StartTime: 2000 ms]",
                       "[Speaker: SP_02 B]", "y", "[StartTime: 3000 ms]", "[Speaker: SP_01 A]", "z",
                       "[StartTime: 4000 ms]", "[Speaker: SP_02 B]", "w"}
        << QStringList{"\t00:00:01", "A\tx", "\t00:00:02", "B\ty", "A\tz", "\t00:00:04", "B\tw"};
    QTest::newRow("of two speaker lines in a row the lower one stays")
        << QStringList{"[Speaker: SP_01 A]", "[Speaker: SP_02 B]", "x"} << QStringList{"B\tx"};
    QTest::newRow("a repeated speaker merges the turns")
        << QStringList{"[Speaker: SP_01 A]", "x", "[laughs]", "[Speaker: SP_01 A]", "y"}
        << QStringList{"A\tx", "\t[laughs]", "\ty"};
    QTest::newRow("a time line drops the pending label")
        << QStringList{"[Speaker: SP_01 A]", "[StartTime: 3723004 ms]"} << QStringList{"\t01:02:03"};
}

void TstWord::transcriptLines()
{
    QFETCH(QStringList, tekst);
    QFETCH(QStringList, regels);
    const Uitkomst u = bouwMetJob(tekst);
    QCOMPARE(u.fout, QString());
    QCOMPARE(u.word, kop + regels);
    QCOMPARE(u.deWord, kop + regels);
}

void TstWord::badStartTimeStopsTheBuild()
{
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    job.fnText0 = QStringLiteral("/data/joined.txt");
    job.zetTekst(TTekstView::Text1, {"[Speaker: SP_01 Anna]", "hello", "there", "[StartTime: 12x4 ms]",
                                     "[Speaker: SP_02 Bob]", "bye"});
    try {
        job.maakWord();
        QFAIL("no error");
    } catch (const EFout &e) {
        QCOMPARE(e.bericht(), QStringLiteral("'12x4' is not a valid integer value"));
    }
    QCOMPARE(job.tekst(TTekstView::Word), kop + QStringList{"Anna\thello there"});
    QCOMPARE(job.deWord, (QStringList{"[Speaker: SP_01 Anna]", "hello there", "[StartTime: 12x4 ms]",
                                      "[Speaker: SP_02 Bob]", "bye"}));
    QCOMPARE(job.fnWord, QStringLiteral("/data/joined_word.txt"));
    QCOMPARE(job.label(TLabel::Label5), QString());
    QCOMPARE(persoon.gelogd, QStringList{"Start making Word-file"});
}

void TstWord::aNameWithoutExtensionGetsTheSuffix()
{
    TNepPersoon persoon;
    TNaadwerkJob job(persoon);
    job.fnText0 = QStringLiteral("/a.b/joined");
    job.maakWord();
    QCOMPARE(job.fnWord, QStringLiteral("/a.b/joined_word.txt"));
    QCOMPARE(job.tekst(TTekstView::Word).first(), QStringLiteral("Interview joined_word.txt"));
}

void TstWord::agreesWithTheStepByStepCleanUpOnRandomTexts()
{
    const QStringList regels{"[EndTime: 1 ms]", "[StartTime: 1000 ms]", "[StartTime: 2500 ms]",
                             "[StartTime: 61000 ms]", "[Speaker: SP_01 A]", "[Speaker: SP_02 B]",
                             "[Speaker: SP_03 C]", "[Speaker: SP_01 A] ", "[laughs]", "[", "", "  ", "a",
                             "b c", " [Speaker: SP_01 A]", "[Speaker: SP_", "[StartTime: 7]"};
    QRandomGenerator toeval(31415);
    for (int ronde = 0; ronde < 4000; ++ronde) {
        QStringList tekst;
        const int n = toeval.bounded(ronde < 3000 ? 14 : 60);
        for (int i = 0; i < n; ++i)
            tekst << regels[toeval.bounded(regels.size())];
        // Now and then a start time that is no number, so failures are compared too.
        if (toeval.bounded(20) == 0)
            tekst.insert(toeval.bounded(tekst.size() + 1), QStringLiteral("[StartTime: x ms]"));

        const QStringList schoon = letterlijkSchoon(tekst);
        QString fout;
        const QStringList verwacht = letterlijkTranscript(schoon, fout);
        const Uitkomst u = bouwMetJob(tekst);
        QCOMPARE(u.fout, fout);
        QCOMPARE(u.word, verwacht);
        QCOMPARE(u.deWord, fout.isEmpty() ? verwacht : schoon);
    }
}

QTEST_GUILESS_MAIN(TstWord)
#include "tst_word.moc"
