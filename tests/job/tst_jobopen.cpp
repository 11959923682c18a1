// Start-up, the Open commands for the word files and texts, and cell edits.
#include "support/fakeperson.h"
#include "support/files.h"
#include "jobrows.h"

#include "job/gluejob.h"
#include "job/settingstable.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;
using Notice = FakePerson::RowNotice;
using Opened = QPair<int, PartFile>;

class TstJobOpen : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }

private slots:
    void startUpSetsTheDefaults();
    void openCtmFillsItsTable_data();
    void openCtmFillsItsTable();
    void openCtmNamesThePartAndSetsSeparators();
    void separatorChosenLaterWaitsForTheNextOpen();
    void badNumberLeavesTableAndTellsOfNoOpen();
    void missingCtmFileShowsTheListHeldBefore();
    void missingCtmFileIsReadWithTheSeparatorChosenNow();
    void aFileWithoutWordsIsRefused_data();
    void aFileWithoutWordsIsRefused();
    void aFailedOpenLeavesNoTraceForTheNext();
    void textsAndWordFilesAreReadInTheEncodingChosen();
    void openTextKeepsLinesAsTheyAre();
    void missingTextFileKeepsTheView();
    void openingReplacesATableInOneNotice();
    void anEditedCellKeepsItsTextOrTakesTheNumber_data();
    void anEditedCellKeepsItsTextOrTakesTheNumber();
    void anEditOutsideTheTableChangesNothing();
    void pipesAndDevicesAreRefused_data();
    void pipesAndDevicesAreRefused();
};

void TstJobOpen::startUpSetsTheDefaults()
{
    FakePerson person;
    GlueJob job(person);
    QCOMPARE(job.settings.msBefore, 100);
    QCOMPARE(job.settings.msAfter, 200);
    QVERIFY(job.settings.widenCues);
    QVERIFY(job.settings.skipStarWords);
    QVERIFY(job.settings.blankSilence);
    QVERIFY(job.settings.tabSeparated);
    // Nothing is opened or written yet: no part names a file, no output is named.
    QVERIFY(person.opened.isEmpty());
    QCOMPARE(person.outputsWrittenNotices, 0);
    QCOMPARE(person.gluedNotices, 0);
    for (int k = 0; k < 2; ++k) {
        QCOMPARE(job.part(k).files.wordFile, QString());
        QCOMPARE(job.part(k).files.text, QString());
        QCOMPARE(job.part(k).files.recording, QString());
    }
    const GlueOutputs &out = job.outputs();
    for (const QString &name : {out.recording, out.text, out.wordFile, out.srt, out.transcript, out.page, out.partMap})
        QCOMPARE(name, QString());
    // A new word list separates with a blank until a file is opened.
    QCOMPARE(job.joinedSeparator(), QChar(u' '));
    QCOMPARE(job.joinedFrames(), 0);
    QVERIFY(job.partStartsMs().empty());
    QVERIFY(job.placedParts().empty());
    QCOMPARE(job.wordRows(WordTable::Main).size(), 0u);
    QCOMPARE(job.phraseRows().size(), 0u);
    QVERIFY(job.text(TextView::Log).isEmpty());
    QVERIFY(person.logged.isEmpty());
}

void TstJobOpen::openCtmFillsItsTable_data()
{
    QTest::addColumn<QStringList>("file");
    QTest::addColumn<bool>("tab");
    QTest::addColumn<QList<QStringList>>("rows");

    QTest::newRow("a final SIL word is dropped")
        << QStringList{"utt\t1\t0.50\t0.92\thello\t1", "utt\t1\t0.92\t1.5\tworld.\t0.5",
                       "utt\t1\t1.5\t2.0\tSIL\t1"}
        << true
        << QList<QStringList>{{"1", "500", "920", "hello", "1.00", "X"},
                              {"2", "920", "1500", "world.", "0.50", "X"}};
    QTest::newRow("speaker field, blank separator")
        << QStringList{"utt 1 0.0625 0.1875 yes 0.87 SP 1", "utt 1 -0.25 1e3 no 0.875 SP2"} << false
        << QList<QStringList>{{"1", "62", "188", "yes", "0.87", "SP 1"},
                              {"2", "-250", "1000000", "no", "0.88", "SP2"}};
}

