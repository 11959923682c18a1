// The job's corrections: each is taken back to the very bytes every output
// had before it and made again to the bytes it gave, also across a Glue; a
// corrected word is confirmed; inserted, merged and split rows get their
// times and numbers.
#include "job/gluejob.h"
#include "jobrows.h"
#include "support/fakeperson.h"
#include "support/files.h"
#include "support/wavbuilder.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <map>

using namespace Qt::Literals::StringLiterals;

namespace {

using Change = std::function<Correction(GlueJob &)>;

// Two parts of an interview: words with their speakers, a typed end, texts.
void openInterview(GlueJob &job, const QString &folder)
{
    writeSilentWav(folder + u"/one.wav"_s, 16000, 1, 16, 16000 * 3);
    writeSilentWav(folder + u"/two.wav"_s, 16000, 1, 16, 16000 * 2);
    job.openRecording(1, folder + u"/one.wav"_s);
    job.openRecording(2, folder + u"/two.wav"_s);
    job.setWordRows(WordTable::Main, rowsOf<WordRow>({{"1", "0", "300", "I", "0.90", "Anna"},
                                                      {"2", "300", "700", "was", "0.30", "Anna"},
                                                      {"3", "700", "1200", "born", "0.80", "Anna"},
                                                      {"4", "1200", "1500", "in", "0.95", "Bert"},
                                                      {"5", "1500", "2600", "New York.", "0.60", "Bert"}}));
    job.setWordRows(WordTable::PartTwo, rowsOf<WordRow>({{"1", "100", "400", "We", "0.70", "Anna"},
                                                         {"2", "400", "800", "left", "0.90", "Anna"},
                                                         {"3", "800", "1000", "the", "0.40", "Anna"},
                                                         {"4", "1000", "1700", "city.", "0.90", "Anna"}}));
    job.setWordCell(WordTable::PartTwo, 3, WordRow::End, u" +1700"_s);
    job.setText(TextView::Text1, {u"I was born in New York."_s, u"[Speaker: SP_1]"_s});
    job.setText(TextView::Text2, {u"We left the city."_s});
}

// Every file Save writes, by file name, and every cell of the joined rows.
std::map<QString, QByteArray> outputs(GlueJob &job, const QString &folder)
{
    job.rebuildDerived();
    job.save(folder + u"/joined.srt"_s);
    std::map<QString, QByteArray> files;
    const GlueOutputs &o = job.outputs();
    for (const QString &path : {o.text, o.wordFile, o.srt, o.transcript, o.page})
        files[QFileInfo(path).fileName()] = readBytes(path);
    QByteArray cells;
    for (const QStringList &row : cellsOf(job.wordRows(WordTable::Main)))
        cells += row.join(u'\t').toUtf8() + '\n';
    for (const QStringList &row : cellsOf(job.wordRows(WordTable::PartTwo)))
        cells += row.join(u'\t').toUtf8() + '\n';
    files[u"rows"_s] = cells;
    return files;
}

// A job with the interview opened and glued in a folder of its own.
struct GluedInterview
{
    QTemporaryDir folder;
    FakePerson person;
    GlueJob job{person};

    explicit GluedInterview(bool glued = true)
    {
        openInterview(job, folder.path());
        if (glued)
            glue();
    }
    void glue() { job.glue(folder.path() + u"/joined.wav"_s); }
    std::map<QString, QByteArray> saved() { return outputs(job, folder.path()); }
};

} // namespace

class TestJobCorrections : public QObject
{
    Q_OBJECT
private slots:
    void undoAndRedoGiveTheBytesOfEveryOutput_data()
    {
        QTest::addColumn<Change>("change");
        QTest::newRow("a word's text") << Change([](GlueJob &j) {
            return j.correctWordCell(WordTable::Main, 1, WordRow::Text, u"is"_s);
        });
        QTest::newRow("a start typed in another form") << Change([](GlueJob &j) {
            return j.correctWordCell(WordTable::Main, 2, WordRow::Start, u" +750"_s);
        });
        QTest::newRow("a cell of part 2 in the second table") << Change([](GlueJob &j) {
            return j.correctWordCell(WordTable::PartTwo, 3, WordRow::End, u"5100"_s);
        });
        QTest::newRow("the joined text") << Change([](GlueJob &j) {
            return j.correctText(TextView::Text1, {u"I was born in York."_s, u"[Speaker: SP_1]"_s,
                                                   u"We left the city."_s, u"Then"_s});
        });
        QTest::newRow("a word inserted after") << Change([](GlueJob &j) { return j.insertWord(WordTable::Main, 0, true); });
        QTest::newRow("a word inserted before part 2") << Change([](GlueJob &j) {
            return j.insertWord(WordTable::PartTwo, 0, false);
        });
        QTest::newRow("words deleted across the seam") << Change([](GlueJob &j) {
            return j.deleteWords(WordTable::Main, 3, 3);
        });
        QTest::newRow("words merged") << Change([](GlueJob &j) { return j.mergeWithNext(WordTable::Main, 0); });
        QTest::newRow("a word split") << Change([](GlueJob &j) { return j.splitWordAtBlanks(WordTable::Main, 4); });
        QTest::newRow("a speaker renamed everywhere") << Change([](GlueJob &j) {
            return j.renameSpeaker(u"Anna"_s, u"Ann"_s, -1);
        });
        QTest::newRow("a speaker renamed in part 2") << Change([](GlueJob &j) {
            return j.renameSpeaker(u"Anna"_s, u"Ann"_s, 1);
        });
        QTest::newRow("a replace in words and texts") << Change([](GlueJob &j) {
            return j.replaceAll(TextSearch{u"the"_s, true, false}, u"our"_s);
        });
    }

