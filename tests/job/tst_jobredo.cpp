// What a person can redo: edits after Glue go back to the half they came
// from, opening a file drops the glued result, the derived views and files
// follow every edit and setting, Save never writes over an opened input, and
// what counts as unsaved work.
#include "support/fakeperson.h"
#include "support/jobsteps.h"
#include "support/files.h"
#include "support/wavbuilder.h"
#include "jobrows.h"

#include "base/textfile.h"
#include "job/gluejob.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QStringList ctm1Lines{"u\t1\t0.10\t0.40\tso\t0.91\tSP_01 Anna", "u\t1\t0.40\t0.70\twe*\t1\tSP_01 Anna",
                            "u\t1\t0.70\t1.20\tleft.\t0.5\tSP_01 Anna"};
const QStringList ctm2Lines{"u\t1\t0.00\t0.25\tyes\t0.75\tSP_02 Bob", "u\t1\t0.30\t0.35\tSIL\t1\tSP_02 Bob",
                            "u\t1\t0.40\t0.90\tfine.\t1\tSP_02 Bob"};
const QStringList text1Lines{"[Speaker: SP_01 Anna]", "So we left."};
const QStringList text2Lines{"[Speaker: SP_02 Bob]", "Yes, fine."};

// Every name of the outputs, in a fixed order.
QStringList outputNames(const GlueOutputs &out)
{
    return {out.recording, out.text, out.wordFile, out.srt, out.transcript, out.page, out.partMap};
}

// The inputs of one interview in a folder: word files, texts and recordings
// under the names given (recording 1 lasts 10 ms, so half 2 moves by 10 ms).
struct Inputs
{
    QStringList names{"a.spk", "b.spk", "a.txt", "b.txt", "one.wav", "two.wav"};

    void write(const QTemporaryDir &dir) const
    {
        writeLines(dir.filePath(names[0]), ctm1Lines);
        writeLines(dir.filePath(names[1]), ctm2Lines);
        writeLines(dir.filePath(names[2]), text1Lines);
        writeLines(dir.filePath(names[3]), text2Lines);
        writeSilentWav(dir.filePath(names[4]), 16000, 1, 16, 160);
        writeSilentWav(dir.filePath(names[5]), 16000, 1, 16, 16);
    }
    void open(const QTemporaryDir &dir, GlueJob &job) const
    {
        openBothParts(job, {dir.filePath(names[0]), dir.filePath(names[2]), dir.filePath(names[4])},
                      {dir.filePath(names[1]), dir.filePath(names[3]), dir.filePath(names[5])});
    }
    QList<QByteArray> bytes(const QTemporaryDir &dir) const
    {
        QList<QByteArray> all;
        for (const QString &name : names)
            all << readBytes(dir.filePath(name));
        return all;
    }
};

QList<QStringList> tableCells(const GlueJob &job, WordTable table)
{
    return cellsOf(job.wordRows(table));
}

} // namespace

class TstJobRedo : public QObject
{
    Q_OBJECT

private slots:
    void anEditAfterGlueGoesBackToItsHalf_data();
    void anEditAfterGlueGoesBackToItsHalf();
    void aTextEditAfterGlueGoesBackToItsText_data();
    void aTextEditAfterGlueGoesBackToItsText();
    void openingAfterGlueDropsTheResult_data();
    void openingAfterGlueDropsTheResult();
    void derivedViewsAndFilesFollowEditsAndSettings_data();
    void derivedViewsAndFilesFollowEditsAndSettings();
    void saveNeverOverwritesAnOpenedInput_data();
    void saveNeverOverwritesAnOpenedInput();
    void unsavedWorkFollowsGlueSaveAndEdits_data();
    void unsavedWorkFollowsGlueSaveAndEdits();
};

