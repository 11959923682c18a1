// The Save command: the SRT, the joined word file, the text, the karaoke page
// and the transcript next to the joined recording, and what a failure leaves.
#include "support/fakeperson.h"
#include "support/jobsteps.h"
#include "support/files.h"
#include "support/wavbuilder.h"
#include "jobrows.h"

#include "base/error.h"
#include "base/paths.h"
#include "base/textfile.h"
#include "formats/karaokebody.h"
#include "formats/standalonepage.h"
#include "formats/wordfile.h"
#include "job/gluejob.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

using Rows = QList<QStringList>; // rows of word table 1, six cells each

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}

// Every file of a folder, hidden ones (a temporary file left behind) too.
QStringList files(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QString reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

const Rows exampleRows = {
    {u"1"_s, u"0"_s, u"480"_s, u"SIL"_s, u"1.00"_s, u"A"_s},
    {u"2"_s, u"480"_s, u"900"_s, u"Good"_s, u"0.93"_s, u"A"_s},
    {u"3"_s, u"900"_s, u"1400"_s, u"morning."_s, u"0.88"_s, u"A"_s},
    {u"4"_s, u"1400"_s, u"2100"_s, u"SIL"_s, u"1.00"_s, u"A"_s},
    {u"5"_s, u"2100"_s, u"2500"_s, u"<unk>"_s, u"0.97"_s, u"B"_s},
    {u"6"_s, u"2500"_s, u"3020"_s, u"there!"_s, u"0.91"_s, u"B"_s},
};

// A folder of its own for the inputs, so that the outputs' folders hold
// only what Glue and Save write.
QString inputFolder()
{
    static QTemporaryDir inputs;
    return inputs.path();
}

// Glues two recordings of 10 ms into dir/name with part 1 holding rows and
// a short text; the log is emptied after, so it shows what Save logs.
void afterAGlue(GlueJob &job, const QString &dir, const Rows &rows = exampleRows,
                const QString &name = u"joined.wav"_s)
{
    const QString inputs = inputFolder();
    writeSilentWav(inputs + u"/one.wav"_s, 16000, 1, 16, 160);
    writeSilentWav(inputs + u"/two.wav"_s, 16000, 1, 16, 160);
    job.openRecording(1, inputs + u"/one.wav"_s);
    job.openRecording(2, inputs + u"/two.wav"_s);
    job.setWordRows(WordTable::Main, rowsOf<WordRow>(rows));
    job.setText(TextView::Text1, {u"[StartTime: 0 ms]"_s, u"[Speaker: SP_01 A]"_s,
                                  u"Good morning."_s, QString(), u"  there!"_s});
    job.glue(dir + u'/' + name);
    job.setText(TextView::Log, {});
}

// The names of the outputs and the outputs-written notices: what the
// window's "Saved:" lines follow.
QStringList savedState(const GlueJob &job, const FakePerson &person)
{
    const GlueOutputs &out = job.outputs();
    return {out.recording, out.text,    out.wordFile, out.srt,
            out.transcript, out.page, out.partMap,  QString::number(person.outputsWrittenNotices)};
}

QStringList sorted(QStringList names)
{
    names.sort();
    return names;
}

} // namespace

class TstJobSave : public QObject
{
    Q_OBJECT
private slots:
    void saveWordFileWritesALinePerRow_data();
    void saveWordFileWritesALinePerRow();
    void saveWritesEverythingBesideTheRecording();
    void aCancelledDialogWritesNothing();
    void saveBeforeAGlueStopsAtOnce();
    void aBadTimeStopsSaveBeforeAnyFile_data();
    void aBadTimeStopsSaveBeforeAnyFile();
    void aFileThatCannotBeCreated_data();
    void aFileThatCannotBeCreated();
    void savingTwiceFollowsTheFirstSpeaker();
    void anEditedCellIsWrittenAsShown();
    void theExampleInterviewFromOpenToSave();
    void thePageStyleChoosesThePage_data();
    void thePageStyleChoosesThePage();
    void theInterviewLanguageIsThePagesLang_data();
    void theInterviewLanguageIsThePagesLang();
    void alsoWriteAddsItsFilesBesideTheRecording();
    void anAlsoFileThatCannotBeCreatedKeepsEveryFile();
};

