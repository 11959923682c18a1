// SRT building from the phrases of the glued words, and the WebVTT file of
// its cues.
#include "support/fakeperson.h"
#include "support/jobsteps.h"
#include "support/files.h"
#include "support/wavbuilder.h"
#include "jobrows.h"

#include "base/error.h"
#include "base/numbers.h"
#include "base/textfile.h"
#include "job/gluejob.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// Phrases given as {start, end, text}: each is one word of part 1, a word
// that ends a sentence, so each word makes a phrase of its own.
using Phrases = QList<QStringList>;

std::vector<WordRow> wordsOf(const Phrases &phrases)
{
    std::vector<WordRow> rows;
    for (int r = 0; r < phrases.size(); ++r)
        rows.push_back(rowOf<WordRow>({QString::number(r + 1), phrases[r][0], phrases[r][1], phrases[r][2],
                                       QStringLiteral("1.00"), QStringLiteral("X")}));
    return rows;
}

const QString longText = QStringLiteral(
    "so we moved to the city in the spring of that year because my father had found work at the "
    "harbour and we all thought that life would be easier there.");

// The SRT lines, or the message Glue stopped with.
QStringList srtOrMessage(const GlueJob &job, const QString &message)
{
    return message == u"(no error)" ? job.srtLines() : QStringList{message};
}

} // namespace

class TstJobSrt : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    // Opens two recordings of 10 ms, gives part 1 the rows and glues: the
    // SRT is built from the phrases of those rows.
    void glueWords(GlueJob &job, std::vector<WordRow> rows)
    {
        const QString message = glueRowsOverSilence(job, dir.path(), std::move(rows));
        if (message != u"(no error)")
            throw Error(message);
    }

private slots:
    void srtLinesOfThePhrases_data();
    void srtLinesOfThePhrases();
    void badTimeCellEndsTheBuild_data();
    void badTimeCellEndsTheBuild();
    void aSecondBuildLeavesNothingOfTheFirst();
    void webVttFileLeavesTheSrtLines();
    void typedWordTimesReachTheSrtAsBefore_data();
    void typedWordTimesReachTheSrtAsBefore();
    void anEditedCellIsReadAsShown();
    void timesBeyondADoubleAreReadAsTheirText();
};

void TstJobSrt::srtLinesOfThePhrases_data()
{
    QTest::addColumn<Phrases>("phrases");
    QTest::addColumn<bool>("widen");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    QTest::addColumn<QStringList>("lines"); // or the message Glue stops with

    const Phrases one{{"1000", "2100", "so we left."}};
    QTest::newRow("empty table") << Phrases{} << true << 100 << 200 << QStringList{};
    QTest::newRow("one phrase as it is")
        << one << false << 100 << 200 << QStringList{"1", "00:00:01,000 --> 00:00:02,100", "so we left.", ""};
    QTest::newRow("one phrase shown longer")
        << one << true << 100 << 200 << QStringList{"1", "00:00:00,900 --> 00:00:02,300", "so we left.", ""};
    QTest::newRow("widening by nothing keeps the times")
        << one << true << 0 << 0 << QStringList{"1", "00:00:01,000 --> 00:00:02,100", "so we left.", ""};
    // A time typed with a fraction reaches the phrase with a comma, which
    // the SRT does not read as a number.
    QTest::newRow("times with a fraction")
        << Phrases{{"12.5", "2013.5", "x."}} << false << 100 << 200
        << QStringList{"'12,5' is not a valid floating point value"};
    // 50 characters with the aligner's "<unk>", which is text: one line break.
    QTest::newRow("an aligner's <unk> counts toward the line")
        << Phrases{{"1000", "3000", "my <unk> was born in Zwolle in nineteen fifty two."}} << false << 100 << 200
        << QStringList{"1", "00:00:01,000 --> 00:00:03,000", "my <unk> was born in Zwolle", "in nineteen fifty two.", ""};
    QTest::newRow("a long phrase becomes two cues, numbered on")
        << Phrases{{"1000", "9000", "before."}, {"10000", "22000", longText}, {"23000", "24000", "after."}}
        << false << 100 << 200
        << QStringList{"1", "00:00:01,000 --> 00:00:09,000", "before.", "",
                       "2", "00:00:10,000 --> 00:00:16,000", "so we moved to the city in the spring",
                       "of that year because my father had", "",
                       "3", "00:00:16,000 --> 00:00:22,000", "found work at the harbour and we all",
                       "thought that life would be easier there.", "",
                       "4", "00:00:23,000 --> 00:00:24,000", "after.", ""};
}