void TstJobOpen::openCtmFillsItsTable()
{
    QFETCH(QStringList, file);
    QFETCH(bool, tab);
    QFETCH(QList<QStringList>, rows);
    writeLines(path("w.ctm"), file);

    for (int part : {1, 2}) {
        FakePerson person;
        GlueJob job(person);
        job.settings.tabSeparated = tab;
        job.openWordFile(part, path("w.ctm"));
        const auto &table = job.wordRows(part == 1 ? WordTable::Main : WordTable::PartTwo);
        const auto &other = job.wordRows(part == 1 ? WordTable::PartTwo : WordTable::Main);
        QCOMPARE(table.size(), static_cast<std::size_t>(rows.size()));
        for (int r = 0; r < rows.size(); ++r)
            QCOMPARE(cells(table[static_cast<std::size_t>(r)]), rows[r]);
        QCOMPARE(other.size(), 0u);
        // The file is the part's; the other part has none.
        QCOMPARE(job.part(part - 1).files.wordFile, path("w.ctm"));
        QCOMPARE(job.part(2 - part).files.wordFile, QString());
    }
}

void TstJobOpen::openCtmNamesThePartAndSetsSeparators()
{
    writeLines(path("tab.ctm"), {"u\t1\t0\t1\ta\t1"});
    writeLines(path("blank.ctm"), {"u 1 0 1 a 1"});
    FakePerson person;
    GlueJob job(person);

    job.openWordFile(1, path("tab.ctm"));
    QCOMPARE(job.part(0).files.wordFile, path("tab.ctm"));
    QCOMPARE(person.opened, (QList<Opened>{{1, PartFile::WordFile}}));
    QCOMPARE(job.joinedSeparator(), QChar(u'\t'));

    job.settings.tabSeparated = false;
    job.openWordFile(2, path("blank.ctm"));
    QCOMPARE(job.part(1).files.wordFile, path("blank.ctm"));
    QCOMPARE(person.opened, (QList<Opened>{{1, PartFile::WordFile}, {2, PartFile::WordFile}}));
    QCOMPARE(job.part(0).files.wordFile, path("tab.ctm"));
    // The joined file takes the separator of the file opened last, of either part.
    QCOMPARE(job.joinedSeparator(), QChar(u' '));
    QCOMPARE(job.wordRows(WordTable::PartTwo)[0].cell(WordRow::Text), QStringLiteral("a"));
}

void TstJobOpen::separatorChosenLaterWaitsForTheNextOpen()
{
    writeLines(path("tab.ctm"), {"u\t1\t0\t1\ta\t1"});
    FakePerson person;
    GlueJob job(person);
    job.openWordFile(1, path("tab.ctm"));
    job.settings.tabSeparated = false;
    QCOMPARE(job.joinedSeparator(), QChar(u'\t'));
    QCOMPARE(job.wordRows(WordTable::Main).size(), 1u);
}

void TstJobOpen::badNumberLeavesTableAndTellsOfNoOpen()
{
    writeLines(path("good.ctm"), {"u\t1\t0\t1\ta\t1", "u\t1\t1\t2\tb\t1"});
    writeLines(path("bad.ctm"), {"u 1 0 1 c 1", "u 1 x 2 d 1"});
    FakePerson person;
    GlueJob job(person);
    job.openWordFile(2, path("good.ctm"));
    job.openWordFile(1, path("good.ctm"));
    job.settings.tabSeparated = false;
    const auto opened = person.opened;
    QCOMPARE(errorMessage([&] { job.openWordFile(2, path("bad.ctm")); }),
             "\"" + path("bad.ctm") + "\", line 2: 'x' is not a valid floating point value");
    // The part names the file; nothing else changes: the table, the
    // separator written, and the person is told of no opened file (so the
    // label and the tab stay).
    QCOMPARE(job.part(1).files.wordFile, path("bad.ctm"));
    QCOMPARE(job.joinedSeparator(), QChar(u'\t'));
    QCOMPARE(job.wordRows(WordTable::PartTwo).size(), 2u);
    QCOMPARE(cells(job.wordRows(WordTable::PartTwo)[1]), (QStringList{"2", "1000", "2000", "b", "1.00", "X"}));
    QCOMPARE(person.opened, opened);
    QCOMPARE(person.opened.last(), Opened(1, PartFile::WordFile));
}

