// Phrase building: the word table cut into phrases and the phrase table.
#include "support/fakeperson.h"
#include "support/jobsteps.h"
#include "support/files.h"
#include "support/wavbuilder.h"
#include "jobrows.h"

#include "base/text.h"
#include "job/gluejob.h"
#include "job/phrasebuilder.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Rows of word table 1 given as {start, end, word}.
using Words = QList<QStringList>;

std::vector<WordRow> wordRows(const Words &words)
{
    std::vector<WordRow> rows;
    for (int r = 0; r < words.size(); ++r)
        rows.push_back(rowOf<WordRow>(
            {QString::number(r + 1), words[r][0], words[r][1], words[r][2], QStringLiteral("1.00"), QStringLiteral("X")}));
    return rows;
}

// The phrase building written out step by step, with the text operations
// done the plain way (a "start|end|text" line per phrase cut up again, trim
// after every append, a pattern for the SIL token, repeated passes over
// double blanks). The job's builder must agree with it.
QList<QStringList> stepByStep(const Words &w, bool skip, bool silence)
{
    const auto cell = [&](int r, int k) { return r < w.size() ? w[r][k - 1] : QString(); };
    QStringList lines;
    QString P;
    QString S = trimmed(cell(0, 1));
    // The phrase so far up to its last word that is not SIL, and that word's end.
    QString upToLastWord, lastWordEnd;
    bool hasWord = false;
    const int n = static_cast<int>(w.size());
    for (int r = 0; r < n; ++r) {
        const QString E = trimmed(cell(r, 2));
        QString W = trimmed(cell(r, 3));
        const QChar last = W.isEmpty() ? QChar() : W.back();
        if (W.contains(u'*') && skip)
            W = QString();
        P = trimmed(P + u' ' + W);
        if (!W.isEmpty() && W != u"SIL") {
            upToLastWord = P;
            lastWordEnd = E;
            hasWord = true;
        }
        if (P == u"SIL") {
            P = QString();
            S = trimmed(cell(r + 1, 1));
        }
        if (last == u'.' || last == u'!' || last == u'?') {
            lines << S + u'|' + E + u'|' + trimmed(P);
            P = QString();
            hasWord = false;
            if (r != n - 1)
                S = trimmed(cell(r + 1, 1));
        }
    }
    // The words after the last phrase end: one more phrase up to the last word.
    if (hasWord)
        lines << S + u'|' + lastWordEnd + u'|' + upToLastWord;
    static const QRegularExpression silToken(QStringLiteral("(?<![^ ])SIL(?![^ ])"));
    QList<QStringList> rows;
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        const qsizetype p1 = line.indexOf(u'|');
        const QString start = line.left(p1);
        const QString rest = line.mid(p1 + 1);
        const qsizetype p2 = rest.indexOf(u'|');
        const QString end = rest.left(p2);
        QString T = rest.mid(p2 + 1);
        QStringList row{QString::number(i + 1), QString(start).replace(u'.', u','),
                        QString(end).replace(u'.', u','), QString::number(T.size())};
        if (silence)
            T.replace(silToken, QStringLiteral(" "));
        while (T.contains(QStringLiteral("  ")))
            T.replace(QStringLiteral("  "), QStringLiteral(" "));
        row << T;
        rows << row;
    }
    return rows;
}

const QStringList someWords{"", " ", "SIL", "sil", "a", "b.", "c!", "d?", "x*", "y*.", "*",
                            "BASIL", "SILVER.", "SIL SIL", "SIL.", "e|f", "\tg ", "h  SIL  i",
                            "\"j.\"", "k.\"", "SIL\tSIL", ".", "SI", "L."};
const QStringList someTimes{"0", "10", "1.5", " 7 ", "", "a|b", "-3", "12.25"};

Words randomWords(QRandomGenerator &random, int n)
{
    Words w;
    for (int r = 0; r < n; ++r)
        w << QStringList{someTimes[random.bounded(someTimes.size())], someTimes[random.bounded(someTimes.size())],
                         someWords[random.bounded(someWords.size())]};
    return w;
}

} // namespace