void TstJobRedo::anEditAfterGlueGoesBackToItsHalf_data()
{
    QTest::addColumn<int>("table"); // 1 or 2
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("joinedRow");      // the row of the joined list that shows it
    QTest::addColumn<QString>("afterReglue"); // that cell after a Glue with half 1 twice as long
    QTest::newRow("a word of half 1") << 1 << 1 << int(WordRow::Text) << "went" << 1 << "went";
    QTest::newRow("a word of half 2 in table 1") << 1 << 3 << int(WordRow::Text) << "yeah" << 3 << "yeah";
    QTest::newRow("a word of half 2 in table 2") << 2 << 2 << int(WordRow::Text) << "good." << 5 << "good.";
    // Shown shifted by 10 ms; half 2 keeps 340; the next Glue shifts by 20.
    QTest::newRow("a start of half 2 in table 1") << 1 << 5 << int(WordRow::Start) << "350" << 5 << "360";
    QTest::newRow("an end of half 2 in table 2") << 2 << 0 << int(WordRow::End) << "300" << 3 << "310";
    QTest::newRow("a start of half 1 is not shifted") << 1 << 0 << int(WordRow::Start) << "50" << 0 << "50";
    QTest::newRow("a typed time stays as typed") << 2 << 1 << int(WordRow::Start) << "1.5" << 4 << "1.5";
    QTest::newRow("a confidence of half 2") << 2 << 1 << int(WordRow::Confidence) << "0.25" << 4 << "0.25";
}

void TstJobRedo::anEditAfterGlueGoesBackToItsHalf()
{
    QFETCH(int, table);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(int, joinedRow);
    QFETCH(QString, afterReglue);
    QTemporaryDir dir;
    const Inputs inputs;
    inputs.write(dir);
    FakePerson person;
    GlueJob job(person);
    inputs.open(dir, job);
    job.glue(dir.filePath("joined.wav"));
    QCOMPARE(job.partStartsMs()[1], 10);

    const WordTable edited = table == 1 ? WordTable::Main : WordTable::PartTwo;
    person.rowNotices.clear();
    job.setWordCell(edited, row, static_cast<WordRow::Column>(column), typed);
    // Both tables show the edit at once, each noticing its own row.
    QCOMPARE(job.wordRows(WordTable::Main)[size_t(joinedRow)].cell(WordRow::Column(column)), typed);
    QList<FakePerson::RowNotice> notices{
        {FakePerson::RowNotice::WordsChanged, WordTable::Main, joinedRow, joinedRow}};
    if (joinedRow >= 3) {
        QCOMPARE(job.wordRows(WordTable::PartTwo)[size_t(joinedRow - 3)].cell(WordRow::Column(column)), typed);
        notices << FakePerson::RowNotice{FakePerson::RowNotice::WordsChanged, WordTable::PartTwo, joinedRow - 3,
                                         joinedRow - 3};
    }
    QCOMPARE(person.rowNotices, notices);
    QVERIFY(job.hasUnsavedWork());
    const QList<QStringList> joined = tableCells(job, WordTable::Main);

    // A Glue again keeps the edit: the same offset gives the same list.
    job.glue(dir.filePath("again.wav"));
    QCOMPARE(tableCells(job, WordTable::Main), joined);

    // A recording 1 twice as long: the halves stay as edited, half 2 moves on.
    writeSilentWav(dir.filePath("longer.wav"), 16000, 1, 16, 320);
    job.openRecording(1, dir.filePath("longer.wav"));
    QCOMPARE(job.wordRows(WordTable::Main).size(), 3u);
    job.glue(dir.filePath("longer-joined.wav"));
    QCOMPARE(job.partStartsMs()[1], 20);
    QCOMPARE(job.wordRows(WordTable::Main)[size_t(joinedRow)].cell(WordRow::Column(column)), afterReglue);
    QCOMPARE(job.wordRows(WordTable::Main).size(), 6u);
    QCOMPARE(cells(job.wordRows(WordTable::Main)[3])[0], QStringLiteral("4"));
}

