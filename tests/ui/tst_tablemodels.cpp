// The table models over the glue job's rows: how the job's notices become
// model signals, what the cells show, how an edit reaches the job, and the
// width rule of the phrase table's Text column.

#include "support/fakeperson.h"
#include "support/files.h"
#include "support/wavbuilder.h"

#include "job/gluejob.h"
#include "job/phrasebuilder.h"
#include "ui/phrasecolumnwidth.h"
#include "ui/phrasetablemodel.h"
#include "ui/wordtablemodel.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

namespace {

// The fake person, handing the job's row notices on to the models as the
// window does (unless forwarding is off).
class ForwardingPerson : public FakePerson
{
public:
    WordTableModel *first = nullptr;
    WordTableModel *second = nullptr;
    PhraseTableModel *phrases = nullptr;
    bool forwarding = true;

    void wordRowsReplaced(WordTable table) override
    {
        FakePerson::wordRowsReplaced(table);
        if (WordTableModel *model = modelOf(table))
            model->rowsReplaced();
    }
    void wordRowsAppended(WordTable table, int firstRow, int count) override
    {
        FakePerson::wordRowsAppended(table, firstRow, count);
        if (WordTableModel *model = modelOf(table))
            model->rowsAppended(firstRow, count);
    }
    void wordRowsChanged(WordTable table, int firstRow, int lastRow) override
    {
        FakePerson::wordRowsChanged(table, firstRow, lastRow);
        if (WordTableModel *model = modelOf(table))
            model->rowsChanged(firstRow, lastRow);
    }
    void phraseRowsReplaced() override
    {
        FakePerson::phraseRowsReplaced();
        if (forwarding && phrases)
            phrases->rowsReplaced();
    }
    void phraseRowsChanged(int firstRow, int lastRow) override
    {
        FakePerson::phraseRowsChanged(firstRow, lastRow);
        if (forwarding && phrases)
            phrases->rowsChanged(firstRow, lastRow);
    }

private:
    WordTableModel *modelOf(WordTable table) const
    {
        if (!forwarding)
            return nullptr;
        return table == WordTable::Main ? first : second;
    }
};

// A job with its three models, the person forwarding to them.
struct Fixture
{
    ForwardingPerson person;
    GlueJob job{person};
    WordTableModel first{job, WordTable::Main};
    WordTableModel second{job, WordTable::PartTwo};
    PhraseTableModel phrases{job};

    Fixture()
    {
        person.first = &first;
        person.second = &second;
        person.phrases = &phrases;
        person.cancelUnanswered = true;
    }
    void openWordFile(int part, const QString &path)
    {
        job.openWordFile(part, path);
    }
};

QStringList shownRow(const QAbstractItemModel &model, int row)
{
    QStringList texts;
    for (int column = 0; column < model.columnCount(); ++column)
        texts << model.index(row, column).data().toString();
    return texts;
}

const QByteArray fourWords = "u\t1\t0.10\t0.40\tGood\t0.97\tInterviewer\n"
                             "u\t1\t0.45\t0.90\tmorning.\t0.5\tInterviewer\n"
                             "u\t1\t1.00\t1.30\tHello\t1\tRespondent\n"
                             "u\t1\t1.30\t1.70\tthere!\t0.88\tRespondent\n";
const QByteArray twoWords = "u\t1\t0.00\t0.30\tWhere\t0.91\tX\n"
                            "u\t1\t0.30\t0.60\tnow?\t0.92\tX\n";

} // namespace

class TstTableModels : public QObject
{
    Q_OBJECT

    QTemporaryDir tmp;
    QString four, two;

private slots:
    void initTestCase()
    {
        QVERIFY(tmp.isValid());
        four = tmp.filePath("four.spk");
        two = tmp.filePath("two.spk");
        writeBytes(four, fourWords);
        writeBytes(two, twoWords);
    }