void TstJobSave::saveWordFileWritesALinePerRow_data()
{
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("recordingName"); // the joined recording, beside which Save writes
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("a word without speaker: CTM, six fields")
        << Rows{{u"1"_s, u"1500"_s, u"1890"_s, u"hello"_s, u"0.87"_s, u"X"_s}} << QChar(u' ')
        << u"joined.wav"_s << u"joined.ctm"_s << QStringList{u"joined 1 1.500 1.890 hello 0.87"_s};
    QTest::newRow("a speaker: SPK, seven fields")
        << Rows{{u"1"_s, u"1500"_s, u"1890"_s, u"hello"_s, u"0.87"_s, u"A"_s}} << QChar(u' ')
        << u"joined.wav"_s << u"joined.spk"_s << QStringList{u"joined 1 1.500 1.890 hello 0.87 A"_s};
    QTest::newRow("zero and minus one")
        << Rows{{u"1"_s, u"0"_s, u"-1"_s, u"a"_s, u"1.00"_s, u"X"_s}} << QChar(u' ')
        << u"joined.wav"_s << u"joined.ctm"_s << QStringList{u"joined 1 0.000 -0.001 a 1.00"_s};
    QTest::newRow("first speaker X decides for all: no speakers")
        << Rows{{u"1"_s, u"10"_s, u"20"_s, u"a"_s, u"0.50"_s, u"X"_s},
                {u"2"_s, u"20"_s, u"30"_s, u"b"_s, u"0.60"_s, u"A"_s}}
        << QChar(u' ') << u"joined.wav"_s << u"joined.ctm"_s
        << QStringList{u"joined 1 0.010 0.020 a 0.50"_s, u"joined 1 0.020 0.030 b 0.60"_s};
    QTest::newRow("first speaker A decides for all: X is written")
        << Rows{{u"1"_s, u"10"_s, u"20"_s, u"a"_s, u"0.50"_s, u"A"_s},
                {u"2"_s, u"20"_s, u"30"_s, u"b"_s, u"0.60"_s, u"X"_s}}
        << QChar(u' ') << u"joined.wav"_s << u"joined.spk"_s
        << QStringList{u"joined 1 0.010 0.020 a 0.50 A"_s, u"joined 1 0.020 0.030 b 0.60 X"_s};
    QTest::newRow("x in lower case is a speaker")
        << Rows{{u"1"_s, u"10"_s, u"20"_s, u"a"_s, u"0.50"_s, u"x"_s}} << QChar(u' ')
        << u"joined.wav"_s << u"joined.spk"_s << QStringList{u"joined 1 0.010 0.020 a 0.50 x"_s};
    QTest::newRow("an empty table is an SPK file without lines")
        << Rows{} << QChar(u' ') << u"joined.wav"_s << u"joined.spk"_s << QStringList{};
    QTest::newRow("tab: one tab between fields, a blank inside a word stays")
        << Rows{{u"1"_s, u"65000"_s, u"65250"_s, u"good day"_s, u"0.50"_s, u"SP 1"_s}}
        << QChar(u'\t') << u"joined.wav"_s << u"joined.spk"_s
        << QStringList{u"joined\t1\t65.000\t65.250\tgood day\t0.50\tSP 1"_s};
    QTest::newRow("the base name loses only the last extension")
        << Rows{{u"1"_s, u"7"_s, u"2147483647"_s, u"a"_s, u"0.10"_s, u"X"_s}} << QChar(u' ')
        << u"take.1.wav"_s << u"take.1.ctm"_s << QStringList{u"take.1 1 0.007 2147483.647 a 0.10"_s};
    QTest::newRow("a name without extension gets one")
        << Rows{{u"1"_s, u"-2147483648"_s, u"+5"_s, u"a"_s, u"0.10"_s, u"A"_s}} << QChar(u' ')
        << u"joined"_s << u"joined.spk"_s << QStringList{u"joined 1 -2147483.648 0.005 a 0.10 A"_s};
}

void TstJobSave::saveWordFileWritesALinePerRow()
{
    QFETCH(Rows, rows);
    QFETCH(QChar, separator);
    QFETCH(QString, recordingName);
    QFETCH(QString, file);
    QFETCH(QStringList, lines);

    QTemporaryDir dir;
    FakePerson person;
    GlueJob job(person);
    // The joined word file takes the separator of the word file read last
    // (a path that names no file reads none, and shows no words).
    job.settings.tabSeparated = separator == u'\t';
    job.openWordFile(2, inputFolder() + u"/no-such.ctm"_s);
    job.settings.tabSeparated = separator != u'\t';
    QCOMPARE(job.joinedSeparator(), separator);
    afterAGlue(job, dir.path(), rows, recordingName);

    const QString base = replaceExtension(recordingName, QString());
    job.save(dir.filePath(base + u".srt"_s));
    const QString path = dir.filePath(file);
    QCOMPARE(job.outputs().wordFile, path);
    QCOMPARE(contents(path), bytesFromLines(lines));
    // One word file: an SPK file leaves no CTM file beside it, nor the other way round.
    QCOMPARE(sorted(files(dir.path())),
             sorted({recordingName, file, base + u".srt"_s, base + u".txt"_s, base + u".html"_s,
                     base + u"_word.txt"_s}));
    QCOMPARE(job.text(TextView::Log),
             (QStringList{u"Saving CTM: "_s + path, u"Start making Karaoke"_s, u"Ready making Karaoke"_s}));
    QCOMPARE(person.outputsWrittenNotices, 2); // Glue's and Save's
}