void TstJobRedo::aTextEditAfterGlueGoesBackToItsText_data()
{
    QTest::addColumn<int>("view"); // 1: the joined text in Text (1), 2: Text (2)
    QTest::addColumn<QStringList>("edited");
    QTest::addColumn<QStringList>("half1");
    QTest::addColumn<QStringList>("half2");
    QTest::newRow("a line of text 1")
        << 1 << QStringList{"[Speaker: SP_01 Anna]", "So we went.", "[Speaker: SP_02 Bob]", "Yes, fine."}
        << QStringList{"[Speaker: SP_01 Anna]", "So we went."} << text2Lines;
    QTest::newRow("a line of text 2")
        << 1 << QStringList{"[Speaker: SP_01 Anna]", "So we left.", "[Speaker: SP_02 Bob]", "Yes, good."}
        << text1Lines << QStringList{"[Speaker: SP_02 Bob]", "Yes, good."};
    QTest::newRow("a line added to text 1")
        << 1 << QStringList{"[Speaker: SP_01 Anna]", "So we", "left.", "[Speaker: SP_02 Bob]", "Yes, fine."}
        << QStringList{"[Speaker: SP_01 Anna]", "So we", "left."} << text2Lines;
    QTest::newRow("a line removed from text 1")
        << 1 << QStringList{"[Speaker: SP_01 Anna]", "[Speaker: SP_02 Bob]", "Yes, fine."}
        << QStringList{"[Speaker: SP_01 Anna]"} << text2Lines;
    QTest::newRow("a line inserted at the border goes to text 2")
        << 1 << QStringList{"[Speaker: SP_01 Anna]", "So we left.", "New.", "[Speaker: SP_02 Bob]", "Yes, fine."}
        << text1Lines << QStringList{"New.", "[Speaker: SP_02 Bob]", "Yes, fine."};
    QTest::newRow("lines replaced across the border")
        << 1 << QStringList{"[Speaker: SP_01 Anna]", "A", "B", "Yes, fine."}
        << QStringList{"[Speaker: SP_01 Anna]", "A"} << QStringList{"B", "Yes, fine."};
    QTest::newRow("text 2 itself")
        << 2 << QStringList{"[Speaker: SP_02 Bob]", "No."} << text1Lines
        << QStringList{"[Speaker: SP_02 Bob]", "No."};
}

void TstJobRedo::aTextEditAfterGlueGoesBackToItsText()
{
    QFETCH(int, view);
    QFETCH(QStringList, edited);
    QFETCH(QStringList, half1);
    QFETCH(QStringList, half2);
    QTemporaryDir dir;
    const Inputs inputs;
    inputs.write(dir);
    FakePerson person;
    GlueJob job(person);
    inputs.open(dir, job);
    job.glue(dir.filePath("joined.wav"));
    QCOMPARE(job.text(TextView::Text1), text1Lines + text2Lines);

    job.setText(view == 1 ? TextView::Text1 : TextView::Text2, edited);
    QCOMPARE(job.text(TextView::Text1), half1 + half2);
    QCOMPARE(job.text(TextView::Text2), half2);
    QVERIFY(job.hasUnsavedWork());
    // The next Glue joins the texts as edited.
    job.glue(dir.filePath("again.wav"));
    QCOMPARE(job.text(TextView::Text1), half1 + half2);
    // Opening a file shows text 1 as edited, alone.
    job.openRecording(2, dir.filePath("two.wav"));
    QCOMPARE(job.text(TextView::Text1), half1);
    QCOMPARE(job.text(TextView::Text2), half2);
}

void TstJobRedo::openingAfterGlueDropsTheResult_data()
{
    QTest::addColumn<int>("command"); // 0 word file, 1 text, 2 recording
    QTest::addColumn<int>("part");
    QTest::addColumn<QString>("file");
    for (int part = 1; part <= 2; ++part) {
        const Inputs inputs;
        QTest::addRow("word file %d", part) << 0 << part << inputs.names[part - 1];
        QTest::addRow("text %d", part) << 1 << part << inputs.names[part + 1];
        QTest::addRow("recording %d", part) << 2 << part << inputs.names[part + 3];
    }
}

