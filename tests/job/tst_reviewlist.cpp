// The review list: every kind of doubtful spot on a small fixture, the rule
// of filling unknown words from the transcript, and the job's fill: its rows,
// its marks, its log line, and a list that follows corrections.
#include "job/gluejob.h"
#include "job/reviewlist.h"
#include "support/fakeperson.h"
#include "support/files.h"
#include "support/jobsteps.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// Rows from "start-end text[/confidence][@speaker], ..."; confidence 0.9 and
// speaker A unless given.
std::vector<WordRow> rowsOf(const QString &described)
{
    std::vector<WordRow> rows;
    for (const QString &item : described.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
        const qsizetype blank = item.indexOf(u' ');
        const QStringList times = item.left(blank).split(u'-');
        QString text = item.mid(blank + 1);
        WordRow row;
        row.number = static_cast<std::int64_t>(rows.size() + 1);
        row.start = times[0].toLongLong();
        row.end = times[1].toLongLong();
        row.speaker = QStringLiteral("A");
        row.confidence = 0.9f;
        if (const qsizetype at = text.indexOf(u'@'); at > 0) {
            row.speaker = text.mid(at + 1);
            text.truncate(at);
        }
        if (const qsizetype slash = text.indexOf(u'/'); slash > 0) {
            row.confidence = text.mid(slash + 1).toFloat();
            text.truncate(slash);
        }
        row.text = text;
        rows.push_back(row);
    }
    return rows;
}

// Words at 300 ms each: "I was born" gives rows 0-300, 300-600, 600-900.
QString wordsEvery300(const QString &words)
{
    QStringList items;
    std::int64_t ms = 0;
    for (const QString &word : words.split(u' ', Qt::SkipEmptyParts)) {
        items << QStringLiteral("%1-%2 %3").arg(ms).arg(ms + 300).arg(word);
        ms += 300;
    }
    return items.join(QStringLiteral(", "));
}

QStringList described(const ReviewList &list)
{
    QStringList out;
    for (const ReviewRow &row : list.rows)
        out << QStringLiteral("%1 %2 %3 %4 | %5")
                   .arg(reviewKindWord(row.kind))
                   .arg(row.row + 1)
                   .arg(row.timeMs)
                   .arg(row.words, row.transcript);
    return out;
}

ReviewList reviewOf(const std::vector<WordRow> &rows, const QStringList &text, std::int64_t recordingEndMs = -1)
{
    const PartUnderReview part{rows, 0, &text, 0, recordingEndMs, {}};
    return reviewParts(std::span(&part, 1), GlueSettings{});
}

} // namespace

class TestReviewList : public QObject
{
    Q_OBJECT
private slots:
    void everyKindOnItsFixture_data()
    {
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QStringList>("text");
        QTest::addColumn<QStringList>("review");
        const QStringList born{"[StartTime: 0 ms]", "[Speaker: SP_01 Anna]", "I was born in Zwolle."};

        QTest::newRow("nothing doubtful") << wordsEvery300("I was born in Zwolle") << born << QStringList{};
        QTest::newRow("unknown, with the transcript's word")
            << wordsEvery300("I was born in <unk>") << born << QStringList{"unknown 5 1200 <unk> | Zwolle."};
        QTest::newRow("skipped, at the word before")
            << wordsEvery300("I born in Zwolle") << born << QStringList{"skipped 1 0  | was"};
        QTest::newRow("a run skipped at the start, at the word after")
            << wordsEvery300("in Zwolle") << born << QStringList{"skipped 1 0  | I was born"};
        QTest::newRow("extra") << wordsEvery300("I was uh born in Zwolle") << born << QStringList{"extra 3 600 uh | "};
        QTest::newRow("extra, heard otherwise")
            << wordsEvery300("I wos born in Zwolle") << born << QStringList{"extra 2 300 wos | was"};
        QTest::newRow("silences are no words")
            << "0-300 I, 300-2900 SIL, 2900-3200 was" << QStringList{"I was"} << QStringList{};
        QTest::newRow("stacked, not also zero length")
            << "0-300 so, 300-300 we, 300-300 left, 300-300 it" << QStringList{"so we left it"}
            << QStringList{"stacked 2 300 we left it | "};
        QTest::newRow("zero length, a run")
            << "0-300 so, 300-300 we, 400-400 left, 500-800 it" << QStringList{"so we left it"}
            << QStringList{"zero-length 2 300 we left | "};
        QTest::newRow("long word, not a long silence")
            << "0-2600 so, 2600-9000 SIL, 9000-9300 we" << QStringList{"so we"}
            << QStringList{"long-word 1 0 so | ", "long-gap 1 2600 so \u2026 we | "};
        QTest::newRow("no long gap between speakers")
            << "0-300 so@A, 6000-6300 we@B" << QStringList{"so we"} << QStringList{};
        QTest::newRow("low confidence: a run, not one word")
            << "0-300 so/0.3, 300-600 we/0.9, 600-900 left/0.4, 900-1200 it/0.2" << QStringList{"so we left it"}
            << QStringList{"low-confidence 3 600 left it | "};
        QTest::newRow("backwards: ends before it starts, starts before the one before")
            << "0-300 so, 900-600 we, 500-800 left" << QStringList{"so we left"}
            << QStringList{"backwards 2 900 we left | "};
        QTest::newRow("many words, the first twelve shown")
            << wordsEvery300("a b c d e f g h i j k l m n") << QStringList{}
            << QStringList{"extra 1 0 a b c d e f g h i j k l \u2026 | "};
        QTest::newRow("sorted by time")
            << "0-300 I, 300-600 <unk>, 600-600 born" << QStringList{"I was born"}
            << QStringList{"unknown 2 300 <unk> | was", "zero-length 3 600 born | "};
    }