    void undoAndRedoGiveTheBytesOfEveryOutput()
    {
        QFETCH(Change, change);
        GluedInterview g;
        GlueJob &job = g.job;
        const auto before = g.saved();

        const Correction correction = change(job);
        QVERIFY(!correction.isEmpty());
        QVERIFY(job.hasUnsavedWork());
        const auto after = g.saved();
        QVERIFY(after != before);

        job.undoCorrection(correction);
        QVERIFY(g.saved() == before);
        job.redoCorrection(correction);
        QVERIFY(g.saved() == after);
    }

    // A correction made before Glue is taken back after it as if it had
    // never been made, and the other way round.
    void aCorrectionCrossesAGlue()
    {
        const auto uncorrected = GluedInterview().saved();

        GluedInterview g(false);
        GlueJob &job = g.job;
        const Correction merge = job.mergeWithNext(WordTable::PartTwo, 1);
        const Correction text = job.correctWordCell(WordTable::Main, 4, WordRow::Text, u"Utrecht."_s);
        g.glue();
        const auto corrected = g.saved();
        job.undoCorrection(text);
        job.undoCorrection(merge);
        QVERIFY(g.saved() == uncorrected);
        job.redoCorrection(merge);
        job.redoCorrection(text);
        QVERIFY(g.saved() == corrected);
    }

    void aWordWhoseTextChangedIsConfirmed()
    {
        GluedInterview g;
        GlueJob &job = g.job;
        QVERIFY(job.correctWordCell(WordTable::Main, 1, WordRow::Text, u"was"_s).isEmpty());
        QCOMPARE(job.wordRows(WordTable::Main)[1].cell(WordRow::Confidence), u"0.30"_s);
        job.setWordCell(WordTable::Main, 1, WordRow::Text, u"is"_s);
        QCOMPARE(job.wordRows(WordTable::Main)[1].cell(WordRow::Confidence), u"1.00"_s);
        g.saved();
        // The word file names the word and, right after it, its confidence.
        const QString words = QString::fromUtf8(readBytes(job.outputs().wordFile));
        QStringList fields;
        for (const QString &line : words.split(u'\n'))
            if (line.split(QRegularExpression(u"\\s+"_s)).contains(u"is"_s))
                fields = line.split(QRegularExpression(u"\\s+"_s));
        QVERIFY2(fields.indexOf(u"is"_s) >= 0, qPrintable(words));
        QCOMPARE(fields.value(fields.indexOf(u"is"_s) + 1), u"1.00"_s);
    }

    void insertedMergedAndSplitRowsGetTimesAndNumbers()
    {
        GluedInterview g;
        GlueJob &job = g.job;
        const auto cellsOfRow = [&](int row) { return cells(job.wordRows(WordTable::Main)[static_cast<std::size_t>(row)]); };

        job.insertWord(WordTable::Main, 1, false);
        QCOMPARE(cellsOfRow(1), (QStringList{"2", "300", "300", "", "1.00", "Anna"}));
        QCOMPARE(cellsOfRow(2).first(), u"3"_s);
        QCOMPARE(job.wordRows(WordTable::PartTwo)[0].number, 7);

        job.splitWordAtBlanks(WordTable::Main, 5); // "New York." over 1500 .. 2600: 3 and 5 characters
        QCOMPARE(cellsOfRow(5), (QStringList{"6", "1500", "1913", "New", "0.60", "Bert"}));
        QCOMPARE(cellsOfRow(6), (QStringList{"7", "1913", "2600", "York.", "0.60", "Bert"}));

        job.mergeWithNext(WordTable::Main, 3);
        QCOMPARE(cellsOfRow(3), (QStringList{"4", "700", "1500", "born in", "1.00", "Anna"}));
        QCOMPARE(job.wordRows(WordTable::Main).size(), std::size_t{10});
        QCOMPARE(job.wordRows(WordTable::PartTwo)[0].number, 7);

        QCOMPARE(errorMessage([&] { job.mergeWithNext(WordTable::Main, 5); }),
                 u"The last word of a part has no next word to merge with."_s);
        QCOMPARE(errorMessage([&] { job.splitWordAtBlanks(WordTable::Main, 0); }),
                 u"The word \"I\" has no blank to split it at."_s);
    }

    void findCountsMatchesInWordsTextsAndPhrases_data()
    {
        QTest::addColumn<TextSearch>("search");
        QTest::addColumn<int>("words");
        QTest::addColumn<int>("texts");
        QTest::addColumn<int>("phrases");
        QTest::newRow("anywhere, any case") << TextSearch{u"the"_s, false, false} << 1 << 1 << 1;
        QTest::newRow("whole words") << TextSearch{u"i"_s, true, false} << 1 << 1 << 1;
        QTest::newRow("a part of words") << TextSearch{u"i"_s, false, false} << 3 << 3 << 3;
        QTest::newRow("in its case") << TextSearch{u"we"_s, false, true} << 0 << 0 << 0;
        QTest::newRow("in any case") << TextSearch{u"we"_s, false, false} << 1 << 1 << 1;
        QTest::newRow("across a blank") << TextSearch{u"New York"_s, true, false} << 1 << 1 << 1;
        QTest::newRow("nothing") << TextSearch{} << 0 << 0 << 0;
    }

    void findCountsMatchesInWordsTextsAndPhrases()
    {
        QFETCH(TextSearch, search);
        GluedInterview g;
        GlueJob &job = g.job;
        const MatchCounts counts = job.countMatches(search);
        QTEST(counts.words, "words");
        QTEST(counts.texts, "texts");
        QTEST(counts.phrases, "phrases");
    }
};

QTEST_GUILESS_MAIN(TestJobCorrections)
#include "tst_jobcorrections.moc"