void TstJobSave::saveWritesEverythingBesideTheRecording()
{
    QTemporaryDir tmp;
    const QString dir = tmp.filePath(u"out"_s);
    const QString elsewhere = tmp.filePath(u"elsewhere"_s);
    QVERIFY(QDir().mkpath(dir));
    QVERIFY(QDir().mkpath(elsewhere));

    FakePerson person;
    GlueJob job(person);
    afterAGlue(job, dir);
    const QStringList logBefore = {u"earlier line"_s};
    job.setText(TextView::Log, logBefore);

    // Save proposes the text's name with ".srt"; the chosen name influences
    // no other file.
    QCOMPARE(job.proposedSrtPath(), dir + u"/joined.srt"_s);
    QCOMPARE(person.outputsWrittenNotices, 1); // Glue's
    job.save(elsewhere + u"/other.srt"_s);
    QCOMPARE(person.outputsWrittenNotices, 2);

    QCOMPARE(job.outputs().srt, elsewhere + u"/other.srt"_s);
    QCOMPARE(files(elsewhere), QStringList{u"other.srt"_s});
    QCOMPARE(files(dir), (QStringList{u"joined.html"_s, u"joined.spk"_s, u"joined.txt"_s, u"joined.wav"_s,
                                      u"joined_word.txt"_s}));

    QCOMPARE(job.srtLines().size(), 8); // two phrases
    QCOMPARE(contents(elsewhere + u"/other.srt"_s), bytesFromLines(job.srtLines()));
    QCOMPARE(readTextFile(dir + u"/joined.spk"_s),
             (QStringList{u"joined 1 0.000 0.480 SIL 1.00 A"_s, u"joined 1 0.480 0.900 Good 0.93 A"_s,
                          u"joined 1 0.900 1.400 morning. 0.88 A"_s, u"joined 1 1.400 2.100 SIL 1.00 A"_s,
                          u"joined 1 2.100 2.500 <unk> 0.97 B"_s, u"joined 1 2.500 3.020 there! 0.91 B"_s}));
    // The text is written from its view, blank lines and leading blanks kept.
    QCOMPARE(readTextFile(dir + u"/joined.txt"_s), job.text(TextView::Text1));
    QCOMPARE(job.text(TextView::Text1), (QStringList{u"[StartTime: 0 ms]"_s, u"[Speaker: SP_01 A]"_s,
                                                     u"Good morning."_s, QString(), u"  there!"_s}));
    QCOMPARE(contents(dir + u"/joined.txt"_s), bytesFromLines(job.text(TextView::Text1)));
    QCOMPARE(contents(dir + u"/joined_word.txt"_s), bytesFromLines(job.transcriptLines()));
    QCOMPARE(job.transcriptLines().first(), u"Interview joined_word.txt"_s);
    QCOMPARE(contents(dir + u"/joined.html"_s),
             bytesFromLines(karaokePage(job.wordRows(WordTable::Main), u"joined"_s, dir + u"/joined.wav"_s)));
    QCOMPARE(job.outputs().page, dir + u"/joined.html"_s);

    // The page: title from the text's name, the words of table 1, the
    // recording by its bare name.
    const QStringList page = readTextFile(dir + u"/joined.html"_s);
    QCOMPARE(page.size(), 77 + 14 + 26);
    QCOMPARE(page[4], u"    <title>joined</title>"_s);
    QCOMPARE(page[79], u"    <h1>Forced Alignment joined</h1>"_s);
    QCOMPARE(page[85], u"   <h2>B</h2>"_s);
    QCOMPARE(page[87],
             u"     <span class=\"player conf10\" conf=\"0.97\" timestamp=\"2.100\" speaker=\"B\">"
             "&lt;unk&gt;</span>"_s);
    QCOMPARE(page[77 + 14 + 5], u"      <source src=\"joined.wav\" type=\"audio/wav\">"_s);

    QCOMPARE(job.outputs().srt, elsewhere + u"/other.srt"_s);
    QCOMPARE(job.outputs().wordFile, dir + u"/joined.spk"_s);
    QCOMPARE(job.outputs().text, dir + u"/joined.txt"_s);
    QCOMPARE(job.outputs().page, dir + u"/joined.html"_s);
    QCOMPARE(job.outputs().transcript, dir + u"/joined_word.txt"_s);
    QCOMPARE(job.outputs().recording, dir + u"/joined.wav"_s);
    QCOMPARE(job.text(TextView::Log),
             logBefore + QStringList({u"Saving CTM: "_s + dir + u"/joined.spk"_s, u"Start making Karaoke"_s,
                                      u"Ready making Karaoke"_s}));
}