    void showsTheJobsRowsAfterOneReset()
    {
        Fixture f;
        QSignalSpy resets(&f.first, &QAbstractItemModel::modelReset);
        QSignalSpy inserts(&f.first, &QAbstractItemModel::rowsInserted);
        QSignalSpy otherResets(&f.second, &QAbstractItemModel::modelReset);
        f.openWordFile(1, four);
        QCOMPARE(resets.count(), 1);
        QCOMPARE(inserts.count(), 0);
        QCOMPARE(otherResets.count(), 0);
        QCOMPARE(f.first.rowCount(), 4);
        QCOMPARE(f.second.rowCount(), 0);
        for (int r = 0; r < 4; ++r)
            QCOMPARE(shownRow(f.first, r), cells(f.job.wordRows(WordTable::Main)[size_t(r)]));
        QCOMPARE(shownRow(f.first, 1),
                 (QStringList{"2", "450", "900", "morning.", "0.50", "Interviewer"}));
    }

    // Until a notice comes, a model shows the rows it announced; the cells
    // of rows the job no longer has are empty, not a crash.
    void keepsTheRowCountItAnnounced()
    {
        Fixture f;
        f.openWordFile(1, four);
        f.person.forwarding = false;
        f.openWordFile(1, two);
        QCOMPARE(f.job.wordRows(WordTable::Main).size(), size_t(2));
        QCOMPARE(f.first.rowCount(), 4);
        QCOMPARE(shownRow(f.first, 1), cells(f.job.wordRows(WordTable::Main)[1]));
        QCOMPARE(shownRow(f.first, 3), QStringList(WordRow::columnCount, QString()));
        QVERIFY(!f.first.setData(f.first.index(3, WordRow::Text), QStringLiteral("x")));

        QSignalSpy resets(&f.first, &QAbstractItemModel::modelReset);
        f.first.rowsReplaced();
        QCOMPARE(resets.count(), 1);
        QCOMPARE(f.first.rowCount(), 2);
    }

    void glueAppendsInOneInsertAndReplacesThePhrases()
    {
        Fixture f;
        f.openWordFile(1, four);
        f.openWordFile(2, two);
        QSignalSpy inserts(&f.first, &QAbstractItemModel::rowsInserted);
        QSignalSpy resets(&f.first, &QAbstractItemModel::modelReset);
        QSignalSpy phraseResets(&f.phrases, &QAbstractItemModel::modelReset);
        writeSilentWav(tmp.filePath("one.wav"), 16000, 1, 16, 16);
        writeSilentWav(tmp.filePath("two.wav"), 16000, 1, 16, 16);
        f.job.openRecording(1, tmp.filePath("one.wav"));
        f.job.openRecording(2, tmp.filePath("two.wav"));
        f.job.glue(tmp.filePath("joined.wav"));
        QCOMPARE(inserts.count(), 1);
        QCOMPARE(inserts[0][1].toInt(), 4);
        QCOMPARE(inserts[0][2].toInt(), 5);
        QCOMPARE(resets.count(), 0);
        QCOMPARE(f.first.rowCount(), 6);
        QCOMPARE(shownRow(f.first, 5), cells(f.job.wordRows(WordTable::Main)[5]));
        QCOMPARE(phraseResets.count(), 1);
        QCOMPARE(f.phrases.rowCount(), int(f.job.phraseRows().size()));
        QCOMPARE(f.phrases.rowCount(), 3);
        for (int r = 0; r < f.phrases.rowCount(); ++r)
            QCOMPARE(shownRow(f.phrases, r), cells(f.job.phraseRows()[size_t(r)]));
    }