void TstJobOpen::missingCtmFileShowsTheListHeldBefore()
{
    writeLines(path("one.ctm"), {"u 1 0 1 a 1", "u 1 1 2 b 1"});
    FakePerson person;
    GlueJob job(person);
    job.settings.tabSeparated = false;
    job.openWordFile(1, path("one.ctm"));
    job.setWordCell(WordTable::Main, 0, WordRow::Text, QStringLiteral("edited"));
    person.opened.clear();
    job.openWordFile(1, path("gone.ctm"));
    // The word list keeps its lines and reads them again; the part names the new path.
    QCOMPARE(job.wordRows(WordTable::Main).size(), 2u);
    QCOMPARE(job.wordRows(WordTable::Main)[0].cell(WordRow::Text), QStringLiteral("a"));
    QCOMPARE(person.opened, (QList<Opened>{{1, PartFile::WordFile}}));
    QCOMPARE(job.part(0).files.wordFile, path("gone.ctm"));

    // A fresh word list that never held lines shows no rows.
    job.openWordFile(2, path("gone.ctm"));
    QCOMPARE(job.wordRows(WordTable::PartTwo).size(), 0u);
    QCOMPARE(person.opened.last(), Opened(2, PartFile::WordFile));
    QCOMPARE(job.part(1).files.wordFile, path("gone.ctm"));

    // A job told to hold no word files (the command line's) has none to read again.
    GlueJob holding(person);
    holding.holdsWordFiles = false;
    holding.settings.tabSeparated = false;
    holding.openWordFile(1, path("one.ctm"));
    QCOMPARE(holding.wordRows(WordTable::Main).size(), 2u);
    QVERIFY(holding.part(0).heldWordFile.isEmpty());
    holding.openWordFile(1, path("gone.ctm"));
    QCOMPARE(holding.wordRows(WordTable::Main).size(), 0u);
}

void TstJobOpen::missingCtmFileIsReadWithTheSeparatorChosenNow()
{
    // The held lines are read again as they are, so a separator chosen since
    // the file was opened applies to them.
    writeLines(path("one.ctm"), {"u 1 0 1 a 1", "u 1 1 2 b 1"});
    FakePerson person;
    GlueJob job(person);
    job.settings.tabSeparated = false;
    job.openWordFile(2, path("one.ctm"));
    QCOMPARE(cells(job.wordRows(WordTable::PartTwo)[1]), (QStringList{"2", "1000", "2000", "b", "1.00", "X"}));
    job.settings.tabSeparated = true;
    // Without a tab a line has no start field before its first separator.
    QCOMPARE(errorMessage([&] { job.openWordFile(2, path("gone.ctm")); }),
             "\"" + path("gone.ctm") + "\", line 1: '' is not a valid floating point value; "
             "the fields are apart by blanks: choose \"Space\" on the Settings tab (--separator space)");
    QCOMPARE(job.joinedSeparator(), QChar(u' '));
    QCOMPARE(job.wordRows(WordTable::PartTwo).size(), 2u);
}

void TstJobOpen::aFileWithoutWordsIsRefused_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("nist");
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("a byte-order mark only") << QByteArray("\xEF\xBB\xBF") << false;
    QTest::newRow("blank lines only") << QByteArray("\n\n") << false;
    QTest::newRow("NIST comments only") << QByteArray(";; reference\n;;\n") << true;
}

void TstJobOpen::aFileWithoutWordsIsRefused()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, nist);
    writeLines(path("one.ctm"), {"u 1 0 1 a 1"});
    writeBytes(path("empty.ctm"), content);
    FakePerson person;
    GlueJob job(person);
    job.settings.tabSeparated = false;
    job.openWordFile(2, path("one.ctm"));
    job.settings.layout = nist ? WordFileLayout::Nist : WordFileLayout::Aligner;
    person.opened.clear();
    QCOMPARE(errorMessage([&] { job.openWordFile(2, path("empty.ctm")); }),
             "\"" + path("empty.ctm") + "\": no words found");
    // The words read before stay, and the person hears of no opened file.
    QCOMPARE(job.wordRows(WordTable::PartTwo).size(), 1u);
    QCOMPARE(cells(job.wordRows(WordTable::PartTwo)[0]), (QStringList{"1", "0", "1000", "a", "1.00", "X"}));
    QCOMPARE(person.opened, QList<Opened>());
    QCOMPARE(job.part(1).files.wordFile, path("empty.ctm"));
}

