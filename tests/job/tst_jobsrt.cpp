// SRT building from the phrase table, and the WebVTT file of its cues.
#include "support/fakeperson.h"
#include "support/files.h"
#include "jobrows.h"

#include "base/error.h"
#include "base/numbers.h"
#include "base/textfile.h"
#include "job/gluejob.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// Phrase table rows given as {start, end, text}.
using Phrases = QList<QStringList>;

std::vector<PhraseRow> phraseRows(const Phrases &phrases)
{
    std::vector<PhraseRow> rows;
    for (int r = 0; r < phrases.size(); ++r)
        rows.push_back(rowOf<PhraseRow>({QString::number(r + 1), phrases[r][0], phrases[r][1],
                                         QString::number(phrases[r][2].size()), phrases[r][2]}));
    return rows;
}

const QString longText = QStringLiteral(
    "so we moved to the city in the spring of that year because my father had found work at the "
    "harbour and we all thought that life would be easier there.");

} // namespace

class TstJobSrt : public QObject
{
    Q_OBJECT

private slots:
    void srtLinesOfThePhrases_data();
    void srtLinesOfThePhrases();
    void badTimeCellEndsTheBuild_data();
    void badTimeCellEndsTheBuild();
    void aSecondBuildLeavesNothingOfTheFirst();
    void webVttFileLeavesTheSrtLines();
    void typedWordTimesReachTheSrtAsBefore_data();
    void typedWordTimesReachTheSrtAsBefore();
    void anEditedPhraseCellIsReadAsShown();
    void timesBeyondADoubleAreReadAsTheirText();
};

void TstJobSrt::srtLinesOfThePhrases_data()
{
    QTest::addColumn<Phrases>("phrases");
    QTest::addColumn<bool>("widen");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    QTest::addColumn<QStringList>("lines");

    const Phrases one{{"1000", "2100", "so we left."}};
    QTest::newRow("empty table") << Phrases{} << true << 100 << 200 << QStringList{};
    QTest::newRow("one phrase as it is")
        << one << false << 100 << 200 << QStringList{"1", "00:00:01,000 --> 00:00:02,100", "so we left.", ""};
    QTest::newRow("one phrase shown longer")
        << one << true << 100 << 200 << QStringList{"1", "00:00:00,900 --> 00:00:02,300", "so we left.", ""};
    QTest::newRow("widening by nothing keeps the times")
        << one << true << 0 << 0 << QStringList{"1", "00:00:01,000 --> 00:00:02,100", "so we left.", ""};
    QTest::newRow("times are rounded half to even")
        << Phrases{{"12.5", "2013.5", "x."}} << false << 100 << 200
        << QStringList{"1", "00:00:00,012 --> 00:00:02,014", "x.", ""};
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
    job.setPhraseRows(phraseRows(phrases));
    job.makeSrt();
    QCOMPARE(job.text(TextView::Subtitles), lines);
    QCOMPARE(job.srtLines, lines);
    QCOMPARE(person.logged, (QStringList{"Start making SRT", "Ready making SRT"}));
    QCOMPARE(person.changedTexts.last(), TextView::Subtitles);
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
    job.setPhraseRows(phraseRows({{"0", "500", "a."}}));
    job.makeSrt();
    job.setPhraseRows(phraseRows({{"100", "900", "b."}, {start, "2000", "c."}}));
    person.logged.clear();
    try {
        job.makeSrt();
        QFAIL("no error");
    } catch (const Error &e) {
        QCOMPARE(e.message(), message);
    }
    QCOMPARE(person.logged, QStringList{"Start making SRT"});
    QVERIFY(job.text(TextView::Subtitles).isEmpty());
    QVERIFY(job.srtLines.isEmpty());
    QCOMPARE(job.cues.cues[0].start, 100);
    QCOMPARE(job.cues.cues[0].text, QStringLiteral("b."));
}