    // Rows appended where the model's rows do not end, or more than the job
    // holds: the model shows the table afresh rather than a wrong insert.
    void anAppendThatDoesNotFitResets_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("inserts");
        QTest::addColumn<int>("resets");
        QTest::addColumn<int>("rows");
        QTest::newRow("nothing appended") << 4 << 0 << 0 << 0 << 4;
        QTest::newRow("inside the rows shown") << 2 << 2 << 0 << 1 << 4;
        QTest::newRow("after a gap") << 5 << 1 << 0 << 1 << 4;
        QTest::newRow("more than the job holds") << 4 << 3 << 0 << 1 << 4;
    }

    void anAppendThatDoesNotFitResets()
    {
        QFETCH(int, first);
        QFETCH(int, count);
        QFETCH(int, inserts);
        QFETCH(int, resets);
        QFETCH(int, rows);
        Fixture f;
        f.openWordFile(1, four);
        QSignalSpy insertSpy(&f.first, &QAbstractItemModel::rowsInserted);
        QSignalSpy resetSpy(&f.first, &QAbstractItemModel::modelReset);
        f.first.rowsAppended(first, count);
        QCOMPARE(insertSpy.count(), inserts);
        QCOMPARE(resetSpy.count(), resets);
        QCOMPARE(f.first.rowCount(), rows);
    }

    // Changed rows become one dataChanged over all columns, kept to the rows shown.
    void changedRowsAreOneDataChanged_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<int>("top");    // -1: no signal
        QTest::addColumn<int>("bottom");
        QTest::newRow("one row") << 2 << 2 << 2 << 2;
        QTest::newRow("all rows") << 0 << 3 << 0 << 3;
        QTest::newRow("beyond the end") << 1 << 10 << 1 << 3;
        QTest::newRow("before the start") << -3 << 0 << 0 << 0;
        QTest::newRow("wholly beyond") << 4 << 9 << -1 << -1;
        QTest::newRow("last before first") << 3 << 2 << -1 << -1;
    }

    void changedRowsAreOneDataChanged()
    {
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(int, top);
        QFETCH(int, bottom);
        Fixture f;
        f.openWordFile(1, four);
        QSignalSpy changes(&f.first, &QAbstractItemModel::dataChanged);
        f.first.rowsChanged(first, last);
        if (top < 0) {
            QCOMPARE(changes.count(), 0);
            return;
        }
        QCOMPARE(changes.count(), 1);
        const auto topLeft = changes[0][0].value<QModelIndex>();
        const auto bottomRight = changes[0][1].value<QModelIndex>();
        QCOMPARE(topLeft.row(), top);
        QCOMPARE(topLeft.column(), 0);
        QCOMPARE(bottomRight.row(), bottom);
        QCOMPARE(bottomRight.column(), WordRow::columnCount - 1);
    }

    // An edit through the model reaches the job's row; the job's notice
    // comes back as one dataChanged for that row.
    void anEditReachesTheJob_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("keptAsText");
        QTest::newRow("start in its own form") << int(WordRow::Start) << "460" << false;
        QTest::newRow("start in seconds") << int(WordRow::Start) << "0.46" << true;
        QTest::newRow("end with letters") << int(WordRow::End) << "9x" << true;
        QTest::newRow("confidence in its own form") << int(WordRow::Confidence) << "0.05" << false;
        QTest::newRow("confidence with three decimals") << int(WordRow::Confidence) << "0.050" << true;
        QTest::newRow("word") << int(WordRow::Text) << "evening." << false;
    }

    void anEditReachesTheJob()
    {
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(bool, keptAsText);
        Fixture f;
        f.openWordFile(1, four);
        QSignalSpy changes(&f.first, &QAbstractItemModel::dataChanged);
        const QModelIndex place = f.first.index(1, column);
        QVERIFY(f.first.flags(place) & Qt::ItemIsEditable);
        QVERIFY(f.first.setData(place, typed));
        const WordRow &row = f.job.wordRows(WordTable::Main)[1];
        const auto col = static_cast<WordRow::Column>(column);
        QCOMPARE(row.cell(col), typed);
        QCOMPARE(row.isTyped(col), keptAsText);
        QCOMPARE(place.data().toString(), typed);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes[0][0].value<QModelIndex>().row(), 1);
        QCOMPARE(changes[0][1].value<QModelIndex>().row(), 1);
        QCOMPARE(f.person.rowNotices.last(),
                 (FakePerson::RowNotice{FakePerson::RowNotice::WordsChanged, WordTable::Main, 1, 1}));
    }

    void anEditInAnotherRoleIsRefused()
    {
        Fixture f;
        f.openWordFile(1, four);
        const QStringList before = cells(f.job.wordRows(WordTable::Main)[0]);
        QVERIFY(!f.first.setData(f.first.index(0, WordRow::Text), QStringLiteral("x"), Qt::DisplayRole));
        QVERIFY(!f.first.setData(QModelIndex(), QStringLiteral("x")));
        QCOMPARE(cells(f.job.wordRows(WordTable::Main)[0]), before);
    }

    // The phrases are made from the words: a person corrects those.
    void thePhrasesAreReadOnly()
    {
        Fixture f;
        f.openWordFile(1, four);
        f.job.setPhraseRows(PhraseBuilder(true, true, 0).build(f.job.wordRows(WordTable::Main)));
        QCOMPARE(f.phrases.rowCount(), 2);
        const QString before = f.job.phraseRows()[1].text;
        for (int column = 0; column < PhraseRow::columnCount; ++column)
            QVERIFY(!(f.phrases.flags(f.phrases.index(1, column)) & Qt::ItemIsEditable));
        QVERIFY(!f.phrases.setData(f.phrases.index(1, PhraseRow::Text), QStringLiteral("Hi!")));
        QCOMPARE(f.job.phraseRows()[1].text, before);
    }

    void headersAndAlignment()
    {
        Fixture f;
        f.openWordFile(1, four);
        f.job.setPhraseRows(PhraseBuilder(true, true, 0).build(f.job.wordRows(WordTable::Main)));
        QStringList wordHeaders, phraseHeaders;
        for (int k = 0; k < f.first.columnCount(); ++k)
            wordHeaders << f.first.headerData(k, Qt::Horizontal).toString();
        for (int k = 0; k < f.phrases.columnCount(); ++k)
            phraseHeaders << f.phrases.headerData(k, Qt::Horizontal).toString();
        QCOMPARE(wordHeaders, (QStringList{"#", "Start time", "End time", "Transcription",
                                           "Confidence", "Speaker"}));
        QCOMPARE(phraseHeaders, (QStringList{"#", "Start time", "End time", "Characters", "Text"}));
        QCOMPARE(f.first.headerData(0, Qt::Vertical).toInt(), 1);
        QCOMPARE(f.phrases.headerData(1, Qt::Vertical).toInt(), 2);
        QVERIFY(!f.first.headerData(WordRow::columnCount, Qt::Horizontal).isValid());
        QVERIFY(!f.phrases.headerData(PhraseRow::columnCount, Qt::Horizontal).isValid());
        // The phrase table shows its cells top-left; the word tables leave it to the view.
        for (int k = 0; k < f.phrases.columnCount(); ++k)
            QCOMPARE(f.phrases.index(0, k).data(Qt::TextAlignmentRole).toInt(),
                     int(Qt::AlignLeft | Qt::AlignTop));
        QVERIFY(!f.first.index(0, 0).data(Qt::TextAlignmentRole).isValid());
        // A table has no children.
        QCOMPARE(f.first.rowCount(f.first.index(0, 0)), 0);
        QCOMPARE(f.phrases.columnCount(f.phrases.index(0, 0)), 0);
    }

    void phraseTextColumnTakesTheRoomLeftButNeverUnder50_data()
    {
        QTest::addColumn<int>("table");
        QTest::addColumn<QList<int>>("columns");
        QTest::addColumn<int>("text");

        QTest::newRow("wide") << 800 << QList<int>{30, 80, 80, 50} << 550;
        QTest::newRow("just 50") << 300 << QList<int>{30, 80, 80, 50} << 50;
        QTest::newRow("one over 50") << 301 << QList<int>{30, 80, 80, 50} << 51;
        QTest::newRow("narrow") << 200 << QList<int>{30, 80, 80, 50} << 50;
        QTest::newRow("no width reported") << 0 << QList<int>{0, 0, 0, 0} << 50;
        QTest::newRow("columns at no width") << 400 << QList<int>{0, 0, 0, 0} << 390;
    }

    void phraseTextColumnTakesTheRoomLeftButNeverUnder50()
    {
        QFETCH(int, table);
        QFETCH(QList<int>, columns);
        QFETCH(int, text);
        const std::vector<int> widths(columns.begin(), columns.end());
        QCOMPARE(phraseTextColumnWidth(table, widths), text);
    }
};

QTEST_MAIN(TstTableModels)
#include "tst_tablemodels.moc"
