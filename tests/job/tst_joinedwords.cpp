// The joined word list of a glued interview: every part's rows moved in,
// numbered on and shifted to where the part starts, and moved back to their
// parts as they were, with every edit made while joined.
#include "support/fakeperson.h"
#include "support/files.h"
#include "support/wavbuilder.h"
#include "jobrows.h"

#include "formats/wordfile.h"
#include "job/gluejob.h"
#include "job/joinedwords.h"
#include "job/wordrowfill.h"

#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

using Rows = QList<QStringList>; // word rows as the texts of their six cells

constexpr std::int64_t largest = std::numeric_limits<std::int64_t>::max();

// Everything a row holds: the cells as shown, which of them are typed, and
// the numbers beneath them.
QStringList stateOf(const WordRow &row)
{
    QStringList state = cells(row);
    for (int column = 0; column < WordRow::columnCount; ++column)
        state << (row.isTyped(WordRow::Column(column)) ? u"typed"_s : u"-"_s);
    state << QString::number(row.number) << QString::number(row.start) << QString::number(row.end)
          << QString::number(double(row.confidence), 'g', 9);
    return state;
}

QList<QStringList> statesOf(std::span<const WordRow> rows)
{
    QList<QStringList> states;
    for (const WordRow &row : rows)
        states << stateOf(row);
    return states;
}

std::vector<Part> partsOf(const QList<Rows> &rows)
{
    std::vector<Part> parts(std::size_t(rows.size()));
    for (qsizetype k = 0; k < rows.size(); ++k)
        parts[std::size_t(k)].rows = rowsOf<WordRow>(rows[k]);
    return parts;
}

// The rows a word file's line gives a part, as Open reads it.
std::vector<WordRow> rowsRead(const QByteArray &line)
{
    const std::vector<Word> words = parseWordFile(line, u' ');
    std::vector<WordRow> rows(words.size());
    fillWordRows(rows, words, 1, 0);
    return rows;
}

// Part 1: two words, one of them with typed cells; part 2: three words;
// part 3: one word.
const QList<Rows> threeParts = {
    {{u"1"_s, u"0"_s, u"480"_s, u"Good"_s, u"0.93"_s, u"A"_s},
     {u"2"_s, u"1.5"_s, u" +950"_s, u"morning."_s, u"0.9"_s, u"A"_s}},
    {{u"1"_s, u"100"_s, u"300"_s, u"Yes,"_s, u"0.50"_s, u"B"_s},
     {u"2"_s, u"300"_s, u"12x"_s, u"indeed"_s, u"1.00"_s, u"B"_s},
     {u"03"_s, u"-20"_s, u"900"_s, u"SIL"_s, u"0.00"_s, u"X"_s}},
    {{u"1"_s, u"5"_s, u"2147483647"_s, u"bye."_s, u"0.12"_s, u"A"_s}},
};

} // namespace

class TstJoinedWords : public QObject
{
    Q_OBJECT

private slots:
    void joinAndReleaseKeepEveryRow_data();
    void joinAndReleaseKeepEveryRow();
    void editsMadeWhileJoinedGoBackToTheirPart();
    void replaceKeepsEachPartsCount_data();
    void replaceKeepsEachPartsCount();
    void aShiftStopsAtTheEdgeOfTheRange_data();
    void aShiftStopsAtTheEdgeOfTheRange();
    void aTimeAtTheEdgeComesBackAsRead();
    void theJobGivesBackATimeAtTheEdge();
};

void TstJoinedWords::joinAndReleaseKeepEveryRow_data()
{
    QTest::addColumn<QList<Rows>>("parts");
    QTest::addColumn<QList<qint64>>("starts");
    QTest::newRow("three parts") << threeParts << QList<qint64>{0, 1500, 4000};
    QTest::newRow("a part without words in the middle")
        << QList<Rows>{threeParts[0], {}, threeParts[2]} << QList<qint64>{0, 1000, 1000};
    QTest::newRow("part 1 without words") << QList<Rows>{{}, threeParts[1]} << QList<qint64>{0, 250};
    QTest::newRow("no words at all") << QList<Rows>{{}, {}} << QList<qint64>{0, 10};
    QTest::newRow("part 1 shifted too") << QList<Rows>{threeParts[1], threeParts[0]} << QList<qint64>{7, 3000};
}