void TstJobRedo::openingAfterGlueDropsTheResult()
{
    QFETCH(int, command);
    QFETCH(int, part);
    QFETCH(QString, file);
    QTemporaryDir dir;
    const Inputs inputs;
    inputs.write(dir);
    FakePerson person;
    GlueJob job(person);
    inputs.open(dir, job);
    const QList<QStringList> table1 = tableCells(job, WordTable::Main);
    const QList<QStringList> table2 = tableCells(job, WordTable::PartTwo);
    job.glue(dir.filePath("joined.wav"));
    QVERIFY(job.isGlued());
    const auto open = command == 0   ? &GlueJob::openWordFile
                      : command == 1 ? &GlueJob::openText
                                     : &GlueJob::openRecording;

    // An Open refused before it reads drops nothing.
    QVERIFY(errorMessage([&] { (job.*open)(part, QStringLiteral("/dev/zero")); }).endsWith("Not a regular file"));
    QVERIFY(job.isGlued());
    QVERIFY(job.hasUnsavedWork());

    (job.*open)(part, dir.filePath(file));
    QVERIFY(!job.isGlued());
    QVERIFY(!job.hasUnsavedWork());
    QCOMPARE(person.logged.last(),
             QStringLiteral("A file was opened after Glue: the glued result is dropped. Glue makes it again."));
    QCOMPARE(tableCells(job, WordTable::Main), table1);
    QCOMPARE(tableCells(job, WordTable::PartTwo), table2);
    QCOMPARE(job.text(TextView::Text1), text1Lines);
    QCOMPARE(job.text(TextView::Text2), text2Lines);
    QVERIFY(job.phraseRows().empty());
    QVERIFY(job.text(TextView::Subtitles).isEmpty());
    QVERIFY(job.text(TextView::Transcript).isEmpty());
    QCOMPARE(errorMessage([&] { job.save(dir.filePath("joined.srt")); }),
             QStringLiteral("Nothing to save yet: run Glue first."));
    QVERIFY(!QFileInfo::exists(dir.filePath("joined.srt")));
}

void TstJobRedo::derivedViewsAndFilesFollowEditsAndSettings_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("expect"); // a line the changed view must hold
    QTest::addColumn<int>("view");       // the view that changes
    QTest::newRow("a word of half 1") << "word1" << "so went." << int(TextView::Subtitles);
    QTest::newRow("a word of half 2 in table 2") << "word2" << "yeah fine." << int(TextView::Subtitles);
    QTest::newRow("a line of the joined text") << "text" << "Anna\tSo we went." << int(TextView::Transcript);
    QTest::newRow("Enlarge off") << "enlarge" << "00:00:00,100 --> 00:00:00,605" << int(TextView::Subtitles);
    QTest::newRow("before and after") << "times" << "00:00:00,605 --> 00:00:01,910" << int(TextView::Subtitles);
    QTest::newRow("Skip *-words off") << "star" << "so we* left." << int(TextView::Subtitles);
    QTest::newRow("Skip SIL off") << "sil" << "yes SIL fine." << int(TextView::Subtitles);
}

