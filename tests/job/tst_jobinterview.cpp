// The interview file: corrections saved, the job closed, the interview
// opened again and saved: the results are those of a sitting never
// interrupted. Inputs that moved or changed, files that are no interview.
#include "support/fakeperson.h"
#include "support/files.h"
#include "support/jobsteps.h"

#include "base/atomicfile.h"
#include "job/gluejob.h"
#include "job/interviewinputs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QStringList resultNames{u"joined.srt"_s, u"joined.spk"_s, u"joined.txt"_s, u"joined.html"_s,
                              u"joined_word.txt"_s};

// The example interview copied into folder, so a test may move its files.
PartFiles examplePart(const QString &folder, int part)
{
    const QString name = u"interview_%1"_s.arg(part);
    PartFiles files{folder + u'/' + name + u".spk"_s, folder + u'/' + name + u".txt"_s,
                    folder + u'/' + name + u".wav"_s};
    for (const QString &path : {files.wordFile, files.text, files.recording})
        QFile::copy(QStringLiteral(NAADWERK_SOURCE_DIR "/examples/") + QFileInfo(path).fileName(), path);
    return files;
}

void openExample(GlueJob &job, const QString &folder)
{
    openBothParts(job, examplePart(folder, 1), examplePart(folder, 2));
}

// Corrections of every kind a person makes before Glue: a word, a
// confidence typed in a form of its own, a line of text.
void correctBeforeGlue(GlueJob &job)
{
    job.setWordCell(WordTable::Main, 1, WordRow::Text, u"Hello"_s);
    job.setWordCell(WordTable::PartTwo, 2, WordRow::Confidence, u"1"_s);
    QStringList text = job.text(TextView::Text2);
    text.append(u"Checked: \"quote\", tab\t, done."_s);
    job.setText(TextView::Text2, text);
}

// ... and after it, in the joined list and in the joined text.
void correctAfterGlue(GlueJob &job)
{
    const int last = static_cast<int>(job.wordRows(WordTable::Main).size()) - 1;
    job.setWordCell(WordTable::Main, last, WordRow::Text, u"Danke schön"_s);
    job.setWordCell(WordTable::PartTwo, 3, WordRow::Speaker, u"Respondent 2"_s);
    QStringList text = job.text(TextView::Text1);
    text.append(u"Ende."_s);
    job.setText(TextView::Text1, text);
}

// A whole sitting: the inputs opened, corrected, glued, corrected again.
void correctASitting(GlueJob &job, const QString &folder)
{
    openExample(job, folder);
    correctBeforeGlue(job);
    job.glue(folder + u"/joined.wav"_s);
    correctAfterGlue(job);
}

QList<QByteArray> results(const QString &folder)
{
    QList<QByteArray> bytes;
    for (const QString &name : resultNames)
        bytes << readBytes(folder + u'/' + name);
    return bytes;
}

} // namespace

class TestJobInterview : public QObject
{
    Q_OBJECT

private slots:
    void aSittingInterruptedSavesWhatAnUninterruptedOneSaves_data();
    void aSittingInterruptedSavesWhatAnUninterruptedOneSaves();
    void anInterviewSavedBeforeGlueKeepsItsCorrections();
    void aMovedOrChangedInputIsNamed();
    void whatIsNoInterviewFileIsRefused_data();
    void whatIsNoInterviewFileIsRefused();
    void correctionsBeforeGlueAreUnsavedWork();
};

void TestJobInterview::aSittingInterruptedSavesWhatAnUninterruptedOneSaves_data()
{
    QTest::addColumn<bool>("joinedStillThere");
    QTest::newRow("the joined recording is still there: the result is shown again") << true;
    QTest::newRow("the joined recording is gone: Glue makes it again") << false;
}

void TestJobInterview::aSittingInterruptedSavesWhatAnUninterruptedOneSaves()
{
    QFETCH(bool, joinedStillThere);
    QTemporaryDir dir;
    const QString joinedPath = dir.path() + u"/joined.wav"_s;
    const QString srtPath = dir.path() + u"/joined.srt"_s;

    // The uninterrupted sitting.
    QList<QByteArray> uninterrupted;
    {
        FakePerson person;
        GlueJob job(person);
        correctASitting(job, dir.path());
        job.save(srtPath);
        uninterrupted = results(dir.path());
        for (const QString &name : resultNames)
            QFile::remove(dir.path() + u'/' + name);
    }

    // The same corrections, saved as an interview, the job closed between.
    const QString interviewPath = dir.path() + u"/monday.naadwerk"_s;
    {
        FakePerson person;
        GlueJob job(person);
        correctASitting(job, dir.path());
        job.saveInterview(interviewPath);
        QVERIFY(!job.hasUnsavedWork());
        QCOMPARE(job.interviewPath(), interviewPath);
    }
    if (!joinedStillThere)
        QVERIFY(QFile::remove(joinedPath));

    FakePerson person;
    GlueJob job(person);
    const InterviewFile file = readInterview(interviewPath);
    QVERIFY(inputProblems(file).empty());
    job.openInterview(file, interviewPath);
    QCOMPARE(job.isGlued(), joinedStillThere);
    QVERIFY(!job.hasUnsavedWork());
    QCOMPARE(job.interviewPath(), interviewPath);
    if (!joinedStillThere) {
        job.glue(joinedPath);
    }
    QCOMPARE(job.wordRows(WordTable::Main)[1].text, u"Hello"_s);
    job.save(srtPath);
    const QList<QByteArray> reopened = results(dir.path());
    for (qsizetype i = 0; i < resultNames.size(); ++i) {
        QVERIFY2(!reopened[i].isEmpty(), qPrintable(resultNames[i]));
        QVERIFY2(reopened[i] == uninterrupted[i], qPrintable(resultNames[i]));
    }
}