void TstJobSrt::aSecondBuildLeavesNothingOfTheFirst()
{
    FakePerson person;
    GlueJob job(person);
    job.settings.widenCues = false;
    job.setPhraseRows(phraseRows({{"0", "500", "a."}, {"600", "900", "b."}}));
    job.makeSrt();
    job.setPhraseRows(phraseRows({{"5000", "6000", "c."}}));
    job.makeSrt();
    const QStringList lines{"1", "00:00:05,000 --> 00:00:06,000", "c.", ""};
    QCOMPARE(job.text(TextView::Subtitles), lines);
    QCOMPARE(job.srtLines, lines);
    QCOMPARE(job.cues.cues.size(), 1u);
}

void TstJobSrt::webVttFileLeavesTheSrtLines()
{
    QTemporaryDir dir;
    FakePerson person;
    GlueJob job(person);
    job.settings.widenCues = false;
    job.setPhraseRows(phraseRows({{"10000", "16000", "so we moved to the city in the spring of that year because"},
                                  {"15990", "22000", "found work."}}));
    job.makeSrt();
    const QStringList srt = job.srtLines;
    job.saveWebVtt(dir.filePath("out.vtt"));
    QCOMPARE(readTextFile(dir.filePath("out.vtt")),
             (QStringList{"WEBVTT", "", "00:00:10.000 --> 00:00:15.995", "so we moved to the city in the",
                          "spring of that year because", "", "00:00:15.995 --> 00:00:22.000", "found work.", ""}));
    QCOMPARE(job.srtLines, srt);
    QCOMPARE(srt[1], QStringLiteral("00:00:10,000 --> 00:00:15,995"));
    QCOMPARE(person.logged.size(), 2); // writing the WebVTT file logs nothing
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
    job.setWordRows(WordTable::Main, rowsOf<WordRow>({{"1", "0", "1000", "a", "1.00", "X"},
                                                       {"2", "1000", "2000", "b.", "1.00", "X"}}));
    job.setWordCell(WordTable::Main, 0, WordRow::Start, start);
    job.makePhrases();
    QCOMPARE(job.phraseRows()[0].cell(PhraseRow::Start), phraseStart);
    const QString message = errorMessage([&] { job.makeSrt(); });
    QCOMPARE(message == u"(no error)" ? job.srtLines.value(1) : message, result);
}

void TstJobSrt::anEditedPhraseCellIsReadAsShown()
{
    FakePerson person;
    GlueJob job(person);
    job.settings.widenCues = false;
    job.setPhraseRows(phraseRows({{"1000", "2000", "a."}, {"3000", "4000", "b."}}));
    person.rowNotices.clear();
    job.setPhraseCell(1, PhraseRow::Start, QStringLiteral("3500"));
    job.setPhraseCell(1, PhraseRow::End, QStringLiteral("4000.5"));
    job.setPhraseCell(0, PhraseRow::Text, QStringLiteral("c."));
    QCOMPARE(person.rowNotices, (QList<FakePerson::RowNotice>{{FakePerson::RowNotice::PhrasesChanged, WordTable::Main, 1, 1},
                                                              {FakePerson::RowNotice::PhrasesChanged, WordTable::Main, 1, 1},
                                                              {FakePerson::RowNotice::PhrasesChanged, WordTable::Main, 0, 0}}));
    QCOMPARE(job.phraseRows()[1].start, 3500);
    QVERIFY(job.phraseRows()[1].isTyped(PhraseRow::End));
    job.makeSrt();
    QCOMPARE(job.srtLines, (QStringList{"1", "00:00:01,000 --> 00:00:02,000", "c.", "", "2",
                                        "00:00:03,500 --> 00:00:04,000", "b.", ""}));
}

void TstJobSrt::timesBeyondADoubleAreReadAsTheirText()
{
    // The SRT step reads a time cell as a decimal number; beyond 2^53 a
    // double holds only every other whole number, so the cell of 2^53 + 1
    // gives the cue of 2^53, and the largest 64-bit number does not round
    // back into 64 bits.
    const auto srtOf = [](const QString &start, const QString &end) {
        FakePerson person;
        GlueJob job(person);
        job.settings.widenCues = false;
        job.setPhraseRows(phraseRows({{start, end, "a."}}));
        const QString message = errorMessage([&] { job.makeSrt(); });
        return message == u"(no error)" ? job.srtLines : QStringList{message};
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