void TstJobSave::aCancelledDialogWritesNothing()
{
    QTemporaryDir dir;
    FakePerson person;
    GlueJob job(person);
    // A joined recording without extension: the proposal gets ".srt".
    afterAGlue(job, dir.path(), exampleRows, u"joined"_s);
    const QStringList filesBefore = files(dir.path());
    const QStringList savedBefore = savedState(job, person);
    QCOMPARE(job.proposedSrtPath(), dir.filePath(u"joined.srt"_s));

    job.save(QString());

    QCOMPARE(job.outputs().srt, QString()); // a cancel leaves every name as it was
    QCOMPARE(job.outputs().wordFile, dir.filePath(u"joined.ctm"_s));
    QCOMPARE(files(dir.path()), filesBefore);
    QCOMPARE(filesBefore, QStringList{u"joined"_s});
    QCOMPARE(job.text(TextView::Log), QStringList{});
    QCOMPARE(savedState(job, person), savedBefore);
    QVERIFY(job.hasUnsavedWork());
}

void TstJobSave::saveBeforeAGlueStopsAtOnce()
{
    QTemporaryDir dir;
    const QString back = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));

    FakePerson person;
    GlueJob job(person);
    job.setWordRows(WordTable::Main, rowsOf<WordRow>(exampleRows));
    // The window asks this before its dialog.
    const QString ready = errorMessage([&] { job.checkReadyToSave(); });
    const QString message = errorMessage([&] { job.save(dir.filePath(u"x.srt"_s)); });
    QDir::setCurrent(back);

    QCOMPARE(ready, u"Nothing to save yet: run Glue first."_s);
    QCOMPARE(message, u"Nothing to save yet: run Glue first."_s);
    QCOMPARE(job.outputs().srt, QString());
    QCOMPARE(files(dir.path()), QStringList{});
    QCOMPARE(job.text(TextView::Log), QStringList{});
    QCOMPARE(person.outputsWrittenNotices, 0);
}

void TstJobSave::aBadTimeStopsSaveBeforeAnyFile_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("message");
    // The first phrase runs from the start of "Good" (row 1) to the end of
    // "morning." (row 2): the start of row 2 and the end of row 1 reach no
    // phrase, and the word file's check finds them.
    const QString notAnInteger = u"'%1' is not a valid integer value"_s;
    QTest::newRow("start with a fraction") << 2 << 1 << u"1.5"_s << notAnInteger.arg(u"1.5"_s);
    QTest::newRow("end beyond 32 bits") << 1 << 2 << u"2147483648"_s << notAnInteger.arg(u"2147483648"_s);
    QTest::newRow("empty start") << 2 << 1 << QString() << notAnInteger.arg(QString());
    QTest::newRow("end with a trailing letter") << 1 << 2 << u"12a"_s << notAnInteger.arg(u"12a"_s);
    // The end of "morning." ends the first phrase: the edit makes Save
    // build the SRT again first, which cannot read it.
    QTest::newRow("a phrase's end with a trailing letter")
        << 2 << 2 << u"12a"_s << u"'12a' is not a valid floating point value"_s;
}

void TstJobSave::aBadTimeStopsSaveBeforeAnyFile()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, cell);
    QFETCH(QString, message);

    QTemporaryDir dir;
    FakePerson person;
    GlueJob job(person);
    afterAGlue(job, dir.path());
    const QStringList filesBefore = files(dir.path());
    job.setWordCell(WordTable::Main, row, static_cast<WordRow::Column>(column), cell);
    const QStringList savedBefore = savedState(job, person);

    QCOMPARE(errorMessage([&] { job.save(dir.filePath(u"joined.srt"_s)); }), message);
    // Found before any file is created: nothing is written, not even the SRT.
    QCOMPARE(files(dir.path()), filesBefore);
    QCOMPARE(job.outputs().wordFile, dir.filePath(u"joined.ctm"_s));
    QCOMPARE(job.outputs().srt, QString());
    QCOMPARE(savedState(job, person), savedBefore); // no file is told of as saved
    QCOMPARE(job.text(TextView::Log), QStringList{});
    QVERIFY(job.hasUnsavedWork());
}