void TestJobInterview::anInterviewSavedBeforeGlueKeepsItsCorrections()
{
    QTemporaryDir dir;
    const QString interviewPath = dir.path() + u"/early.naadwerk"_s;
    std::vector<WordRow> rows;
    QStringList text2;
    {
        FakePerson person;
        GlueJob job(person);
        openExample(job, dir.path());
        correctBeforeGlue(job);
        QVERIFY(job.hasUnsavedWork());
        job.saveInterview(interviewPath);
        QVERIFY(!job.hasUnsavedWork());
        rows.assign(job.wordRows(WordTable::PartTwo).begin(), job.wordRows(WordTable::PartTwo).end());
        text2 = job.text(TextView::Text2);
    }
    // The interview file names its inputs relative to its folder.
    QVERIFY(readBytes(interviewPath).contains("\"path\":\"interview_1.spk\""));
    FakePerson person;
    GlueJob job(person);
    job.openInterview(readInterview(interviewPath), interviewPath);
    QVERIFY(!job.isGlued());
    QCOMPARE(job.wordRows(WordTable::Main)[1].text, u"Hello"_s);
    const std::span<const WordRow> opened = job.wordRows(WordTable::PartTwo);
    QCOMPARE(opened.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        QCOMPARE(cells(opened[i]), cells(rows[i]));
    QVERIFY(opened[2].isTyped(WordRow::Confidence));
    QCOMPARE(job.text(TextView::Text2), text2);
    QCOMPARE(job.part(0).files.recording, dir.path() + u"/interview_1.wav"_s);
    QCOMPARE(job.part(1).files.text, dir.path() + u"/interview_2.txt"_s);
}

void TestJobInterview::aMovedOrChangedInputIsNamed()
{
    QTemporaryDir dir;
    const QString interviewPath = dir.path() + u"/moved.naadwerk"_s;
    {
        FakePerson person;
        GlueJob job(person);
        openExample(job, dir.path());
        job.saveInterview(interviewPath);
    }
    QVERIFY(QFile::rename(dir.path() + u"/interview_2.txt"_s, dir.path() + u"/elsewhere.txt"_s));
    writeBytes(dir.path() + u"/interview_1.spk"_s, "interview_1 1 0.0 0.5 changed 1.00\n");
    const InterviewFile file = readInterview(interviewPath);
    const std::vector<InterviewInputProblem> problems = inputProblems(file);
    QCOMPARE(problems.size(), 2u);
    QCOMPARE(problems[0].message(), u"The word file of part 1, \"%1/interview_1.spk\", has changed since the "
                                    u"interview was saved."_s.arg(dir.path()));
    QCOMPARE(problems[1].message(),
             u"The text of part 2, \"%1/interview_2.txt\", is no longer there."_s.arg(dir.path()));
    // The corrections are the interview file's: the changed word file is not read.
    FakePerson person;
    GlueJob job(person);
    job.openInterview(file, interviewPath);
    QCOMPARE(job.wordRows(WordTable::Main)[1].text, u"Good"_s);
}

void TestJobInterview::whatIsNoInterviewFileIsRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    const QString notOne = u"\"%1\" is not a Naadwerk interview file."_s;
    QTest::newRow("a word file") << QByteArray("interview_1\t1\t0.000\t0.400\tSIL\t1.00\tA\n") << notOne;
    QTest::newRow("JSON of something else") << QByteArray("{\"version\": 1, \"parts\": []}") << notOne;
    QTest::newRow("cut short") << QByteArray("{\"version\":1,\"format\":\"naadwerk-interview\",\"parts\":[") << notOne;
    QTest::newRow("a newer version")
        << QByteArray("{\"version\":7,\"format\":\"naadwerk-interview\",\"parts\":[]}")
        << u"\"%1\" was written by a newer Naadwerk (interview file version 7); this version reads version 1."_s;
}

void TestJobInterview::whatIsNoInterviewFileIsRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.path() + u"/other.naadwerk"_s;
    writeBytes(path, bytes);
    QCOMPARE(errorMessage([&] { readInterview(path); }), message.arg(path));
}

void TestJobInterview::correctionsBeforeGlueAreUnsavedWork()
{
    QTemporaryDir dir;
    FakePerson person;
    GlueJob job(person);
    openExample(job, dir.path());
    QVERIFY(!job.hasUnsavedWork()); // opening files is no correction
    job.setText(TextView::Text1, job.text(TextView::Text1)); // written back unchanged
    QVERIFY(!job.hasUnsavedWork());
    job.setWordCell(WordTable::Main, 0, WordRow::Speaker, u"Ans"_s);
    QVERIFY(job.hasUnsavedWork());
    QCOMPARE(person.unsavedNotices, QList<bool>{true});
}

QTEST_GUILESS_MAIN(TestJobInterview)
#include "tst_jobinterview.moc"