void TstJobSrt::srtLinesOfThePhrases()
{
    QFETCH(Phrases, phrases);
    QFETCH(bool, widen);
    QFETCH(int, before);
    QFETCH(int, after);
    QFETCH(QStringList, lines);

    FakePerson person;
    GlueJob job(person);
    job.settings.widenCues = widen;
    job.settings.msBefore = before;
    job.settings.msAfter = after;
    const QString message = errorMessage([&] { glueWords(job, wordsOf(phrases)); });
    QCOMPARE(srtOrMessage(job, message), lines);
    if (message != u"(no error)")
        return;
    QCOMPARE(job.text(TextView::Subtitles), lines);
    const qsizetype at = person.logged.indexOf("Make SRT");
    QVERIFY(at >= 0);
    QCOMPARE(person.logged.mid(at + 1, 2), (QStringList{"Start making SRT", "Ready making SRT"}));
    QVERIFY(person.changedTexts.contains(TextView::Subtitles));
}

void TstJobSrt::badTimeCellEndsTheBuild_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("message");
    QTest::newRow("decimal comma") << "12,5" << "'12,5' is not a valid floating point value";
    QTest::newRow("empty cell") << "" << "'' is not a valid floating point value";
    QTest::newRow("letters") << "abc" << "'abc' is not a valid floating point value";
}

void TstJobSrt::badTimeCellEndsTheBuild()
{
    QFETCH(QString, start);
    QFETCH(QString, message);
    FakePerson person;
    GlueJob job(person);
    glueWords(job, wordsOf({{"0", "500", "a."}}));
    QCOMPARE(job.cues().cues.size(), 1u);
    // The glued table replaced, then glued again.
    job.setWordRows(WordTable::Main, wordsOf({{"100", "900", "b."}, {start, "2000", "c."}}));
    person.logged.clear();
    QCOMPARE(errorMessage([&] { job.glue(dir.filePath("joined.wav")); }), message);
    QCOMPARE(person.logged.mid(person.logged.size() - 2), (QStringList{"Make SRT", "Start making SRT"}));
    QVERIFY(job.text(TextView::Subtitles).isEmpty());
    QVERIFY(job.srtLines().isEmpty());
    // The cues before the bad cell are those of this build.
    QCOMPARE(job.cues().cues[0].start, 100);
    QCOMPARE(job.cues().cues[0].text, QStringLiteral("b."));
}

void TstJobSrt::aSecondBuildLeavesNothingOfTheFirst()
{
    FakePerson person;
    GlueJob job(person);
    job.settings.widenCues = false;
    glueWords(job, wordsOf({{"0", "500", "a."}, {"600", "900", "b."}}));
    QCOMPARE(job.srtLines().size(), 8);
    job.setWordRows(WordTable::Main, wordsOf({{"5000", "6000", "c."}}));
    job.rebuildDerived();
    const QStringList lines{"1", "00:00:05,000 --> 00:00:06,000", "c.", ""};
    QCOMPARE(job.text(TextView::Subtitles), lines);
    QCOMPARE(job.srtLines(), lines);
    QCOMPARE(job.cues().cues.size(), 1u);
}

void TstJobSrt::webVttFileLeavesTheSrtLines()
{
    FakePerson person;
    GlueJob job(person);
    job.settings.widenCues = false;
    // The first phrase has no sentence end: a silence as long as the pause
    // the phrases end at ends it.
    job.settings.endPhrasesAtPauses = true;
    job.settings.phrasePauseMs = 1;
    glueWords(job, wordsOf({{"10000", "16000", "so we moved to the city in the spring of that year because"},
                            {"16000", "16001", "SIL"},
                            {"15990", "22000", "found work."}}));
    const QStringList srt = job.srtLines();
    const qsizetype logged = person.logged.size();
    job.saveWebVtt(dir.filePath("out.vtt"));
    QCOMPARE(readTextFile(dir.filePath("out.vtt")),
             (QStringList{"WEBVTT", "", "00:00:10.000 --> 00:00:15.995", "so we moved to the city in the",
                          "spring of that year because", "", "00:00:15.995 --> 00:00:22.000", "found work.", ""}));
    QCOMPARE(job.srtLines(), srt);
    QCOMPARE(srt[1], QStringLiteral("00:00:10,000 --> 00:00:15,995"));
    QCOMPARE(person.logged.size(), logged); // writing the WebVTT file logs nothing
}