void TstJobRedo::derivedViewsAndFilesFollowEditsAndSettings()
{
    QFETCH(QString, change);
    QFETCH(QString, expect);
    QFETCH(int, view);
    QTemporaryDir dir;
    const Inputs inputs;
    inputs.write(dir);
    FakePerson person;
    GlueJob job(person);
    inputs.open(dir, job);
    job.glue(dir.filePath("joined.wav"));
    const QStringList before = job.text(TextView(view));
    QVERIFY2(!before.contains(expect), qPrintable(before.join('\n')));
    const QStringList logBefore = job.text(TextView::Log);

    if (change == "word1") {
        job.setWordCell(WordTable::Main, 2, WordRow::Text, "went.");
        job.rebuildDerived(); // the window does this when the cell editor closes
    } else if (change == "word2") {
        job.setWordCell(WordTable::PartTwo, 0, WordRow::Text, "yeah");
        job.rebuildDerived();
    } else if (change == "text") {
        job.setText(TextView::Text1, {"[Speaker: SP_01 Anna]", "So we went.", "[Speaker: SP_02 Bob]", "Yes, fine."});
        job.rebuildDerived(); // ... and when a text view is left
    } else {
        if (change == "enlarge")
            job.settings.widenCues = false;
        else if (change == "times")
            job.settings.msBefore = job.settings.msAfter = 1000;
        else if (change == "star")
            job.settings.skipStarWords = false;
        else if (change == "sil")
            job.settings.blankSilence = false;
        job.settingsChanged();
    }
    QVERIFY2(job.text(TextView(view)).contains(expect), qPrintable(job.text(TextView(view)).join('\n')));
    QVERIFY(job.hasUnsavedWork());
    QCOMPARE(job.text(TextView::Log), logBefore); // a rebuild is no command

    const int writtenBefore = person.outputsWrittenNotices;
    job.save(dir.filePath("joined.srt"));
    QVERIFY(!job.hasUnsavedWork());
    QCOMPARE(person.outputsWrittenNotices, writtenBefore + 1);
    // Every file agrees with the views and the rows.
    QCOMPARE(readTextFile(dir.filePath("joined.srt")), job.text(TextView::Subtitles));
    QCOMPARE(readTextFile(dir.filePath("joined_word.txt")), job.text(TextView::Transcript));
    QCOMPARE(readTextFile(dir.filePath("joined.txt")), job.text(TextView::Text1));
    const QStringList words = readTextFile(dir.filePath("joined.spk"));
    QCOMPARE(words.size(), qsizetype(job.wordRows(WordTable::Main).size()));
    for (qsizetype i = 0; i < words.size(); ++i)
        QCOMPARE(words[i].section('\t', 4, 4), job.wordRows(WordTable::Main)[size_t(i)].text);
    const QString page = readTextFile(dir.filePath("joined.html")).join('\n');
    for (const WordRow &row : job.wordRows(WordTable::Main))
        if (row.text != "SIL")
            QVERIFY2(page.contains(">" + row.text + "</span>"), qPrintable(row.text));
    // Every output is named now, and each names a file written.
    const GlueOutputs &out = job.outputs();
    for (const QString &name : {out.recording, out.srt, out.page, out.transcript, out.wordFile, out.text}) {
        QVERIFY(!name.isEmpty());
        QVERIFY2(QFileInfo::exists(name), qPrintable(name));
    }
}

void TstJobRedo::saveNeverOverwritesAnOpenedInput_data()
{
    QTest::addColumn<QString>("joined"); // the name given to Glue
    QTest::addColumn<QString>("srt");    // the name given to Save; "" takes the proposal
    QTest::addColumn<QString>("named");  // the input the message names
    QTest::newRow("the SRT over text 1") << "j.wav" << "w_word.txt" << "w_word.txt";
    QTest::newRow("the SRT over text 1, spelt otherwise") << "j.wav" << "sub/../w_word.txt" << "sub/../w_word.txt";
    QTest::newRow("the word file over word file 1") << "a.wav" << "" << "a.spk";
    QTest::newRow("the text over text 1") << "w_word.wav" << "" << "w_word.txt";
    QTest::newRow("the page over text 2") << "notes.wav" << "" << "notes.html";
    QTest::newRow("the transcript over text 1") << "w.wav" << "" << "w_word.txt";
}