class TstJobPhrases : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    // Opens two recordings of 10 ms, gives part 1 the rows and glues. The
    // phrases are built before the SRT, which stops Glue at a time it
    // cannot read (a typed "1.5" reaches it as "1,5"): that message is
    // returned, the phrases stand.
    QString glueWords(GlueJob &job, std::vector<WordRow> rows)
    {
        return glueRowsOverSilence(job, dir.path(), std::move(rows));
    }

    // The lines Glue logged while it made the phrases.
    static QStringList phraseLines(const FakePerson &person)
    {
        const qsizetype from = person.logged.indexOf("Make Phrases");
        const qsizetype to = person.logged.indexOf("Make SRT");
        if (from < 0 || to < from)
            return {QStringLiteral("no phrase step in the log")};
        return person.logged.mid(from + 1, to - from - 1);
    }

private slots:
    void phrasesOfAWordTable_data();
    void phrasesOfAWordTable();
    void bothLogLinesAlsoForAnEmptyTable();
    void aSecondRunReplacesEverything();
    void agreesWithTheStepByStepBuildingOnRandomTables();
    void aLongTableIsCutInTwoWithTheSameResult();
    void eachPhraseKnowsTheRowsItWasMadeFrom();
    void timesInTheirOwnFormAreNumbers();
    void pausesEndPhrasesWhenAsked_data();
    void pausesEndPhrasesWhenAsked();
    void aLongPhraseIsWarnedOfOnce();
};