void TstJobOpen::aFailedOpenLeavesNoTraceForTheNext()
{
    // A recording opened as a word file, then an empty word file, then a
    // path that names no file: each Open shows its own file or the last
    // one read, never the recording's bytes.
    writeLines(path("one.ctm"), {"u 1 0 1 a 1", "u 1 1 2 b 1"});
    writeBytes(path("talk.wav"), QByteArray("RIFF$}\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x80>\0\0", 28));
    writeBytes(path("empty.ctm"), QByteArray());
    FakePerson person;
    GlueJob job(person);
    job.settings.tabSeparated = false;
    job.openWordFile(1, path("one.ctm"));
    QCOMPARE(errorMessage([&] { job.openWordFile(1, path("talk.wav")); }),
             "\"" + path("talk.wav") + "\" is not a word file: line 1 is not text");
    QCOMPARE(errorMessage([&] { job.openWordFile(1, path("empty.ctm")); }),
             "\"" + path("empty.ctm") + "\": no words found");
    QCOMPARE(job.wordRows(WordTable::Main).size(), 2u);
    job.openWordFile(1, path("gone.ctm"));
    QCOMPARE(job.wordRows(WordTable::Main).size(), 2u);
    QCOMPARE(job.wordRows(WordTable::Main)[1].cell(WordRow::Text), QStringLiteral("b"));
    QCOMPARE(person.opened.last(), Opened(1, PartFile::WordFile));
    QCOMPARE(job.part(0).files.wordFile, path("gone.ctm"));
}

void TstJobOpen::textsAndWordFilesAreReadInTheEncodingChosen()
{
    // Too few letters for a guess: read as Windows-1252 unless chosen.
    QStringEncoder cp1250("windows-1250");
    writeBytes(path("cz.txt"), cp1250(u"Jsou tam tři moře a hory.\n"_s));
    writeBytes(path("cz.ctm"), cp1250(u"u 1 0 1 tři 1\nu 1 1 2 moře 1\nu 1 2 3 hory 1\n"_s));
    FakePerson person;
    GlueJob job(person);
    job.settings.tabSeparated = false;
    job.openText(1, path("cz.txt"));
    job.openWordFile(1, path("cz.ctm"));
    QCOMPARE(job.part(0).openedText, QStringList{u"Jsou tam tøi moøe a hory."_s});
    QCOMPARE(job.wordRows(WordTable::Main)[1].cell(WordRow::Text), u"moøe"_s);
    QCOMPARE(job.part(0).textEncoding, "Windows-1252");
    job.settings.textEncoding = GlueSettings::TextEncoding::Windows1250;
    job.openText(1, path("cz.txt"));
    job.openWordFile(1, path("cz.ctm"));
    QCOMPARE(job.part(0).openedText, QStringList{u"Jsou tam tři moře a hory."_s});
    QCOMPARE(job.wordRows(WordTable::Main)[1].cell(WordRow::Text), u"moře"_s);
    QCOMPARE(job.part(0).textEncoding, "Windows-1250");
    QCOMPARE(job.part(0).wordFileEncoding, "Windows-1250");

    // Every encoding offered is one Qt's converters know.
    for (int choice = 1; choice < int(findSetting(u"textEncoding")->choices.size()); ++choice) {
        job.settings.textEncoding = GlueSettings::TextEncoding(choice);
        const QByteArray name = chosenTextEncoding(job.settings);
        QVERIFY2(QStringDecoder(name.constData()).isValid(), name.constData());
    }
    job.settings.textEncoding = GlueSettings::TextEncoding::Auto;
    QCOMPARE(chosenTextEncoding(job.settings), QByteArray());
}