void TstJobRedo::saveNeverOverwritesAnOpenedInput()
{
    QFETCH(QString, joined);
    QFETCH(QString, srt);
    QFETCH(QString, named);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("sub"));
    Inputs inputs;
    inputs.names = QStringList{"a.spk", "b.spk", "w_word.txt", "notes.html", "one.wav", "two.wav"};
    inputs.write(dir);
    FakePerson person;
    GlueJob job(person);
    inputs.open(dir, job);
    job.glue(dir.filePath(joined));
    const QList<QByteArray> before = inputs.bytes(dir);
    const QStringList filesBefore = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
    const int written = person.outputsWrittenNotices;
    const QStringList outputsBefore = outputNames(job.outputs());
    const QStringList log = person.logged;

    // The proposal is the joined recording's name with ".srt".
    QCOMPARE(job.proposedSrtPath(), dir.filePath(QFileInfo(joined).completeBaseName() + ".srt"));
    const QString chosen = srt.isEmpty() ? job.proposedSrtPath() : dir.filePath(srt);
    QCOMPARE(errorMessage([&] { job.save(chosen); }),
             "Save would overwrite the opened file \"" + dir.filePath(named) + "\". Nothing was saved.");
    QCOMPARE(inputs.bytes(dir), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), filesBefore);
    QCOMPARE(person.outputsWrittenNotices, written);
    QCOMPARE(outputNames(job.outputs()), outputsBefore);
    QCOMPARE(person.logged, log);
    QVERIFY(job.hasUnsavedWork());
}

void TstJobRedo::unsavedWorkFollowsGlueSaveAndEdits_data()
{
    QTest::addColumn<QString>("before"); // "": nothing glued; "glued", "saved", "saved+edit"
    QTest::addColumn<QString>("srt");    // the path given to a Save then: "" no Save, "-" an empty path
    QTest::addColumn<bool>("unsaved");   // before that Save
    QTest::addColumn<bool>("unsavedAfter");
    QTest::addColumn<QString>("error");
    QTest::newRow("nothing glued") << "" << "" << false << false << "";
    QTest::newRow("saved") << "saved" << "" << false << false << "";
    QTest::newRow("glued") << "glued" << "" << true << true << "";
    QTest::newRow("glued, Save") << "glued" << "joined.srt" << true << false << "";
    QTest::newRow("glued, Save without a path") << "glued" << "-" << true << true << "";
    QTest::newRow("glued, Save fails")
        << "glued" << "nodir/x.srt" << true << true
        << "Cannot create file \"%1/nodir/x.srt\". No such file or directory";
    QTest::newRow("an edit after Save") << "saved+edit" << "" << true << true << "";
}

void TstJobRedo::unsavedWorkFollowsGlueSaveAndEdits()
{
    QFETCH(QString, before);
    QFETCH(QString, srt);
    QFETCH(bool, unsaved);
    QFETCH(bool, unsavedAfter);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const Inputs inputs;
    inputs.write(dir);
    FakePerson person;
    GlueJob job(person);
    inputs.open(dir, job);
    if (!before.isEmpty())
        job.glue(dir.filePath("joined.wav"));
    if (before.startsWith("saved"))
        job.save(dir.filePath("first.srt"));
    if (before == "saved+edit")
        job.setWordCell(WordTable::Main, 0, WordRow::Text, "Yes");
    QCOMPARE(job.hasUnsavedWork(), unsaved);
    QCOMPARE(person.unsavedNotices.isEmpty() ? false : person.unsavedNotices.last(), unsaved);

    if (!srt.isEmpty()) {
        const QString path = srt == "-" ? QString() : dir.filePath(srt);
        QCOMPARE(errorMessage([&] { job.save(path); }), error.isEmpty() ? "(no error)" : error.arg(dir.path()));
    }
    // No Save or an empty path writes nothing; a Save writes everything.
    QCOMPARE(QFileInfo::exists(dir.filePath("joined.srt")), srt == "joined.srt");
    QCOMPARE(QFileInfo::exists(dir.filePath("joined.html")), before.startsWith("saved") || srt == "joined.srt");
    // Only a Save that ran to its end leaves nothing unsaved.
    QCOMPARE(job.hasUnsavedWork(), unsavedAfter);
    QCOMPARE(person.unsavedNotices.isEmpty() ? false : person.unsavedNotices.last(), unsavedAfter);
}

QTEST_GUILESS_MAIN(TstJobRedo)
#include "tst_jobredo.moc"