void TstJobPhrases::phrasesOfAWordTable_data()
{
    QTest::addColumn<Words>("words");
    QTest::addColumn<bool>("skip");
    QTest::addColumn<bool>("silence");
    QTest::addColumn<QList<QStringList>>("rows");

    QTest::newRow("one phrase")
        << Words{{"1000", "1350", "so"}, {"1400", "1650", "we"}, {"1700", "2100", "left."}}
        << true << true << QList<QStringList>{{"1", "1000", "2100", "11", "so we left."}};
    QTest::newRow("words after the last phrase end form one more phrase")
        << Words{{"0", "1", "a!"}, {"2", "3", "b?"}, {"4", "5", "c"}, {"6", "7", "go.\""}}
        << true << true
        << QList<QStringList>{{"1", "0", "1", "2", "a!"}, {"2", "2", "3", "2", "b?"}, {"3", "4", "7", "6", "c go.\""}};
    // Aligner output without punctuation.
    QTest::newRow("unpunctuated words are one phrase")
        << Words{{"0", "300", "so"}, {"300", "500", "we"}, {"500", "900", "left"}} << true << true
        << QList<QStringList>{{"1", "0", "900", "10", "so we left"}};
    QTest::newRow("the last phrase ends at its last word that is not SIL or left out")
        << Words{{"0", "1", "a."}, {"2", "3", "yes"}, {"3", "4", "SIL"}, {"4", "5", "uh*"}, {"5", "6", ""}}
        << true << true << QList<QStringList>{{"1", "0", "1", "2", "a."}, {"2", "2", "3", "3", "yes"}};
    QTest::newRow("nothing after the last phrase end but SIL and left-out words")
        << Words{{"0", "1", "a."}, {"1", "2", "uh*"}, {"2", "3", "SIL"}} << true << true
        << QList<QStringList>{{"1", "0", "1", "2", "a."}};
    QTest::newRow("a left-out word still starts the phrase")
        << Words{{"500", "900", "uh*"}, {"1000", "1200", "yes."}} << true << true
        << QList<QStringList>{{"1", "500", "1200", "4", "yes."}};
    QTest::newRow("a left-out word still ends the phrase")
        << Words{{"0", "100", "ok"}, {"100", "300", "uh*."}} << true << true
        << QList<QStringList>{{"1", "0", "300", "2", "ok"}};
    QTest::newRow("star words stay when not skipped")
        << Words{{"0", "100", "uh*"}, {"100", "300", "ok."}} << false << true
        << QList<QStringList>{{"1", "0", "300", "7", "uh* ok."}};
    QTest::newRow("SIL after a phrase end moves the next start")
        << Words{{"0", "100", "a."}, {"100", "200", "SIL"}, {"200", "300", "SIL"}, {"300", "400", "b."}}
        << true << true << QList<QStringList>{{"1", "0", "100", "2", "a."}, {"2", "300", "400", "2", "b."}};
    QTest::newRow("SIL inside a phrase is blanked only when shown")
        << Words{{"0", "1", "yes"}, {"1", "2", "SIL"}, {"2", "3", "fine."}} << true << true
        << QList<QStringList>{{"1", "0", "3", "13", "yes fine."}};
    QTest::newRow("SIL stays when not asked to blank it")
        << Words{{"0", "1", "yes"}, {"1", "2", "SIL"}, {"2", "3", "fine."}} << true << false
        << QList<QStringList>{{"1", "0", "3", "13", "yes SIL fine."}};
    QTest::newRow("SIL inside a word reaches the text whole")
        << Words{{"0", "1", "BASIL"}, {"1", "2", "SILVER"}, {"2", "3", "SIL."}, {"3", "4", "SILSIL"},
                 {"4", "5", "sil."}}
        << true << true
        << QList<QStringList>{{"1", "0", "3", "17", "BASIL SILVER SIL."}, {"2", "3", "5", "11", "SILSIL sil."}};
    QTest::newRow("SIL tokens next to each other all go")
        << Words{{"0", "1", "a"}, {"1", "2", "SIL"}, {"2", "3", "SIL"}, {"3", "4", "b."}} << true << true
        << QList<QStringList>{{"1", "0", "4", "12", "a b."}};
    QTest::newRow("a blank the SIL leaves at the end stays")
        << Words{{"0", "1", "ok"}, {"1", "2", "SIL"}, {"2", "3", "x*."}} << true << true
        << QList<QStringList>{{"1", "0", "3", "6", "ok "}};
    QTest::newRow("a phrase of left-out words only")
        << Words{{"0", "1", "a*"}, {"1", "2", "b*."}} << true << true
        << QList<QStringList>{{"1", "0", "2", "0", ""}};
    QTest::newRow("hand-edited times keep their form, a point shown as comma")
        << Words{{" 12.5 ", "20.25", "x."}} << true << true << QList<QStringList>{{"1", "12,5", "20,25", "2", "x."}};
    QTest::newRow("empty words neither count nor end")
        << Words{{"0", "1", ""}, {"1", "2", "  "}, {"2", "3", "a."}} << true << true
        << QList<QStringList>{{"1", "0", "3", "2", "a."}};
    QTest::newRow("a last SIL row makes no phrase")
        << Words{{"0", "1", "a."}, {"1", "2", "SIL"}} << true << true << QList<QStringList>{{"1", "0", "1", "2", "a."}};
    QTest::newRow("tabs are no blanks")
        << Words{{"0", "1", "a\t\tSIL"}, {"1", "2", "b  c."}} << false << true
        << QList<QStringList>{{"1", "0", "2", "12", "a\t\tSIL b c."}};
    QTest::newRow("a start cell holding | cuts start, end and text there")
        << Words{{"1|2", "3", "a."}} << true << true << QList<QStringList>{{"1", "1", "2", "4", "3|a."}};
}

void TstJobPhrases::phrasesOfAWordTable()
{
    QFETCH(Words, words);
    QFETCH(bool, skip);
    QFETCH(bool, silence);
    QFETCH(QList<QStringList>, rows);

    FakePerson person;
    GlueJob job(person);
    job.settings.skipStarWords = skip;
    job.settings.blankSilence = silence;
    glueWords(job, wordRows(words));
    QCOMPARE(cellsOf(job.phraseRows()), rows);
    QCOMPARE(person.rowNotices.last().kind, FakePerson::RowNotice::PhrasesReplaced);
}

void TstJobPhrases::bothLogLinesAlsoForAnEmptyTable()
{
    FakePerson person;
    GlueJob job(person);
    QCOMPARE(glueWords(job, {}), QStringLiteral("(no error)"));
    QCOMPARE(phraseLines(person), (QStringList{"Start making Phrases", "Ready making Phrases"}));
    QCOMPARE(job.text(TextView::Log), person.logged);
    QCOMPARE(job.phraseRows().size(), 0u);
}