void TstJobOpen::openTextKeepsLinesAsTheyAre()
{
    writeBytes(path("t1.txt"), "\xEF\xBB\xBF  first\r\n\r\n\tthird  \r\n");
    writeBytes(path("t2.txt"), "one\ntwo");
    FakePerson person;
    GlueJob job(person);
    job.openText(1, path("t1.txt"));
    const QStringList one{"  first", "", "\tthird  "};
    QCOMPARE(job.text(TextView::Text1), one);
    QCOMPARE(job.part(0).openedText, one);
    QCOMPARE(job.part(0).files.text, path("t1.txt"));
    QCOMPARE(person.opened, (QList<Opened>{{1, PartFile::Text}}));
    QCOMPARE(person.changedTexts.last(), TextView::Text1);

    job.openText(2, path("t2.txt"));
    QCOMPARE(job.text(TextView::Text2), (QStringList{"one", "two"}));
    QCOMPARE(job.part(1).files.text, path("t2.txt"));
    QCOMPARE(job.part(1).openedText, (QStringList{"one", "two"}));
    QCOMPARE(person.opened, (QList<Opened>{{1, PartFile::Text}, {2, PartFile::Text}}));
    QCOMPARE(job.text(TextView::Text1), one);
    QCOMPARE(job.part(0).files.text, path("t1.txt"));
}

void TstJobOpen::missingTextFileKeepsTheView()
{
    writeLines(path("t.txt"), {"kept"});
    FakePerson person;
    GlueJob job(person);
    job.openText(1, path("t.txt"));
    QCOMPARE(person.opened, (QList<Opened>{{1, PartFile::Text}}));
    QCOMPARE(errorMessage([&] { job.openText(1, path("nothere.txt")); }),
             "Cannot open file \"" + path("nothere.txt") + "\". No such file or directory");
    QCOMPARE(job.part(0).files.text, path("nothere.txt"));
    QCOMPARE(job.text(TextView::Text1), QStringList{"kept"});
    QCOMPARE(job.part(0).openedText, QStringList{"kept"});
    // No notice of an opened file: the label still names the text read.
    QCOMPARE(person.opened, (QList<Opened>{{1, PartFile::Text}}));
}

void TstJobOpen::openingReplacesATableInOneNotice()
{
    writeLines(path("a.ctm"), {"u 1 0 1 a 1", "u 1 1 2 b 1", "u 1 2 3 c 1"});
    writeLines(path("bad.ctm"), {"u 1 0 1 a 1", "u 1 x 2 b 1"});
    FakePerson person;
    GlueJob job(person);
    job.settings.tabSeparated = false;
    job.openWordFile(2, path("a.ctm"));
    // The notice comes when the rows are in place: a front end reads them then.
    QCOMPARE(person.rowNotices, (QList<Notice>{{Notice::WordsReplaced, WordTable::PartTwo, -1, -1}}));
    job.openWordFile(1, path("a.ctm"));
    QCOMPARE(person.rowNotices.last(), (Notice{Notice::WordsReplaced, WordTable::Main, -1, -1}));
    // A read that fails shows nothing new.
    QVERIFY(errorMessage([&] { job.openWordFile(1, path("bad.ctm")); }).contains(u"'x'"));
    QCOMPARE(person.rowNotices.size(), 2);
    QCOMPARE(job.wordRows(WordTable::Main).size(), 3u);
}

void TstJobOpen::anEditedCellKeepsItsTextOrTakesTheNumber_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("isTyped");
    QTest::addColumn<QStringList>("row");

    const QStringList before{"1", "0", "1000", "a", "1.00", "X"};
    QTest::newRow("a start in its own form is the number")
        << int(WordRow::Start) << "250" << false << QStringList{"1", "250", "1000", "a", "1.00", "X"};
    QTest::newRow("a start with a fraction is kept as typed")
        << int(WordRow::Start) << "1.5" << true << QStringList{"1", "1.5", "1000", "a", "1.00", "X"};
    QTest::newRow("an end with a leading zero is kept as typed")
        << int(WordRow::End) << "0900" << true << QStringList{"1", "0", "0900", "a", "1.00", "X"};
    QTest::newRow("a confidence in its own form is the float")
        << int(WordRow::Confidence) << "0.25" << false << QStringList{"1", "0", "1000", "a", "0.25", "X"};
    QTest::newRow("a confidence with one decimal is kept as typed")
        << int(WordRow::Confidence) << "0.5" << true << QStringList{"1", "0", "1000", "a", "0.5", "X"};
    QTest::newRow("an empty number cell is kept as typed")
        << int(WordRow::Number) << "" << true << QStringList{"", "0", "1000", "a", "1.00", "X"};
    QTest::newRow("a word is a text") << int(WordRow::Text) << "b c" << false
                                      << QStringList{"1", "0", "1000", "b c", "1.00", "X"};
}