void TstJoinedWords::joinAndReleaseKeepEveryRow()
{
    QFETCH(QList<Rows>, parts);
    QFETCH(QList<qint64>, starts);
    std::vector<Part> list = partsOf(parts);
    QList<QList<QStringList>> before;
    for (const Part &part : list)
        before << statesOf(part.rows);

    JoinedWords joined;
    QVERIFY(!joined.isJoined());
    const std::vector<std::int64_t> startsMs(starts.begin(), starts.end());
    joined.join(list, startsMs);
    QVERIFY(joined.isJoined());

    // Moved, not copied: the parts hold no rows while joined.
    std::size_t first = 0;
    std::vector<std::size_t> later;
    for (std::size_t k = 0; k < list.size(); ++k) {
        QVERIFY(list[k].rows.empty());
        const std::span<const WordRow> rows = joined.partRows(k);
        QCOMPARE(rows.size(), std::size_t(parts[qsizetype(k)].size()));
        QCOMPARE(joined.firstRowOf(k), first);
        if (k > 0)
            later.push_back(first);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            // Numbered on and shifted; a typed cell keeps its text.
            const WordRow row = rowOf<WordRow>(parts[qsizetype(k)][qsizetype(i)]);
            QStringList expected = cells(row);
            if (!row.isTyped(WordRow::Number))
                expected[WordRow::Number] = QString::number(row.number + std::int64_t(first));
            if (!row.isTyped(WordRow::Start))
                expected[WordRow::Start] = QString::number(row.start + starts[qsizetype(k)]);
            if (!row.isTyped(WordRow::End))
                expected[WordRow::End] = QString::number(row.end + starts[qsizetype(k)]);
            QCOMPARE(cells(rows[i]), expected);
            for (int column = 0; column < WordRow::columnCount; ++column)
                QCOMPARE(rows[i].isTyped(WordRow::Column(column)), row.isTyped(WordRow::Column(column)));
            QCOMPARE(&rows[i], &joined.rows()[first + i]);
            QCOMPARE(joined.partOf(first + i), k);
        }
        first += rows.size();
    }
    QCOMPARE(joined.rows().size(), first);
    QCOMPARE(joined.laterPartsFirstRows(), later);

    joined.release(list);
    QVERIFY(!joined.isJoined());
    QVERIFY(joined.rows().empty());
    QCOMPARE(list.size(), std::size_t(parts.size()));
    for (std::size_t k = 0; k < list.size(); ++k)
        QCOMPARE(statesOf(list[k].rows), before[qsizetype(k)]);
    // A second release has nothing to give back.
    joined.release(list);
    for (std::size_t k = 0; k < list.size(); ++k)
        QCOMPARE(statesOf(list[k].rows), before[qsizetype(k)]);
}

void TstJoinedWords::editsMadeWhileJoinedGoBackToTheirPart()
{
    std::vector<Part> list = partsOf(threeParts);
    JoinedWords joined;
    const std::vector<std::int64_t> starts{0, 1500, 4000};
    joined.join(list, starts);
    // Joined row 3 is part 2's first word, 1600 ms into the joined recording;
    // row 6 is part 3's only word.
    QCOMPARE(joined.rows()[2].start, 1600);
    joined.row(2).setCell(WordRow::Start, u"1650"_s);
    joined.row(2).setCell(WordRow::Text, u"Yes!"_s);
    joined.row(3).setCell(WordRow::End, u"2.5"_s);
    joined.row(5).setCell(WordRow::End, u"4900"_s);
    joined.row(0).setCell(WordRow::Speaker, u"Anna"_s);
    joined.release(list);

    Rows part1 = threeParts[0];
    part1[0][5] = u"Anna"_s;
    Rows part2 = threeParts[1];
    part2[0][1] = u"150"_s; // 1650 in the joined recording, shifted back
    part2[0][3] = u"Yes!"_s;
    part2[1][2] = u"2.5"_s; // typed text keeps its form
    Rows part3 = threeParts[2];
    part3[0][2] = u"900"_s;
    QCOMPARE(statesOf(list[0].rows), statesOf(rowsOf<WordRow>(part1)));
    QCOMPARE(cellsOf(list[1].rows), part2);
    QVERIFY(list[1].rows[1].isTyped(WordRow::End));
    QCOMPARE(list[1].rows[0].start, 150);
    QCOMPARE(cellsOf(list[2].rows), part3);
    QCOMPARE(list[2].rows[0].end, 900);
}

void TstJoinedWords::replaceKeepsEachPartsCount_data()
{
    QTest::addColumn<int>("rows");              // the rows of the new joined list
    QTest::addColumn<QList<int>>("counts");     // each part's rows after the replace
    // The parts hold 2, 3 and 1 rows.
    QTest::newRow("as many rows") << 6 << QList<int>{2, 3, 1};
    QTest::newRow("more rows: the last part takes them") << 9 << QList<int>{2, 3, 4};
    QTest::newRow("fewer rows: the earlier parts keep theirs first") << 4 << QList<int>{2, 2, 0};
    QTest::newRow("fewer than part 1 had") << 1 << QList<int>{1, 0, 0};
    QTest::newRow("none") << 0 << QList<int>{0, 0, 0};
}