void TstJobSrt::typedWordTimesReachTheSrtAsBefore_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("phraseStart");
    QTest::addColumn<QString>("result"); // the first time line, or the message
    QTest::newRow("a start in its own form is the number")
        << "250" << "250" << "00:00:00,250 --> 00:00:02,000";
    QTest::newRow("a start with blanks is the trimmed text")
        << " 250 " << "250" << "00:00:00,250 --> 00:00:02,000";
    QTest::newRow("a start with a leading zero is read as a number")
        << "0250" << "0250" << "00:00:00,250 --> 00:00:02,000";
    QTest::newRow("a start with a fraction shows a comma the SRT cannot read")
        << "1.5" << "1,5" << "'1,5' is not a valid floating point value";
    QTest::newRow("an empty start") << "" << "" << "'' is not a valid floating point value";
}

void TstJobSrt::typedWordTimesReachTheSrtAsBefore()
{
    QFETCH(QString, start);
    QFETCH(QString, phraseStart);
    QFETCH(QString, result);
    FakePerson person;
    GlueJob job(person);
    job.settings.widenCues = false;
    glueWords(job, rowsOf<WordRow>({{"1", "0", "1000", "a", "1.00", "X"}, {"2", "1000", "2000", "b.", "1.00", "X"}}));
    // The person edits the glued table; the derived views are built again.
    job.setWordCell(WordTable::Main, 0, WordRow::Start, start);
    const QString message = errorMessage([&] { job.rebuildDerived(); });
    QCOMPARE(job.phraseRows()[0].cell(PhraseRow::Start), phraseStart);
    QCOMPARE(message == u"(no error)" ? job.srtLines().value(1) : message, result);
}

void TstJobSrt::anEditedCellIsReadAsShown()
{
    FakePerson person;
    GlueJob job(person);
    job.settings.widenCues = false;
    glueWords(job, wordsOf({{"1000", "2000", "a."}, {"3000", "4000", "b."}}));
    // The phrase table takes a person's edits, and tells of each.
    person.rowNotices.clear();
    job.setPhraseCell(1, PhraseRow::Start, QStringLiteral("3500"));
    job.setPhraseCell(1, PhraseRow::End, QStringLiteral("4000.5"));
    job.setPhraseCell(0, PhraseRow::Text, QStringLiteral("c."));
    QCOMPARE(person.rowNotices, (QList<FakePerson::RowNotice>{{FakePerson::RowNotice::PhrasesChanged, WordTable::Main, 1, 1},
                                                              {FakePerson::RowNotice::PhrasesChanged, WordTable::Main, 1, 1},
                                                              {FakePerson::RowNotice::PhrasesChanged, WordTable::Main, 0, 0}}));
    QCOMPARE(job.phraseRows()[1].start, 3500);
    QVERIFY(job.phraseRows()[1].isTyped(PhraseRow::End));
    // The SRT is built from the words: a word cell typed in another form
    // than its number's reaches it as its text read as a number.
    job.setWordCell(WordTable::Main, 1, WordRow::Start, QStringLiteral("3500"));
    job.setWordCell(WordTable::Main, 1, WordRow::End, QStringLiteral(" +4000"));
    job.setWordCell(WordTable::Main, 0, WordRow::Text, QStringLiteral("c."));
    QVERIFY(job.wordRows(WordTable::Main)[1].isTyped(WordRow::End));
    job.rebuildDerived();
    QCOMPARE(job.srtLines(), (QStringList{"1", "00:00:01,000 --> 00:00:02,000", "c.", "", "2",
                                          "00:00:03,500 --> 00:00:04,000", "b.", ""}));
}

void TstJobSrt::timesBeyondADoubleAreReadAsTheirText()
{
    // The SRT step reads a time cell as a decimal number; beyond 2^53 a
    // double holds only every other whole number, so the cell of 2^53 + 1
    // gives the cue of 2^53, and the largest 64-bit number does not round
    // back into 64 bits.
    const auto srtOf = [this](const QString &start, const QString &end) {
        FakePerson person;
        GlueJob job(person);
        job.settings.widenCues = false;
        const QString message = errorMessage([&] { glueWords(job, wordsOf({{start, end, "a."}})); });
        return srtOrMessage(job, message);
    };
    const QStringList exact = srtOf("9007199254740992", "9007199254740994");
    QCOMPARE(exact.size(), 4);
    QCOMPARE(srtOf("9007199254740993", "9007199254740994"), exact);
    const QString outOfRange = errorMessage([] { roundHalfEven(parseFloat(u"9223372036854775807")); });
    QVERIFY(outOfRange != u"(no error)");
    QCOMPARE(srtOf("0", "9223372036854775807"), QStringList{outOfRange});
}

QTEST_GUILESS_MAIN(TstJobSrt)
#include "tst_jobsrt.moc"