void TstJobPhrases::aSecondRunReplacesEverything()
{
    FakePerson person;
    GlueJob job(person);
    glueWords(job, wordRows({{"0", "1", "a."}, {"1", "2", "b."}}));
    QCOMPARE(job.phraseRows().size(), 2u);
    job.setWordRows(WordTable::Main, wordRows({{"5", "6", "c."}}));
    job.settings.blankSilence = false;
    job.settingsChanged();
    QCOMPARE(cellsOf(job.phraseRows()), (QList<QStringList>{{"1", "5", "6", "2", "c."}}));
}

void TstJobPhrases::agreesWithTheStepByStepBuildingOnRandomTables()
{
    // One glued job whose table is replaced round after round, as a paste
    // would replace it; the SRT may stop at a time it cannot read.
    FakePerson person;
    GlueJob job(person);
    glueWords(job, {});
    QRandomGenerator random(20260101);
    for (int round = 0; round < 3000; ++round) {
        const Words w = randomWords(random, random.bounded(12));
        const bool skip = random.bounded(2) == 1;
        const bool silence = random.bounded(2) == 1;

        job.settings.skipStarWords = skip;
        job.settings.blankSilence = silence;
        job.setWordRows(WordTable::Main, wordRows(w));
        errorMessage([&] { job.rebuildDerived(); });
        QCOMPARE(cellsOf(job.phraseRows()), stepByStep(w, skip, silence));
    }
}

void TstJobPhrases::aLongTableIsCutInTwoWithTheSameResult()
{
    // A table this long is walked by two threads, cut after a phrase end.
    QRandomGenerator random(4242);
    for (const bool skip : {false, true}) {
        const Words w = randomWords(random, 150001);
        const std::vector<PhraseRow> phrases = PhraseBuilder(skip, true).build(wordRows(w));
        QCOMPARE(cellsOf(phrases), stepByStep(w, skip, true));
    }
}

void TstJobPhrases::eachPhraseKnowsTheRowsItWasMadeFrom()
{
    // Row r starts at 10 r and ends 5 ms later, so a phrase's times name
    // its first and last row; the long table is walked by two threads.
    QRandomGenerator random(777);
    for (const int n : {12, 150001}) {
        Words w;
        for (int r = 0; r < n; ++r)
            w << QStringList{QString::number(10 * r), QString::number(10 * r + 5),
                             someWords[random.bounded(someWords.size())]};
        const std::vector<PhraseRow> phrases = PhraseBuilder(true, true, 0).build(wordRows(w));
        QVERIFY(phrases.size() > 1);
        std::size_t next = 0; // the rows of a phrase follow those of the one before
        for (const PhraseRow &phrase : phrases) {
            QVERIFY(phrase.firstWord >= next && phrase.firstWord <= phrase.lastWord);
            QCOMPARE(phrase.start, static_cast<std::int64_t>(10 * phrase.firstWord));
            QCOMPARE(phrase.end, static_cast<std::int64_t>(10 * phrase.lastWord + 5));
            next = phrase.lastWord + 1;
        }
    }
}

void TstJobPhrases::timesInTheirOwnFormAreNumbers()
{
    // Start and end cells that show their numbers reach the phrase as those
    // numbers; others keep their text as shown (trimmed, "," for ".").
    const std::vector<PhraseRow> phrases =
        PhraseBuilder(true, true).build(wordRows({{"0", "99", "a"}, {"-3", "1500", "b."}, {" 7 ", "12.5", "c."}}));
    QCOMPARE(phrases.size(), 2u);
    QCOMPARE(phrases[0].start, 0);
    QCOMPARE(phrases[0].end, 1500);
    QVERIFY(!phrases[0].isTyped(PhraseRow::Start) && !phrases[0].isTyped(PhraseRow::End));
    QCOMPARE(phrases[1].start, 7);
    QVERIFY(!phrases[1].isTyped(PhraseRow::Start));
    QVERIFY(phrases[1].isTyped(PhraseRow::End));
    QCOMPARE(phrases[1].cell(PhraseRow::End), QStringLiteral("12,5"));
}