    void everyKindOnItsFixture()
    {
        QFETCH(QString, rows);
        QFETCH(QStringList, text);
        QFETCH(QStringList, review);
        QCOMPARE(described(reviewOf(rowsOf(rows), text)), review);
    }

    void wordsBeyondTheRecordingAreOneRow()
    {
        const ReviewList list = reviewOf(rowsOf(wordsEvery300("so we left it")), {"so we left it"}, 700);
        QCOMPARE(described(list), QStringList{"beyond-recording 3 600 left it | "});
    }

    void unknownTokensAreASetting()
    {
        const std::vector<WordRow> rows = rowsOf(wordsEvery300("born in <garbage> now"));
        const QStringList text{"born in Zwolle now"};
        const PartUnderReview part{rows, 0, &text, 0, -1, {}};
        QCOMPARE(described(reviewParts(std::span(&part, 1), GlueSettings{})),
                 QStringList{"extra 3 600 <garbage> | Zwolle"});
        GlueSettings settings;
        settings.unknownWords = QStringList{"<garbage>"};
        const ReviewList list = reviewParts(std::span(&part, 1), settings);
        QCOMPARE(described(list), QStringList{"unknown 3 600 <garbage> | Zwolle"});
        QCOMPARE(list.fills.size(), std::size_t(1));
    }

    void unknownWordsFillOnlyWithoutDoubt_data()
    {
        QTest::addColumn<QString>("words");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fills"); // "row:word" per fill

        QTest::newRow("alone between paired words") << "I was born in <unk> in 1952" << "I was born in Zwolle, in 1952"
                                                    << "5:Zwolle,";
        QTest::newRow("case and punctuation as written")
            << "born in <unk> yes" << "born in \"Den-Haag!\" Yes" << "3:\"Den-Haag!\"";
        QTest::newRow("a silence between stays out") << "born in SIL <unk> now" << "born in Zwolle now" << "4:Zwolle";
        QTest::newRow("other tokens of the list") << "born in [unk] now <UNK> then" << "born in Zwolle now Anna then"
                                                  << "3:Zwolle 5:Anna";
        QTest::newRow("two unknowns for two words") << "born in <unk> <unk> now" << "born in Den Haag now" << "";
        QTest::newRow("one unknown for two words") << "born in <unk> now" << "born in Den Haag now" << "";
        QTest::newRow("no paired word before") << "<unk> was born" << "Anna was born" << "";
        QTest::newRow("no paired word after") << "born in <unk>" << "born in Zwolle" << "";
        QTest::newRow("a neighbour heard otherwise") << "born on <unk> now" << "born in Zwolle now" << "";
        QTest::newRow("nothing to fill with") << "born in <unk> now" << "born in now" << "";
    }

    void unknownWordsFillOnlyWithoutDoubt()
    {
        QFETCH(QString, words);
        QFETCH(QString, text);
        QFETCH(QString, fills);
        const ReviewList list = reviewOf(rowsOf(wordsEvery300(words)), {text});
        QStringList found;
        for (const UnknownFill &fill : list.fills)
            found << QStringLiteral("%1:%2").arg(fill.row + 1).arg(fill.word);
        QCOMPARE(found.join(u' '), fills);
    }

    // Two parts glued: the fill puts the words in, keeps the times, marks the
    // rows filled and says so in the log; a plain Glue changes nothing; the
    // list follows a correction.
    void theJobFillsAndTheListFollows()
    {
        QTemporaryDir folder;
        FakePerson person;
        GlueJob job(person);
        job.setText(TextView::Text1, {"[StartTime: 0 ms]", "I was born in Zwolle."});
        job.setText(TextView::Text2, {"[Speaker: Bob]", "We moved to Delft, in spring."});
        job.setWordRows(WordTable::PartTwo, rowsOf(wordsEvery300("We moved to <unk> in spring.")));
        QCOMPARE(glueRowsOverSilence(job, folder.path(), rowsOf(wordsEvery300("I was born in <unk> SIL"))),
                 QStringLiteral("(no error)"));
        // Part 2 starts 10 ms into the joined recording.
        QCOMPARE(described(job.review()),
                 (QStringList{"beyond-recording 1 0 I was born in <unk> SIL | ",
                              "beyond-recording 7 10 We moved to <unk> in spring. | ", "unknown 10 910 <unk> | Delft,",
                              "unknown 5 1200 <unk> | Zwolle."}));
        QCOMPARE(job.wordRows(WordTable::Main)[4].text, QStringLiteral("<unk>"));

        QCOMPARE(job.fillUnknownWords().splices.size(), std::size_t{1});
        QCOMPARE(job.wordRows(WordTable::Main)[4].text, QStringLiteral("<unk>")); // no paired word after it
        QCOMPARE(job.wordRows(WordTable::Main)[9].text, QStringLiteral("Delft,"));
        QCOMPARE(job.wordRows(WordTable::PartTwo)[3].start, 910);
        QVERIFY(job.text(TextView::Log).contains(QStringLiteral("Filled 1 unknown words from the transcript")));
        QVERIFY(described(job.review()).contains(QStringLiteral("filled 10 910 <unk> | Delft,")));
        QVERIFY(job.phraseRows().back().text.endsWith(QStringLiteral(" We moved to Delft, in spring.")));
        QVERIFY(job.fillUnknownWords().isEmpty());

        // A correction: the row is no longer unknown, and no longer listed.
        job.setWordCell(WordTable::Main, 4, WordRow::Text, QStringLiteral("Zwolle."));
        job.rebuildDerived();
        QVERIFY(!described(job.review()).join(u'\n').contains(QStringLiteral("unknown 5 ")));
    }
};

QTEST_MAIN(TestReviewList)
#include "tst_reviewlist.moc"
