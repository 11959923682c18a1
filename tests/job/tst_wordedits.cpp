// The pure steps of the word edits and of Find: the rows a merge, a split and
// an insert make, what a search matches and replaces, and the order in which
// F8 and F3 go round a table.
#include "base/error.h"
#include "job/doubtfulwords.h"
#include "job/textsearch.h"
#include "job/wordedits.h"
#include "support/files.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

WordRow word(std::int64_t start, std::int64_t end, const QString &text, float confidence = 0.9f)
{
    WordRow row;
    row.number = 7;
    row.start = start;
    row.end = end;
    row.text = text;
    row.confidence = confidence;
    row.speaker = u"Anna"_s;
    return row;
}

} // namespace

class TestWordEdits : public QObject
{
    Q_OBJECT
private slots:
    void aSplitSharesTheTimeByCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("pieces");
        QTest::addColumn<QList<qint64>>("ends");
        QTest::newRow("two pieces") << u"New York."_s << QStringList{"New", "York."} << QList<qint64>{1375, 2000};
        QTest::newRow("runs of blanks") << u" a  bb   c "_s << QStringList{"a", "bb", "c"} << QList<qint64>{1250, 1750, 2000};
        QTest::newRow("three equal") << u"ab cd ef"_s << QStringList{"ab", "cd", "ef"} << QList<qint64>{1333, 1667, 2000};
    }

    void aSplitSharesTheTimeByCharacters()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, pieces);
        QFETCH(QList<qint64>, ends);
        const std::vector<WordRow> rows = splitWord(word(1000, 2000, text));
        QCOMPARE(rows.size(), static_cast<std::size_t>(pieces.size()));
        qint64 start = 1000;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            QCOMPARE(rows[i].text, pieces[static_cast<qsizetype>(i)]);
            QCOMPARE(rows[i].start, start);
            QCOMPARE(rows[i].end, ends[static_cast<qsizetype>(i)]);
            QCOMPARE(rows[i].number, 7 + static_cast<std::int64_t>(i));
            QCOMPARE(rows[i].confidence, 0.9f);
            start = rows[i].end;
        }
    }

    void aWordWithoutABlankIsNotSplit()
    {
        QCOMPARE(errorMessage([] { splitWord(word(0, 10, u" alone "_s)); }),
                 u"The word \" alone \" has no blank to split it at."_s);
    }

    void aMergeJoinsTextsAndTakesTheNextEndAndItsTypedForm()
    {
        WordRow second = word(600, 900, u"York."_s, 0.2f);
        second.setCell(WordRow::End, u"0.9s"_s);
        WordRow first = word(100, 500, u"New"_s, 0.3f);
        first.setCell(WordRow::Confidence, u"0.3"_s);
        const WordRow merged = mergedWords(first, second);
        QCOMPARE(merged.text, u"New York."_s);
        QCOMPARE(merged.start, 100);
        QCOMPARE(merged.cell(WordRow::End), u"0.9s"_s);
        QCOMPARE(merged.cell(WordRow::Confidence), u"1.00"_s);
        QCOMPARE(mergedWords(word(0, 1, u""_s), second).text, u"York."_s);
    }

    void anInsertedWordLiesBetweenItsNeighbours()
    {
        const WordRow before = word(100, 400, u"a"_s), after = word(700, 900, u"b"_s), overlapping = word(300, 500, u"c"_s);
        using Times = std::pair<std::int64_t, std::int64_t>;
        const auto times = [](const WordRow &row) { return Times{row.start, row.end}; };
        QCOMPARE(times(wordBetween(&before, &after, u"X"_s)), Times(400, 700));
        QCOMPARE(times(wordBetween(&before, &overlapping, u"X"_s)), Times(400, 400));
        QCOMPARE(times(wordBetween(nullptr, &after, u"X"_s)), Times(700, 700));
        QCOMPARE(times(wordBetween(&before, nullptr, u"X"_s)), Times(400, 400));
        QCOMPARE(wordBetween(&before, &after, u"X"_s).speaker, u"X"_s);
        QCOMPARE(wordBetween(&before, &after, u"X"_s).confidence, 1.0f);
    }

    void aSearchMatchesAndReplaces_data()
    {
        QTest::addColumn<TextSearch>("search");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("replaced");
        QTest::newRow("anywhere") << TextSearch{u"an"_s} << u"An ant and an anchor"_s << 5 << u"# #t #d # #chor"_s;
        QTest::newRow("in its case") << TextSearch{u"an"_s, false, true} << u"An ant and an anchor"_s << 4
                                     << u"An #t #d # #chor"_s;
        QTest::newRow("whole words") << TextSearch{u"an"_s, true, false} << u"An ant and an anchor"_s << 2
                                     << u"# ant and # anchor"_s;
        QTest::newRow("whole words by punctuation") << TextSearch{u"unk"_s, true} << u"<unk> unknown [unk]"_s << 2
                                                    << u"<#> unknown [#]"_s;
        QTest::newRow("letters with accents are word letters") << TextSearch{u"caf"_s, true} << u"café caf"_s << 1
                                                              << u"café #"_s;
        QTest::newRow("no overlap") << TextSearch{u"aa"_s} << u"aaaaa"_s << 2 << u"##a"_s;
        QTest::newRow("nothing to find") << TextSearch{} << u"text"_s << 0 << u"text"_s;
    }

    void aSearchMatchesAndReplaces()
    {
        QFETCH(TextSearch, search);
        QFETCH(QString, text);
        QTEST(search.countIn(text), "count");
        QTEST(search.replacedIn(text, u"#"_s), "replaced");
    }

    void findAndF8GoRoundTheTable_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<int>("found");
        // Doubtful: 1 (low), 3 (<unk>), 4 ([unk]).
        QTest::newRow("nothing selected, forward") << -1 << true << 1;
        QTest::newRow("nothing selected, backward") << -1 << false << 4;
        QTest::newRow("from a doubtful word on") << 1 << true << 3;
        QTest::newRow("round the end") << 4 << true << 1;
        QTest::newRow("back round the start") << 1 << false << 4;
        QTest::newRow("back") << 4 << false << 3;
    }

    void findAndF8GoRoundTheTable()
    {
        QFETCH(int, from);
        QFETCH(bool, forward);
        GlueSettings settings;
        const std::vector<WordRow> rows{word(0, 1, u"a"_s), word(1, 2, u"b"_s, 0.49f), word(2, 3, u"c"_s, 0.5f),
                                        word(3, 4, u"<unk>"_s), word(4, 5, u"[unk]"_s, 1.0f)};
        QTEST(nextDoubtfulRow(rows, from, forward, settings), "found");
        settings.lowConfidence = 0;
        settings.unknownWords.clear();
        QCOMPARE(nextDoubtfulRow(rows, from, forward, settings), -1);
    }
};

QTEST_GUILESS_MAIN(TestWordEdits)
#include "tst_wordedits.moc"