void TstJobPhrases::pausesEndPhrasesWhenAsked_data()
{
    QTest::addColumn<Words>("words");
    QTest::addColumn<int>("pauseMs"); // 0: the setting is off
    QTest::addColumn<QList<QStringList>>("rows");
    // Aligner output without punctuation: SIL rows and gaps between words.
    const Words unpunctuated{{"0", "300", "so"},       {"300", "600", "we"},    {"600", "1800", "SIL"},
                             {"1800", "2100", "went"}, {"2100", "2400", "home"}, {"3400", "3700", "then"},
                             {"3700", "3900", "SIL"},  {"3900", "4200", "slept"}};
    // "#Chars" counts the SIL tokens the shown text blanks.
    QTest::newRow("off: one phrase") << unpunctuated << 0
                                     << QList<QStringList>{{"1", "0", "4200", "34", "so we went home then slept"}};
    QTest::newRow("1000 ms: the long SIL and the long gap end phrases")
        << unpunctuated << 1000
        << QList<QStringList>{{"1", "0", "600", "5", "so we"},
                              {"2", "1800", "2400", "9", "went home"},
                              {"3", "3400", "4200", "14", "then slept"}};
    QTest::newRow("exactly as long as the pause")
        << unpunctuated << 1200
        << QList<QStringList>{{"1", "0", "600", "5", "so we"}, {"2", "1800", "4200", "24", "went home then slept"}};
    QTest::newRow("longer than any pause") << unpunctuated << 10000
                                           << QList<QStringList>{{"1", "0", "4200", "34", "so we went home then slept"}};
    QTest::newRow("a pause right after a phrase end adds nothing")
        << Words{{"0", "500", "Yes."}, {"500", "2000", "SIL"}, {"2000", "2500", "no."}} << 1000
        << QList<QStringList>{{"1", "0", "500", "4", "Yes."}, {"2", "2000", "2500", "3", "no."}};
    QTest::newRow("a phrase ended by a pause ends at its last word, not at a SIL")
        << Words{{"0", "500", "well"}, {"500", "700", "SIL"}, {"2000", "2500", "yes."}} << 1000
        << QList<QStringList>{{"1", "0", "500", "4", "well"}, {"2", "2000", "2500", "4", "yes."}};
}

void TstJobPhrases::pausesEndPhrasesWhenAsked()
{
    QFETCH(Words, words);
    QFETCH(int, pauseMs);
    QFETCH(QList<QStringList>, rows);
    FakePerson person;
    GlueJob job(person);
    QVERIFY(!job.settings.endPhrasesAtPauses); // off at start
    job.settings.endPhrasesAtPauses = pauseMs > 0;
    job.settings.phrasePauseMs = pauseMs > 0 ? pauseMs : 100;
    QCOMPARE(glueWords(job, wordRows(words)), QStringLiteral("(no error)"));
    QCOMPARE(cellsOf(job.phraseRows()), rows);
}

void TstJobPhrases::aLongPhraseIsWarnedOfOnce()
{
    // Two unpunctuated stretches of 60 words of four letters, 110 ms apart
    // and 5 seconds between the stretches: two phrases of 299 characters
    // each, one warning.
    Words words;
    for (int i = 0; i < 120; ++i)
        words << QStringList{QString::number(i * 200 + (i >= 60 ? 5000 : 0)),
                             QString::number(i * 200 + 90 + (i >= 60 ? 5000 : 0)), QStringLiteral("word")};
    FakePerson person;
    GlueJob job(person);
    job.settings.endPhrasesAtPauses = true;
    job.settings.phrasePauseMs = 2000;
    QCOMPARE(glueWords(job, wordRows(words)), QStringLiteral("(no error)"));
    QCOMPARE(job.phraseRows().size(), 2u);
    QCOMPARE(phraseLines(person),
             (QStringList{"Start making Phrases",
                          "Warning: phrase 1 is longer than 190 characters; to cut unpunctuated words into "
                          "shorter phrases, turn on \"End phrases at pauses of at least N ms\" on the Settings tab "
                          "(--pause-ends-phrase MS)",
                          "Ready making Phrases"}));
    // Short phrases give no warning.
    job.settings.phrasePauseMs = 100;
    person.logged.clear();
    job.glue(dir.filePath("joined.wav"));
    QCOMPARE(job.phraseRows().size(), 120u);
    QCOMPARE(phraseLines(person), (QStringList{"Start making Phrases", "Ready making Phrases"}));
}

QTEST_GUILESS_MAIN(TstJobPhrases)
#include "tst_jobphrases.moc"