void TstJobSave::aFileThatCannotBeCreated_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("failing");   // the file whose creation fails, relative
    QTest::addColumn<int>("error");         // its errno
    QTest::addColumn<QStringList>("kept");  // files written before, relative
    QTest::newRow("the SRT's folder does not exist")
        << u"srt-folder-gone"_s << u"gone/joined.srt"_s << ENOENT << QStringList{};
    // Save replaces its files only when all are complete: a later file that
    // cannot be created leaves the earlier ones unwritten too. The
    // recording's folder goes after Glue wrote into it.
    QTest::newRow("the recording's folder does not exist")
        << u"recording-folder-gone"_s << u"gone/joined.spk"_s << ENOENT << QStringList{};
    QTest::newRow("a file where the recording's folder should be")
        << u"recording-folder-is-file"_s << u"file/joined.spk"_s << ENOTDIR << QStringList{};
    // The transcript, the last of the five, lies beside the recording.
    QTest::newRow("a folder where the transcript should be")
        << u"transcript-is-folder"_s << u"joined_word.txt"_s << EISDIR << QStringList{};
    QTest::newRow("no permission in the recording's folder")
        << u"no-permission"_s << u"closed/joined.spk"_s << EACCES << QStringList{};
}

void TstJobSave::aFileThatCannotBeCreated()
{
    QFETCH(QString, kind);
    QFETCH(QString, failing);
    QFETCH(int, error);
    QFETCH(QStringList, kept);

    QTemporaryDir tmp;
    const QString dir = tmp.path();
    FakePerson person;
    GlueJob job(person);
    QString srt = dir + u"/joined.srt"_s;
    bool immutable = false;

    if (kind == u"srt-folder-gone") {
        afterAGlue(job, dir);
        srt = dir + u"/gone/joined.srt"_s;
    } else if (kind == u"recording-folder-gone") {
        QVERIFY(QDir(dir).mkdir(u"gone"_s));
        afterAGlue(job, dir + u"/gone"_s);
        QVERIFY(QDir(dir + u"/gone"_s).removeRecursively());
    } else if (kind == u"recording-folder-is-file") {
        QVERIFY(QDir(dir).mkdir(u"file"_s));
        afterAGlue(job, dir + u"/file"_s);
        QVERIFY(QDir(dir + u"/file"_s).removeRecursively());
        QFile f(dir + u"/file"_s);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
    } else if (kind == u"transcript-is-folder") {
        afterAGlue(job, dir);
        QVERIFY(QDir(dir).mkdir(u"joined_word.txt"_s));
    } else if (kind == u"no-permission") {
        QVERIFY(QDir(dir).mkdir(u"closed"_s));
        afterAGlue(job, dir + u"/closed"_s);
        if (::geteuid() != 0) {
            QVERIFY(QFile::setPermissions(dir + u"/closed"_s, QFile::ReadOwner | QFile::ExeOwner));
        } else if (QProcess::execute(u"chattr"_s, {u"+i"_s, dir + u"/closed"_s}) == 0) {
            // Root passes every permission check; an immutable folder still
            // refuses new files.
            immutable = true;
            error = EPERM;
        } else {
            QSKIP("Running as root on a file system without chattr: no way to deny a "
                  "permission here.");
        }
    }
    const QStringList before = files(dir);
    const QStringList closedBefore = files(dir + u"/closed"_s);
    const QStringList savedBefore = savedState(job, person);

    const QString message = errorMessage([&] { job.save(srt); });
    if (immutable)
        QProcess::execute(u"chattr"_s, {u"-i"_s, dir + u"/closed"_s});
    else if (kind == u"no-permission") // so the temporary folder can go
        QFile::setPermissions(dir + u"/closed"_s, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(message, u"Cannot create file \"%1\". %2"_s.arg(dir + u'/' + failing, reason(error)));
    QCOMPARE(sorted(files(dir)), sorted(before + kept));
    QCOMPARE(files(dir + u"/closed"_s), closedBefore);

    // Nothing was written, so nothing is told of as saved and no name changes.
    QCOMPARE(savedState(job, person), savedBefore);
    QCOMPARE(job.outputs().srt, QString());
}

void TstJobSave::savingTwiceFollowsTheFirstSpeaker()
{
    QTemporaryDir dir;
    FakePerson person;
    GlueJob job(person);
    afterAGlue(job, dir.path());

    const QString proposed = job.proposedSrtPath();
    job.save(dir.filePath(u"joined.srt"_s));
    QCOMPARE(job.outputs().wordFile, dir.filePath(u"joined.spk"_s));
    job.setWordCell(WordTable::Main, 0, WordRow::Speaker, u"X"_s);
    // The second Save proposes the same SRT name.
    QCOMPARE(job.proposedSrtPath(), proposed);
    job.save(dir.filePath(u"joined.srt"_s));
    QCOMPARE(job.outputs().wordFile, dir.filePath(u"joined.ctm"_s));
    QCOMPARE(readTextFile(dir.filePath(u"joined.ctm"_s)).first(), u"joined 1 0.000 0.480 SIL 1.00"_s);
    // The earlier SPK file stays.
    QVERIFY(QFile::exists(dir.filePath(u"joined.spk"_s)));
    QCOMPARE(proposed, dir.filePath(u"joined.srt"_s));
    QCOMPARE(job.text(TextView::Log).size(), 6);
}

void TstJobSave::anEditedCellIsWrittenAsShown()
{
    // A cell edited to its number's own form is that number; a confidence
    // typed in another form is written as typed; a time typed with a sign
    // or blanks in front is read as a whole number.
    QTemporaryDir dir;
    FakePerson person;
    GlueJob job(person);
    afterAGlue(job, dir.path());
    job.setWordCell(WordTable::Main, 1, WordRow::Start, u"450"_s);
    job.setWordCell(WordTable::Main, 1, WordRow::End, u" +950"_s);
    job.setWordCell(WordTable::Main, 1, WordRow::Confidence, u"0.9"_s);
    job.setWordCell(WordTable::Main, 2, WordRow::Confidence, u"0.50"_s);
    job.save(dir.filePath(u"joined.srt"_s));
    const QStringList lines = readTextFile(dir.filePath(u"joined.spk"_s));
    QCOMPARE(lines.mid(1, 2), (QStringList{u"joined 1 0.450 0.950 Good 0.9 A"_s,
                                           u"joined 1 0.900 1.400 morning. 0.50 A"_s}));
    QCOMPARE(job.wordRows(WordTable::Main)[1].start, 450);
    QVERIFY(!job.wordRows(WordTable::Main)[2].isTyped(WordRow::Confidence));
    const QStringList page = readTextFile(dir.filePath(u"joined.html"_s));
    QCOMPARE(page.filter(u"timestamp=\"0.450\" speaker=\"A\">Good</span>"_s).size(), 1);
}

void TstJobSave::thePageStyleChoosesThePage_data()
{
    QTest::addColumn<bool>("standalone");
    QTest::addColumn<double>("lowConfidence");
    QTest::newRow("classic") << false << 0.5;
    QTest::newRow("standalone, default mark") << true << 0.5;
    QTest::newRow("standalone, below 0.9") << true << 0.9;
}

void TstJobSave::thePageStyleChoosesThePage()
{
    QFETCH(bool, standalone);
    QFETCH(double, lowConfidence);
    QTemporaryDir dir;
    FakePerson person;
    GlueJob job(person);
    afterAGlue(job, dir.path());
    job.settings.pageStyle = standalone ? GlueSettings::PageStyle::Standalone : GlueSettings::PageStyle::Classic;
    job.settings.lowConfidence = lowConfidence;

    job.save(dir.filePath(u"joined.srt"_s));

    // Either page is NAME.html, in place of the other, with the same log.
    QCOMPARE(files(dir.path()),
             (QStringList{u"joined.html"_s, u"joined.spk"_s, u"joined.srt"_s, u"joined.txt"_s, u"joined.wav"_s,
                          u"joined_word.txt"_s}));
    StandalonePage page;
    page.lowConfidence = lowConfidence;
    const std::span<const WordRow> rows = job.wordRows(WordTable::Main);
    const QString recording = dir.filePath(u"joined.wav"_s);
    QCOMPARE(contents(dir.filePath(u"joined.html"_s)),
             bytesFromLines(standalone ? page.lines(rows, u"joined"_s, recording)
                                       : karaokePage(rows, u"joined"_s, recording)));
    QCOMPARE(job.outputs().page, dir.filePath(u"joined.html"_s));
    QCOMPARE(job.text(TextView::Log),
             (QStringList{u"Saving CTM: "_s + dir.filePath(u"joined.spk"_s), u"Start making Karaoke"_s,
                          u"Ready making Karaoke"_s}));
}

void TstJobSave::theInterviewLanguageIsThePagesLang_data()
{
    QTest::addColumn<bool>("standalone");
    QTest::addColumn<int>("language"); // GlueSettings::Language; -1: as at start
    QTest::addColumn<QByteArray>("line");
    // At start the classic page's line is the one it always had, byte for byte.
    QTest::newRow("classic, at start") << false << -1 << QByteArray("<html lang=\"nl\">\r\n");
    QTest::newRow("standalone, at start") << true << -1 << QByteArray("<html lang=\"nl\">\r\n");
    QTest::newRow("classic, English") << false << int(GlueSettings::Language::English)
                                      << QByteArray("<html lang=\"en\">\r\n");
    QTest::newRow("standalone, Frisian") << true << int(GlueSettings::Language::Frisian)
                                         << QByteArray("<html lang=\"fy\">\r\n");
}

void TstJobSave::theInterviewLanguageIsThePagesLang()
{
    QFETCH(bool, standalone);
    QFETCH(int, language);
    QFETCH(QByteArray, line);
    QTemporaryDir dir;
    FakePerson person;
    GlueJob job(person);
    afterAGlue(job, dir.path());
    job.settings.pageStyle = standalone ? GlueSettings::PageStyle::Standalone : GlueSettings::PageStyle::Classic;
    if (language >= 0)
        job.settings.interviewLanguage = GlueSettings::Language(language);
    job.save(dir.filePath(u"joined.srt"_s));
    const QByteArray page = contents(dir.filePath(u"joined.html"_s));
    // After the byte-order mark and "<!doctype html>".
    const qsizetype second = page.indexOf('\n') + 1;
    QCOMPARE(page.mid(second, line.size()), line);
    QCOMPARE(page.count("lang="), 1);
}

void TstJobSave::alsoWriteAddsItsFilesBesideTheRecording()
{
    QTemporaryDir tmp;
    FakePerson person;
    GlueJob job(person);
    afterAGlue(job, tmp.path());
    job.settings.alsoWrite = QStringList{u"eaf"_s, u"textgrid"_s, u"vtt-words"_s, u"json"_s};
    job.save(tmp.filePath(u"joined.srt"_s));

    const QString name = tmp.filePath(u"joined"_s);
    QCOMPARE(job.outputs().also,
             (QStringList{name + u".eaf"_s, name + u".TextGrid"_s, name + u".vtt"_s, name + u".json"_s}));
    QCOMPARE(job.text(TextView::Log).mid(3),
             (QStringList{u"Saving ELAN: "_s + name + u".eaf"_s, u"Saving TextGrid: "_s + name + u".TextGrid"_s,
                          u"Saving WebVTT with word times: "_s + name + u".vtt"_s,
                          u"Saving JSON: "_s + name + u".json"_s}));
    // The JSON holds the joined words and the phrases with the rows they
    // were made of ("SIL" rows before them left out).
    const QByteArray json = contents(name + u".json"_s);
    const WordFileRead read = loadWordFile(json, {}, name + u".json"_s);
    QCOMPARE(read.words.size(), std::size_t(6));
    QCOMPARE(read.words[5].text, u"there!"_s);
    QCOMPARE(read.words[5].speaker, u"B"_s);
    QCOMPARE(read.words[5].end, std::int64_t(3020));
    QVERIFY(json.contains("{\"start\": 0.480, \"end\": 1.400, \"text\": \"Good morning.\", \"speaker\": \"A\", "
                          "\"firstWord\": 1, \"lastWord\": 2}"));
    QVERIFY(json.contains("\"firstWord\": 4, \"lastWord\": 5}"));
    QVERIFY(json.contains("\"length\": 0.020,")); // two recordings of 10 ms
    // The word-timed cues are those of the SRT.
    const QByteArray vtt = contents(name + u".vtt"_s);
    QVERIFY(vtt.startsWith("WEBVTT\n\n00:00:00.380 --> 00:00:01.600\n<v A>Good <00:00:00.900>morning.</v>\n"));
    QVERIFY(contents(name + u".TextGrid"_s).contains("name = \"A - words\""));
    const QString eaf = QString::fromUtf8(contents(name + u".eaf"_s));
    QVERIFY(eaf.contains(u"RELATIVE_MEDIA_URL=\"./joined.wav\""_s));
    // An xsd:dateTime with its offset, as ELAN dates its documents.
    QVERIFY2(QRegularExpression(uR"re(DATE="\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d(Z|[+-]\d\d:\d\d)")re"_s).match(eaf).hasMatch(),
             qPrintable(eaf.left(300)));

    // Without the setting none of them is written again.
    job.settings.alsoWrite.clear();
    QVERIFY(QFile::remove(name + u".json"_s));
    job.save(tmp.filePath(u"joined.srt"_s));
    QVERIFY(!QFile::exists(name + u".json"_s));
    QCOMPARE(job.outputs().also, QStringList());
}

void TstJobSave::anAlsoFileThatCannotBeCreatedKeepsEveryFile()
{
    QTemporaryDir tmp;
    FakePerson person;
    GlueJob job(person);
    afterAGlue(job, tmp.path());
    job.settings.alsoWrite = QStringList{u"textgrid"_s, u"json"_s};
    QVERIFY(QDir(tmp.path()).mkdir(u"joined.json"_s));
    const QStringList before = files(tmp.path());

    const QString message = errorMessage([&] { job.save(tmp.filePath(u"joined.srt"_s)); });

    QCOMPARE(message, u"Cannot create file \"%1\". %2"_s.arg(tmp.filePath(u"joined.json"_s), reason(EISDIR)));
    QCOMPARE(files(tmp.path()), before); // not the SRT, not the TextGrid either
    QCOMPARE(job.outputs().srt, QString());
    QCOMPARE(job.outputs().also, QStringList());
}

void TstJobSave::theExampleInterviewFromOpenToSave()
{
    const QString examples = QStringLiteral(NAADWERK_SOURCE_DIR) + u"/examples/"_s;
    QTemporaryDir dir;
    FakePerson person;
    GlueJob job(person);
    openBothParts(job, {examples + u"interview_1.spk"_s, examples + u"interview_1.txt"_s, examples + u"interview_1.wav"_s},
                  {examples + u"interview_2.spk"_s, examples + u"interview_2.txt"_s, examples + u"interview_2.wav"_s});
    QCOMPARE(job.proposedJoinedRecording(), examples + u"interview_1_joined.wav"_s);
    job.glue(dir.filePath(u"interview.wav"_s));
    QCOMPARE(job.proposedSrtPath(), dir.filePath(u"interview.srt"_s));
    job.save(dir.filePath(u"interview.srt"_s));

    QCOMPARE(files(dir.path()),
             (QStringList{u"interview.html"_s, u"interview.spk"_s, u"interview.srt"_s, u"interview.txt"_s,
                          u"interview.wav"_s, u"interview_word.txt"_s}));

    // Every row of the joined table is a line of the word file, in order;
    // every word but "SIL" is a span of the page.
    const QStringList words = readTextFile(dir.filePath(u"interview.spk"_s));
    const auto &table = job.wordRows(WordTable::Main);
    QCOMPARE(static_cast<std::size_t>(words.size()), table.size());
    int spans = 0;
    for (std::size_t r = 0; r < table.size(); ++r) {
        const QStringList fields = words[static_cast<qsizetype>(r)].split(u'\t');
        QCOMPARE(fields.size(), 7);
        QCOMPARE(fields[0], u"interview"_s);
        QCOMPARE(fields[4], table[r].cell(WordRow::Text));
        if (fields[4] != u"SIL")
            ++spans;
    }
    const QStringList page = readTextFile(dir.filePath(u"interview.html"_s));
    QCOMPARE(page.filter(u"<span class=\"player conf10\""_s).size(), spans);
    QVERIFY(page.contains(u"   <h2>Respondent</h2>"_s));
    QVERIFY(!page.filter(u">&lt;unk&gt;</span>"_s).isEmpty());
    // The second part is shifted by the length of the first.
    QCOMPARE(page.filter(u"timestamp=\"17.930\" speaker=\"Interviewer\">What</span>"_s).size(), 1);

    QCOMPARE(readTextFile(dir.filePath(u"interview_word.txt"_s)).first(), u"Interview interview_word.txt"_s);
    QCOMPARE(job.text(TextView::Log).mid(job.text(TextView::Log).size() - 3),
             (QStringList{u"Saving CTM: "_s + dir.filePath(u"interview.spk"_s), u"Start making Karaoke"_s,
                          u"Ready making Karaoke"_s}));
}

QTEST_GUILESS_MAIN(TstJobSave)
#include "tst_jobsave.moc"