void TstJobOpen::anEditedCellKeepsItsTextOrTakesTheNumber()
{
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(bool, isTyped);
    QFETCH(QStringList, row);
    writeLines(path("a.ctm"), {"u 1 0 1 a 1"});
    FakePerson person;
    GlueJob job(person);
    job.settings.tabSeparated = false;
    job.openWordFile(1, path("a.ctm"));
    person.rowNotices.clear();

    job.setWordCell(WordTable::Main, 0, static_cast<WordRow::Column>(column), typed);
    const WordRow &edited = job.wordRows(WordTable::Main)[0];
    QCOMPARE(cells(edited), row);
    QCOMPARE(edited.isTyped(static_cast<WordRow::Column>(column)), isTyped);
    QCOMPARE(person.rowNotices, (QList<Notice>{{Notice::WordsChanged, WordTable::Main, 0, 0}}));
    if (column == WordRow::Start && !isTyped)
        QCOMPARE(edited.start, 250);
}

void TstJobOpen::anEditOutsideTheTableChangesNothing()
{
    writeLines(path("a.ctm"), {"u 1 0 1 a 1"});
    FakePerson person;
    GlueJob job(person);
    job.settings.tabSeparated = false;
    job.openWordFile(2, path("a.ctm"));
    person.rowNotices.clear();
    job.setWordCell(WordTable::PartTwo, 1, WordRow::Text, QStringLiteral("x"));
    job.setWordCell(WordTable::PartTwo, -1, WordRow::Text, QStringLiteral("x"));
    job.setWordCell(WordTable::Main, 0, WordRow::Text, QStringLiteral("x"));
    job.setPhraseCell(0, PhraseRow::Text, QStringLiteral("x"));
    QVERIFY(person.rowNotices.isEmpty());
    QCOMPARE(job.wordRows(WordTable::PartTwo).size(), 1u);
    QCOMPARE(job.wordRows(WordTable::PartTwo)[0].text, QStringLiteral("a"));
    QCOMPARE(job.wordRows(WordTable::Main).size(), 0u);
}

void TstJobOpen::pipesAndDevicesAreRefused_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("kind"); // 0 word file, 1 text, 2 recording
    // The row's name is put together here, not by addRow's printf format:
    // gcc at -O3 cannot tell that its char pointers are never null.
    const QString kinds[] = {QStringLiteral("word file"), QStringLiteral("text"), QStringLiteral("recording")};
    for (const QString &file : {QStringLiteral("fifo"), QStringLiteral("/dev/zero")})
        for (int kind = 0; kind < 3; ++kind)
            QTest::newRow(qPrintable(file + QStringLiteral(", ") + kinds[kind])) << file << kind;
}

void TstJobOpen::pipesAndDevicesAreRefused()
{
    QFETCH(QString, file);
    QFETCH(int, kind);
    if (!file.startsWith('/')) {
        file = path(file);
        QFile::remove(file);
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    }
    FakePerson person;
    GlueJob job(person);
    const std::function<void()> open[] = {[&] { job.openWordFile(1, file); }, [&] { job.openText(1, file); },
                                          [&] { job.openRecording(1, file); }};
    // Reading would wait for a writer or never end: the test would hang.
    QCOMPARE(errorMessage(open[kind]), QStringLiteral("Cannot open file \"%1\". Not a regular file").arg(file));
    // A refused Open shows nothing new: no label, tab, text or row.
    QVERIFY(person.opened.isEmpty());
    QCOMPARE(person.outputsWrittenNotices, 0);
    QVERIFY(person.changedTexts.isEmpty());
    QVERIFY(person.rowNotices.isEmpty());
    QCOMPARE(job.wordRows(WordTable::Main).size(), 0u);
    QVERIFY(job.text(TextView::Text1).isEmpty());
    QCOMPARE(job.part(0).frames, 0);
}

QTEST_GUILESS_MAIN(TstJobOpen)
#include "tst_jobopen.moc"