void TstJoinedWords::replaceKeepsEachPartsCount()
{
    QFETCH(int, rows);
    QFETCH(QList<int>, counts);
    std::vector<Part> list = partsOf(threeParts);
    JoinedWords joined;
    const std::vector<std::int64_t> starts{0, 1500, 4000};
    joined.join(list, starts);

    // A paste of rows numbered on from 1, 1000 ms apart.
    Rows pasted;
    for (int i = 0; i < rows; ++i)
        pasted << QStringList{QString::number(i + 1), QString::number(1000 * i + 4100),
                              QString::number(1000 * i + 4200), u"w%1"_s.arg(i), u"0.50"_s, u"X"_s};
    joined.replace(rowsOf<WordRow>(pasted));
    QCOMPARE(joined.rows().size(), std::size_t(rows));
    int first = 0;
    for (int k = 0; k < 3; ++k) {
        QCOMPARE(joined.firstRowOf(std::size_t(k)), std::size_t(first));
        QCOMPARE(joined.partRows(std::size_t(k)).size(), std::size_t(counts[k]));
        first += counts[k];
    }

    // Each part gets its rows back numbered from 1 and in its own times.
    joined.release(list);
    int row = 0;
    for (int k = 0; k < 3; ++k) {
        Rows expected;
        for (int i = 0; i < counts[k]; ++i, ++row)
            expected << QStringList{QString::number(i + 1), QString::number(1000 * row + 4100 - starts[std::size_t(k)]),
                                    QString::number(1000 * row + 4200 - starts[std::size_t(k)]), u"w%1"_s.arg(row),
                                    u"0.50"_s, u"X"_s};
        QCOMPARE(cellsOf(list[std::size_t(k)].rows), expected);
    }
}

void TstJoinedWords::aShiftStopsAtTheEdgeOfTheRange_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<qint64>("shift");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");

    // What fuzzing found: a time at an end of the range, shifted, wrapped
    // around to the other side of zero.
    QTest::newRow("the lowest start the reader takes, 1 ms earlier")
        << QByteArray("u 1 -9223372036854775.808 0 x. 1") << qint64(-1) << u"-9223372036854775808"_s << u"-1"_s;
    QTest::newRow("the highest end the reader takes, 10 s later")
        << QByteArray("u 1 0 9223372036854774 x. 1") << qint64(10000) << u"10000"_s << u"9223372036854775807"_s;
}

void TstJoinedWords::aShiftStopsAtTheEdgeOfTheRange()
{
    QFETCH(QByteArray, line);
    QFETCH(qint64, shift);
    QFETCH(QString, start);
    QFETCH(QString, end);
    std::vector<Part> list(2);
    list[1].rows = rowsRead(line);
    JoinedWords joined;
    const std::vector<std::int64_t> starts{0, shift};
    joined.join(list, starts);
    QCOMPARE(joined.rows().size(), 1u);
    QCOMPARE(joined.rows()[0].cell(WordRow::Start), start);
    QCOMPARE(joined.rows()[0].cell(WordRow::End), end);
}

void TstJoinedWords::aTimeAtTheEdgeComesBackAsRead()
{
    // The end stops at the top of the range when joined; the part's word
    // still ends where its file said.
    std::vector<Part> list(2);
    list[1].rows = rowsRead("u 1 0 9223372036854774 x. 1");
    const QList<QStringList> read = statesOf(list[1].rows);
    JoinedWords joined;
    const std::vector<std::int64_t> starts{0, 10000};
    joined.join(list, starts);
    QCOMPARE(joined.rows()[0].end, largest);
    joined.release(list);
    QCOMPARE(statesOf(list[1].rows), read);
}

void TstJoinedWords::theJobGivesBackATimeAtTheEdge()
{
    // The same through the commands: part 2 starts 10 s in; an Open after
    // Glue gives part 2 its rows back, and a second Glue joins them again.
    // (A silence ends no phrase: an end this late makes no SRT cue.)
    QTemporaryDir dir;
    writeBytes(dir.filePath(u"half2.ctm"_s), "u 1 0 9223372036854774 SIL 1\nu 1 0 0.5 so 1\n");
    writeSilentWav(dir.filePath(u"half1.wav"_s), 16000, 1, 16, 160000);
    writeSilentWav(dir.filePath(u"half2.wav"_s), 16000, 1, 16, 16000);
    writeLines(dir.filePath(u"half1.txt"_s), {u"Hello."_s});
    FakePerson person;
    GlueJob job(person);
    job.settings.tabSeparated = false;
    job.openWordFile(2, dir.filePath(u"half2.ctm"_s));
    job.openRecording(1, dir.filePath(u"half1.wav"_s));
    job.openRecording(2, dir.filePath(u"half2.wav"_s));
    const QList<QStringList> read = statesOf(job.wordRows(WordTable::PartTwo));
    QCOMPARE(read.size(), 2);
    QCOMPARE(read[0][2], u"9223372036854773760"_s); // the nearest a double holds

    job.glue(dir.filePath(u"joined.wav"_s));
    QCOMPARE(job.partStartsMs(), (std::vector<std::int64_t>{0, 10000}));
    QCOMPARE(job.wordRows(WordTable::Main)[0].cell(WordRow::End), u"9223372036854775807"_s);
    job.openText(1, dir.filePath(u"half1.txt"_s));
    QVERIFY(!job.isGlued());
    QCOMPARE(statesOf(job.wordRows(WordTable::PartTwo)), read);
    job.glue(dir.filePath(u"joined.wav"_s));
    QCOMPARE(job.wordRows(WordTable::Main)[0].cell(WordRow::End), u"9223372036854775807"_s);
}

QTEST_GUILESS_MAIN(TstJoinedWords)
#include "tst_joinedwords.moc"
