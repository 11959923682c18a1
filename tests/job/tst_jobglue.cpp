// The Glue command: the join and its offsets, the joined word table and text,
// the log of every step, the row notices, and the Open Wav commands.
#include "support/fakeperson.h"
#include "support/jobsteps.h"
#include "support/files.h"
#include "jobrows.h"
#include "support/wavbuilder.h"

#include "formats/samples16k.h"
#include "job/gluejob.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using Notice = FakePerson::RowNotice;
using Opened = QPair<int, PartFile>;

namespace {

// What the person was told of opened files, written outputs and Glue, and
// the names of the outputs: all the window's status lines and tab follow.
QStringList toldOf(const GlueJob &job, const FakePerson &person)
{
    QStringList told;
    for (const auto &[part, file] : person.opened)
        told << QStringLiteral("opened %1/%2").arg(part).arg(static_cast<int>(file));
    told << QStringLiteral("outputs written %1").arg(person.outputsWrittenNotices)
         << QStringLiteral("glued %1").arg(person.gluedNotices);
    const GlueOutputs &out = job.outputs();
    told << out.recording << out.text << out.wordFile << out.srt << out.transcript << out.page << out.partMap;
    return told;
}

const QStringList ctm1Lines{"u\t1\t0.10\t0.40\tso\t0.91\tSP_01 Anna", "u\t1\t0.40\t0.70\twe\t1\tSP_01 Anna",
                            "u\t1\t0.70\t1.20\tleft.\t0.5\tSP_01 Anna"};
const QStringList ctm2Lines{"u\t1\t0.00\t0.25\tyes\t0.75\tSP_02 Bob", "u\t1\t0.30\t0.90\tfine.\t1\tSP_02 Bob"};

// Notes how many rows each table holds when a notice arrives, so a test can
// tell that the job changed the rows before it said so.
class CountingPerson : public FakePerson
{
public:
    const GlueJob *job = nullptr;
    QList<std::size_t> rowsAtNotice;

    void wordRowsAppended(WordTable table, int first, int count) override
    {
        rowsAtNotice << job->wordRows(table).size();
        FakePerson::wordRowsAppended(table, first, count);
    }
    void wordRowsChanged(WordTable table, int first, int last) override
    {
        rowsAtNotice << job->wordRows(table).size();
        FakePerson::wordRowsChanged(table, first, last);
    }
    void phraseRowsReplaced() override
    {
        rowsAtNotice << job->phraseRows().size();
        FakePerson::phraseRowsReplaced();
    }
};

// Opens the two recordings and glues them into joined.
void glueRecordings(GlueJob &job, const QString &one, const QString &two, const QString &joined)
{
    job.openRecording(1, one);
    job.openRecording(2, two);
    job.glue(joined);
}

// Glues the parts as opened, with a recording 1 of offsetMs, so part 2's
// words move by that much, and a recording 2 of 4 s, longer than its words.
// Recording 1 is at 8 kHz and 8 bits: half the frames and a quarter of
// the bytes of the same length at 16 kHz. Returns Glue's error message, or
// "(no error)"; the offset is checked either way.
QString glueAt(GlueJob &job, const QTemporaryDir &dir, std::int64_t offsetMs)
{
    writeSilentWav(dir.filePath("offset.wav"), 8000, 1, 8, offsetMs * 8);
    writeSilentWav(dir.filePath("four-seconds.wav"), 16000, 1, 16, 4 * 16000);
    job.openRecording(1, dir.filePath("offset.wav"));
    job.openRecording(2, dir.filePath("four-seconds.wav"));
    const QString message = errorMessage([&] { job.glue(dir.filePath("offset-joined.wav")); });
    if (job.partStartsMs() != std::vector<std::int64_t>{0, offsetMs})
        return QStringLiteral("part 2 was not placed at %1 ms").arg(offsetMs);
    return message;
}

} // namespace

class TstJobGlue : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }

private slots:
    void aWholeGlueLogsEveryStep();
    void offsetOfPartTwo_data();
    void offsetOfPartTwo();
    void glueWithoutAPathLeavesEverythingAsItWas();
    void glueWithoutAPathKeepsTheNamesOfTheLastJoin();
    void glueNeedsBothRecordings_data();
    void glueNeedsBothRecordings();
    void aRecordingDeletedSinceOpenFailsInTheJoin_data();
    void aRecordingDeletedSinceOpenFailsInTheJoin();
    void badHeaderEndsTheGlue();
    void glueNeverOverwritesAnOpenedInput_data();
    void glueNeverOverwritesAnOpenedInput();
    void partTwoIsShiftedAndNumberedOn();
    void onlyOnePartOpened();
    void aFailedReadLeavesHalfTwoAsShown();
    void aSecondGlueBuildsTheResultAfresh();
    void glueNoticesOneAppendAndOneChange();
    void glueWithoutPartTwoNoticesNoWordRows();
    void openWavShowsTheFrameCount();
    void openWavErrorsKeepCountAndLabel();
    void theChannelsSettingReachesTheJoin_data();
    void theChannelsSettingReachesTheJoin();
    void aRecordingCutShortIsGluedWithAWarning();
    void unfinishedAndCutWavsAreNamedAfterTheJoin();
};

void TstJobGlue::aWholeGlueLogsEveryStep()
{
    writeLines(path("a.ctm"), ctm1Lines);
    writeLines(path("b.ctm"), ctm2Lines);
    writeLines(path("a.txt"), {"[Speaker: SP_01 Anna]", "So we left."});
    writeLines(path("b.txt"), {"[Speaker: SP_02 Bob]", "Yes, fine."});
    writeSilentWav(path("a.wav"), 16000, 1, 16, 160000);
    writeSilentWav(path("b.wav"), 16000, 1, 16, 16000);

    FakePerson person;
    GlueJob job(person);
    openBothParts(job, {path("a.ctm"), path("a.txt"), path("a.wav")}, {path("b.ctm"), path("b.txt"), path("b.wav")});
    QVERIFY(person.logged.isEmpty()); // the Open commands log nothing
    // Recording 1's name is never proposed: accepting it would replace an input.
    QCOMPARE(job.proposedJoinedRecording(), path("a_joined.wav"));
    job.settings.widenCues = false;
    QCOMPARE(person.outputsWrittenNotices, 0);
    QCOMPARE(person.gluedNotices, 0);
    job.glue(path("joined.wav"));

    QCOMPARE(person.logged,
             (QStringList{"Make one Wav-file from two", "Reading two wavfiles:",
                          "1: " + path("a.wav") + " (160000)", "2: " + path("b.wav") + " (16000)",
                          "Writting into wavfile:", "W: " + path("joined.wav") + " (176000)",
                          "Samples to add is 160000", "Time to add is 10000ms", "Combining the two CTMs",
                          "Combining the two Texts", "Make Phrases", "Start making Phrases",
                          "Ready making Phrases", "Make SRT", "Start making SRT", "Ready making SRT",
                          "Make Word-like transcription", "Start making Word-file", "Ready making Word-file"}));
    QCOMPARE(job.text(TextView::Log), person.logged);
    // The proposal stays recording 1's, not the joined file's.
    QCOMPARE(job.proposedJoinedRecording(), path("a_joined.wav"));

    QCOMPARE(job.outputs().recording, path("joined.wav"));
    QCOMPARE(job.outputs().text, path("joined.txt"));
    QCOMPARE(job.outputs().wordFile, path("joined.ctm"));
    QCOMPARE(QFileInfo(path("joined.wav")).size(), 44 + 2 * 176000);
    QCOMPARE(job.joinedFrames(), 176000);
    QCOMPARE(job.part(0).frames, 160000);
    QCOMPARE(job.part(1).frames, 16000);
    // Glue tells of the recording it wrote, and of its end, once each; the
    // files only Save writes are not named yet.
    QCOMPARE(person.outputsWrittenNotices, 1);
    QCOMPARE(person.gluedNotices, 1);
    QCOMPARE(job.outputs().srt, QString());
    QCOMPARE(job.outputs().page, QString());
    QCOMPARE(job.outputs().partMap, QString());
    QVERIFY(job.isGlued());
    QVERIFY(job.hasUnsavedWork());

    const auto &table1 = job.wordRows(WordTable::Main);
    QCOMPARE(table1.size(), 5u);
    QCOMPARE(cells(table1[2]), (QStringList{"3", "700", "1200", "left.", "0.50", "SP_01 Anna"}));
    QCOMPARE(cells(table1[3]), (QStringList{"4", "10000", "10250", "yes", "0.75", "SP_02 Bob"}));
    QCOMPARE(cells(table1[4]), (QStringList{"5", "10300", "10900", "fine.", "1.00", "SP_02 Bob"}));
    QCOMPARE(cells(job.wordRows(WordTable::PartTwo)[0]), cells(table1[3]));
    QCOMPARE(cellsOf(job.phraseRows()), (QList<QStringList>{{"1", "100", "1200", "11", "so we left."},
                                                           {"2", "10000", "10900", "9", "yes fine."}}));
    QCOMPARE(job.text(TextView::Subtitles),
             (QStringList{"1", "00:00:00,100 --> 00:00:01,200", "so we left.", "", "2",
                          "00:00:10,000 --> 00:00:10,900", "yes fine.", ""}));
    QCOMPARE(job.text(TextView::Text1),
             (QStringList{"[Speaker: SP_01 Anna]", "So we left.", "[Speaker: SP_02 Bob]", "Yes, fine."}));
    QCOMPARE(job.text(TextView::Transcript).mid(7), (QStringList{"Anna\tSo we left.", "Bob\tYes, fine."}));
}

void TstJobGlue::offsetOfPartTwo_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");
    QTest::addColumn<qint64>("frames");
    QTest::addColumn<qint64>("sampleOffset");
    QTest::addColumn<qint64>("timeOffset");

    QTest::newRow("10 s at 16 kHz") << 16000 << 1 << qint64(160000) << qint64(160000) << qint64(10000);
    QTest::newRow("1.5 ms rounds up to 2") << 16000 << 1 << qint64(24) << qint64(24) << qint64(2);
    QTest::newRow("2.5 ms rounds down to 2") << 16000 << 1 << qint64(40) << qint64(40) << qint64(2);
    QTest::newRow("half a ms rounds to 0") << 16000 << 1 << qint64(8) << qint64(8) << qint64(0);
    QTest::newRow("stereo counts frames") << 16000 << 2 << qint64(1600) << qint64(1600) << qint64(100);
    // The offset is where part 2 starts in the joined 16 kHz file: 10 s of
    // 8 kHz audio take 160000 frames there.
    QTest::newRow("10 s at 8 kHz") << 8000 << 1 << qint64(80000) << qint64(160000) << qint64(10000);
    QTest::newRow("1 s at 44.1 kHz") << 44100 << 2 << qint64(44100) << qint64(16000) << qint64(1000);
}

void TstJobGlue::offsetOfPartTwo()
{
    QFETCH(int, rate);
    QFETCH(int, channels);
    QFETCH(qint64, frames);
    QFETCH(qint64, sampleOffset);
    QFETCH(qint64, timeOffset);
    writeSilentWav(path("one.wav"), rate, channels, 16, frames);
    writeSilentWav(path("two.wav"), 16000, 1, 16, 100);

    FakePerson person;
    GlueJob job(person);
    glueRecordings(job, path("one.wav"), path("two.wav"), path("together.wav"));
    QCOMPARE(job.part(0).frames, frames);
    QCOMPARE(job.part(1).frames, 100);
    QCOMPARE(job.placedParts()[1].firstFrame, sampleOffset);
    QCOMPARE(job.joinedFrames(), sampleOffset + 100);
    QCOMPARE(job.partStartsMs()[1], timeOffset);
    QCOMPARE(person.logged[2], "1: " + path("one.wav") + " (" + QString::number(frames) + ")");
    QCOMPARE(person.logged[6], "Samples to add is " + QString::number(sampleOffset));
    QCOMPARE(person.logged[7], "Time to add is " + QString::number(timeOffset) + "ms");
}

void TstJobGlue::glueWithoutAPathLeavesEverythingAsItWas()
{
    writeLines(path("a.ctm"), ctm1Lines);
    writeLines(path("b.ctm"), ctm2Lines);
    writeSilentWav(path("one.wav"), 16000, 1, 16, 160);
    writeSilentWav(path("two.wav"), 16000, 1, 16, 16);
    FakePerson person;
    GlueJob job(person);
    job.openWordFile(1, path("a.ctm"));
    job.openWordFile(2, path("b.ctm"));
    job.openRecording(1, path("one.wav"));
    job.openRecording(2, path("two.wav"));

    // No path (a cancelled dialog) before any Glue: nothing is glued, Save has nothing.
    job.glue(QString());
    QVERIFY(person.logged.isEmpty());
    QVERIFY(!job.isGlued());
    QVERIFY(!job.hasUnsavedWork());
    QCOMPARE(job.wordRows(WordTable::Main).size(), 3u);
    QVERIFY(job.partStartsMs().empty());
    QVERIFY(!QFileInfo::exists(path("one_joined.wav")));
    QCOMPARE(errorMessage([&] { job.save(path("one_joined.srt")); }),
             QStringLiteral("Nothing to save yet: run Glue first."));
    QVERIFY(!QFileInfo::exists(path("one_joined.srt")));

    // No path after a Glue: the result, the log, the names and the file stay.
    job.glue(path("joined.wav"));
    const QStringList log = person.logged;
    const QStringList told = toldOf(job, person);
    const auto notices = person.rowNotices;
    const QByteArray joined = readBytes(path("joined.wav"));
    job.glue(QString());
    QCOMPARE(person.logged, log);
    QCOMPARE(job.text(TextView::Log), log);
    QCOMPARE(toldOf(job, person), told);
    QCOMPARE(person.rowNotices, notices);
    QCOMPARE(readBytes(path("joined.wav")), joined);
    QCOMPARE(job.outputs().recording, path("joined.wav"));
    QCOMPARE(job.partStartsMs()[1], 10);
    QCOMPARE(job.wordRows(WordTable::Main).size(), 5u);
    QCOMPARE(cells(job.wordRows(WordTable::Main)[3]), (QStringList{"4", "10", "260", "yes", "0.75", "SP_02 Bob"}));
    QCOMPARE(cells(job.wordRows(WordTable::PartTwo)[0]), cells(job.wordRows(WordTable::Main)[3]));
}

void TstJobGlue::glueWithoutAPathKeepsTheNamesOfTheLastJoin()
{
    writeSilentWav(path("one.wav"), 16000, 1, 16, 10);
    writeSilentWav(path("two.wav"), 16000, 1, 16, 10);
    FakePerson person;
    GlueJob job(person);
    job.openRecording(1, path("one.wav"));
    job.openRecording(2, path("two.wav"));
    QCOMPARE(job.proposedJoinedRecording(), path("one_joined.wav"));
    job.glue(path("first.wav"));
    job.glue(QString());
    QCOMPARE(job.outputs().recording, path("first.wav"));
    QCOMPARE(job.outputs().text, path("first.txt"));
    QCOMPARE(job.outputs().wordFile, path("first.ctm"));
    // After a Glue too, Glue proposes recording 1's name with "_joined", in
    // its folder, not the last joined file.
    QCOMPARE(job.proposedJoinedRecording(), path("one_joined.wav"));
    QCOMPARE(job.partStartsMs()[1], 1);
}

void TstJobGlue::glueNeedsBothRecordings_data()
{
    QTest::addColumn<QStringList>("opened"); // the recordings chosen, 1 then 2; "" for none
    QTest::newRow("none") << QStringList{"", ""};
    QTest::newRow("only 1") << QStringList{"one.wav", ""};
    QTest::newRow("only 2") << QStringList{"", "two.wav"};
}

void TstJobGlue::glueNeedsBothRecordings()
{
    QFETCH(QStringList, opened);
    writeSilentWav(path("one.wav"), 16000, 1, 16, 10);
    writeSilentWav(path("two.wav"), 16000, 1, 16, 10);
    writeLines(path("a.ctm"), ctm1Lines);
    FakePerson person;
    GlueJob job(person);
    job.openWordFile(1, path("a.ctm"));
    for (int part = 1; part <= 2; ++part) {
        if (!opened[part - 1].isEmpty())
            job.openRecording(part, path(opened[part - 1]));
    }
    const QStringList told = toldOf(job, person);
    // The check a front end makes before its dialog, and Glue itself, with
    // a path or without: each fails before it logs or changes anything.
    const QString missing = QStringLiteral("Open both recordings before Glue.");
    QCOMPARE(errorMessage([&] { job.checkReadyToGlue(); }), missing);
    QCOMPARE(errorMessage([&] { job.glue(QString()); }), missing);
    QCOMPARE(errorMessage([&] { job.glue(path("one_joined.wav")); }), missing);
    QCOMPARE(toldOf(job, person), told);
    QVERIFY(person.logged.isEmpty());
    QVERIFY(!job.isGlued());
    QCOMPARE(job.wordRows(WordTable::Main).size(), 3u);
    QVERIFY(!QFileInfo::exists(path("one_joined.wav")));
}

void TstJobGlue::aRecordingDeletedSinceOpenFailsInTheJoin_data()
{
    QTest::addColumn<QString>("deleted");
    QTest::newRow("recording 1") << "one.wav";
    QTest::newRow("recording 2") << "two.wav";
}

void TstJobGlue::aRecordingDeletedSinceOpenFailsInTheJoin()
{
    QFETCH(QString, deleted);
    writeSilentWav(path("one.wav"), 16000, 1, 16, 10);
    writeSilentWav(path("two.wav"), 16000, 1, 16, 10);
    FakePerson person;
    GlueJob job(person);
    job.openRecording(1, path("one.wav"));
    job.openRecording(2, path("two.wav"));
    QVERIFY(QFile::remove(path(deleted)));
    const QStringList told = toldOf(job, person);
    QCOMPARE(errorMessage([&] { job.glue(path("never.wav")); }),
             "Cannot open file \"" + path(deleted) + "\". No such file or directory");
    QCOMPARE(person.logged, QStringList{"Make one Wav-file from two"});
    QCOMPARE(toldOf(job, person), told); // no written output for a file not written
    QCOMPARE(person.outputsWrittenNotices, 0);
    QVERIFY(!QFileInfo::exists(path("never.wav")));
    QVERIFY(!job.isGlued());
    QCOMPARE(errorMessage([&] { job.save(path("never.srt")); }),
             QStringLiteral("Nothing to save yet: run Glue first."));
    QVERIFY(!QFileInfo::exists(path("never.srt")));
}

void TstJobGlue::badHeaderEndsTheGlue()
{
    writeLines(path("b.ctm"), ctm2Lines);
    writeSilentWav(path("one.wav"), 16000, 1, 16, 32);
    writeSilentWav(path("two.wav"), 16000, 1, 16, 32);
    FakePerson person;
    GlueJob job(person);
    job.openWordFile(2, path("b.ctm"));
    job.openRecording(1, path("one.wav"));
    job.openRecording(2, path("two.wav"));
    writeBytes(path("two.wav"), QByteArray("RIFX") + QByteArray(60, '\0'));
    QCOMPARE(withoutFfmpegReason(errorMessage([&] { job.glue(path("broken.wav")); })),
             refusedRecording(path("two.wav"), "Wrong idRIFF"));
    QCOMPARE(person.logged, QStringList{"Make one Wav-file from two"});
    // The join read header 1 and failed on header 2: each part keeps the
    // count it has, and there is no joined recording.
    QCOMPARE(job.part(0).frames, 32);
    QCOMPARE(job.part(1).frames, 32);
    QCOMPARE(job.joinedFrames(), 0);
    // No offset was found: no part is placed, and no output is named or told of.
    QVERIFY(job.placedParts().empty());
    QVERIFY(job.partStartsMs().empty());
    QCOMPARE(job.outputs().recording, QString());
    QCOMPARE(person.outputsWrittenNotices, 0);
    QCOMPARE(person.gluedNotices, 0);
    QCOMPARE(person.opened.last(), Opened(2, PartFile::Recording));
    QCOMPARE(job.part(0).files.recording, path("one.wav"));
    QCOMPARE(job.part(0).recordingFormat, QStringLiteral("RIFF"));
    QCOMPARE(job.wordRows(WordTable::Main).size(), 0u);
    QCOMPARE(job.wordRows(WordTable::PartTwo)[0].cell(WordRow::Number), QStringLiteral("1"));
    QVERIFY(!QFileInfo::exists(path("broken.wav")));
}

void TstJobGlue::glueNeverOverwritesAnOpenedInput_data()
{
    QTest::addColumn<QString>("chosen"); // relative to the folder; "link" is a hard link to one.wav
    QTest::addColumn<QString>("named"); // the input the message names
    QTest::newRow("wav 1") << "one.wav" << "one.wav";
    QTest::newRow("wav 2") << "two.wav" << "two.wav";
    QTest::newRow("word file 1") << "a.ctm" << "a.ctm";
    QTest::newRow("word file 2") << "b.ctm" << "b.ctm";
    QTest::newRow("text 1") << "a.txt" << "a.txt";
    QTest::newRow("text 2") << "b.txt" << "b.txt";
    QTest::newRow("another spelling") << "./sub/../one.wav" << "./sub/../one.wav";
    QTest::newRow("a hard link") << "link.wav" << "link.wav";
}

void TstJobGlue::glueNeverOverwritesAnOpenedInput()
{
    QFETCH(QString, chosen);
    QFETCH(QString, named);
    writeLines(path("a.ctm"), ctm1Lines);
    writeLines(path("b.ctm"), ctm2Lines);
    writeLines(path("a.txt"), {"one."});
    writeLines(path("b.txt"), {"two."});
    writeSilentWav(path("one.wav"), 16000, 1, 16, 48);
    writeSilentWav(path("two.wav"), 16000, 1, 16, 16);
    QDir(dir.path()).mkdir("sub");
    QFile::remove(path("link.wav"));
    QVERIFY(::link(QFile::encodeName(path("one.wav")).constData(),
                   QFile::encodeName(path("link.wav")).constData()) == 0);
    FakePerson person;
    GlueJob job(person);
    const QStringList inputs{"a.ctm", "b.ctm", "a.txt", "b.txt", "one.wav", "two.wav"};
    job.openWordFile(1, path(inputs[0]));
    job.openWordFile(2, path(inputs[1]));
    job.openText(1, path(inputs[2]));
    job.openText(2, path(inputs[3]));
    job.openRecording(1, path(inputs[4]));
    job.openRecording(2, path(inputs[5]));
    QList<QByteArray> before;
    for (const QString &input : inputs)
        before << readBytes(path(input));
    const QStringList told = toldOf(job, person);
    QCOMPARE(errorMessage([&] { job.glue(path(chosen)); }),
             "Glue would overwrite the opened file \"" + path(named) + "\". Nothing was glued.");
    for (qsizetype i = 0; i < inputs.size(); ++i)
        QCOMPARE(readBytes(path(inputs[i])), before[i]);
    QVERIFY(person.logged.isEmpty());
    QCOMPARE(toldOf(job, person), told);
    QVERIFY(!job.isGlued());
    QCOMPARE(job.outputs().recording, QString());
}

void TstJobGlue::partTwoIsShiftedAndNumberedOn()
{
    writeLines(path("a.ctm"), ctm1Lines);
    writeLines(path("b.ctm"), ctm2Lines);
    FakePerson person;
    GlueJob job(person);
    job.openWordFile(1, path("a.ctm"));
    job.openWordFile(2, path("b.ctm"));
    job.setWordCell(WordTable::PartTwo, 0, WordRow::Text, QStringLiteral("edited"));
    job.setWordCell(WordTable::PartTwo, 1, WordRow::Start, QStringLiteral("300"));
    job.setWordCell(WordTable::PartTwo, 1, WordRow::End, QStringLiteral("1.5"));
    // The typed end reaches the SRT as "1,5", which it cannot read
    // (tst_jobsrt): Glue stops there, with the word lists joined.
    QCOMPARE(glueAt(job, dir, 600000), QStringLiteral("'1,5' is not a valid floating point value"));
    QVERIFY(job.isGlued());
    const auto table1 = job.wordRows(WordTable::Main);
    const auto table2 = job.wordRows(WordTable::PartTwo);
    QCOMPARE(table1.size(), 5u);
    QCOMPARE(cells(table1[0]), (QStringList{"1", "100", "400", "so", "0.91", "SP_01 Anna"}));
    // Half 2's rows as edited before Glue, shifted; a typed cell stays as
    // typed, and the word whose text was corrected is confirmed.
    QCOMPARE(cells(table1[3]), (QStringList{"4", "600000", "600250", "edited", "1.00", "SP_02 Bob"}));
    QCOMPARE(cells(table1[4]), (QStringList{"5", "600300", "1.5", "fine.", "1.00", "SP_02 Bob"}));
    QCOMPARE(table2.size(), 2u);
    QCOMPARE(cells(table2[0]), cells(table1[3]));
    QCOMPARE(cells(table2[1]), cells(table1[4]));
    QVERIFY(table2[1].isTyped(WordRow::End));
}

void TstJobGlue::onlyOnePartOpened()
{
    writeLines(path("a.ctm"), ctm1Lines);
    writeLines(path("b.ctm"), ctm2Lines);
    {
        FakePerson person;
        GlueJob job(person);
        job.openWordFile(2, path("b.ctm"));
        QCOMPARE(glueAt(job, dir, 5), QStringLiteral("(no error)"));
        QCOMPARE(job.wordRows(WordTable::Main).size(), 2u);
        QCOMPARE(cells(job.wordRows(WordTable::Main)[0]), (QStringList{"1", "5", "255", "yes", "0.75", "SP_02 Bob"}));
    }
    {
        FakePerson person;
        GlueJob job(person);
        job.openWordFile(1, path("a.ctm"));
        QCOMPARE(glueAt(job, dir, 5), QStringLiteral("(no error)"));
        QCOMPARE(job.wordRows(WordTable::Main).size(), 3u);
        QCOMPARE(cells(job.wordRows(WordTable::Main)[2]),
                 (QStringList{"3", "700", "1200", "left.", "0.50", "SP_01 Anna"}));
        QCOMPARE(job.wordRows(WordTable::PartTwo).size(), 0u);
        QVERIFY(job.text(TextView::Text1).isEmpty());
    }
}

void TstJobGlue::aFailedReadLeavesHalfTwoAsShown()
{
    writeLines(path("three.ctm"), {"u 1 0 1 a 1 S", "u 1 1 2 b 1 S", "u 1 2 3 c 1 S"});
    writeLines(path("bad.ctm"), {"u 1 5 6 d 0.25 T", "u 1 x 7 e 1 T"});
    FakePerson person;
    GlueJob job(person);
    job.settings.tabSeparated = false;
    job.openWordFile(2, path("three.ctm"));
    QVERIFY(errorMessage([&] { job.openWordFile(2, path("bad.ctm")); }).contains("'x'"));
    // Table 2 still shows the three rows read before: those are half 2.
    QCOMPARE(job.wordRows(WordTable::PartTwo).size(), 3u);
    QCOMPARE(glueAt(job, dir, 100), QStringLiteral("(no error)"));
    const auto table1 = job.wordRows(WordTable::Main);
    QCOMPARE(table1.size(), 3u);
    QCOMPARE(cells(table1[0]), (QStringList{"1", "100", "1100", "a", "1.00", "S"}));
    QCOMPARE(cells(table1[2]), (QStringList{"3", "2100", "3100", "c", "1.00", "S"}));
    QCOMPARE(cells(job.wordRows(WordTable::PartTwo)[2]), cells(table1[2]));
}

void TstJobGlue::aSecondGlueBuildsTheResultAfresh()
{
    writeLines(path("a.ctm"), ctm1Lines);
    writeLines(path("b.ctm"), ctm2Lines);
    writeLines(path("a.txt"), {"one."});
    writeLines(path("b.txt"), {"two."});
    writeSilentWav(path("one.wav"), 16000, 1, 16, 16000);
    writeSilentWav(path("two.wav"), 16000, 1, 16, 16000);
    FakePerson person;
    GlueJob job(person);
    openBothParts(job, {path("a.ctm"), path("a.txt"), path("one.wav")}, {path("b.ctm"), path("b.txt"), path("two.wav")});
    job.glue(path("together.wav"));
    const auto rows = [&] {
        QList<QStringList> all;
        for (const WordRow &row : job.wordRows(WordTable::Main))
            all << cells(row);
        return all;
    };
    const QList<QStringList> first = rows();
    const auto phrases = cellsOf(job.phraseRows());
    const QStringList srt = job.text(TextView::Subtitles);
    const QStringList transcript = job.text(TextView::Transcript).mid(1);
    job.glue(path("again.wav"));

    QCOMPARE(rows(), first);
    QCOMPARE(cells(job.wordRows(WordTable::Main)[4]), (QStringList{"5", "1300", "1900", "fine.", "1.00", "SP_02 Bob"}));
    QCOMPARE(job.wordRows(WordTable::PartTwo).size(), 2u);
    QCOMPARE(cells(job.wordRows(WordTable::PartTwo)[1]), first[4]);
    QCOMPARE(job.text(TextView::Text1), (QStringList{"one.", "two."}));
    QCOMPARE(job.text(TextView::Text2), QStringList{"two."});
    QCOMPARE(cellsOf(job.phraseRows()), phrases);
    QCOMPARE(job.text(TextView::Subtitles), srt);
    QCOMPARE(job.text(TextView::Transcript).mid(1), transcript);
    QCOMPARE(readBytes(path("again.wav")), readBytes(path("together.wav")));
    QCOMPARE(person.logged.count("Make one Wav-file from two"), 2);
    QCOMPARE(job.text(TextView::Log), person.logged);
}

void TstJobGlue::glueNoticesOneAppendAndOneChange()
{
    writeLines(path("a.ctm"), ctm1Lines);
    writeLines(path("b.ctm"), ctm2Lines);
    writeSilentWav(path("one.wav"), 16000, 1, 16, 16);
    writeSilentWav(path("two.wav"), 16000, 1, 16, 16);
    CountingPerson person;
    GlueJob job(person);
    person.job = &job;
    job.openWordFile(1, path("a.ctm"));
    job.openWordFile(2, path("b.ctm"));
    job.openRecording(1, path("one.wav"));
    job.openRecording(2, path("two.wav"));
    person.rowNotices.clear();
    job.glue(path("joined.wav"));
    // Table 1 grows by the rows of table 2 in one append, table 2 changes as
    // a whole, the phrases are replaced; each notice once the rows are there.
    QCOMPARE(person.rowNotices, (QList<Notice>{{Notice::WordsAppended, WordTable::Main, 3, 4},
                                               {Notice::WordsChanged, WordTable::PartTwo, 0, 1},
                                               {Notice::PhrasesReplaced, WordTable::Main, -1, -1}}));
    QCOMPARE(person.rowsAtNotice, (QList<std::size_t>{5, 2, 2}));
    // A second Glue builds table 1 anew: one replace.
    person.rowNotices.clear();
    job.glue(path("joined.wav"));
    QCOMPARE(person.rowNotices, (QList<Notice>{{Notice::WordsReplaced, WordTable::Main, -1, -1},
                                               {Notice::WordsChanged, WordTable::PartTwo, 0, 1},
                                               {Notice::PhrasesReplaced, WordTable::Main, -1, -1}}));
}

void TstJobGlue::glueWithoutPartTwoNoticesNoWordRows()
{
    writeLines(path("a.ctm"), ctm1Lines);
    writeSilentWav(path("one.wav"), 16000, 1, 16, 16);
    writeSilentWav(path("two.wav"), 16000, 1, 16, 16);
    FakePerson person;
    GlueJob job(person);
    job.openWordFile(1, path("a.ctm"));
    job.openRecording(1, path("one.wav"));
    job.openRecording(2, path("two.wav"));
    person.rowNotices.clear();
    job.glue(path("joined.wav"));
    QCOMPARE(person.rowNotices, (QList<Notice>{{Notice::PhrasesReplaced, WordTable::Main, -1, -1}}));
    QCOMPARE(job.wordRows(WordTable::Main).size(), 3u);
}

void TstJobGlue::openWavShowsTheFrameCount()
{
    writeSilentWav(path("stereo.wav"), 44100, 2, 16, 1000);
    writeSilentWav(path("mono.wav"), 8000, 1, 8, 77);
    FakePerson person;
    GlueJob job(person);
    job.openRecording(1, path("stereo.wav"));
    job.openRecording(2, path("mono.wav"));
    QCOMPARE(job.part(0).files.recording, path("stereo.wav"));
    QCOMPARE(job.part(1).files.recording, path("mono.wav"));
    QCOMPARE(job.part(0).frames, 1000);
    QCOMPARE(job.part(1).frames, 77);
    QCOMPARE(person.opened, (QList<Opened>{{1, PartFile::Recording}, {2, PartFile::Recording}}));
    for (int k = 0; k < 2; ++k) {
        QCOMPARE(job.part(k).recordingFormat, QStringLiteral("RIFF"));
        QVERIFY(!job.part(k).recordingDecoded);
    }
    // No Glue: the word table is not brought forward.
    QCOMPARE(person.gluedNotices, 0);

    // A FLAC recording of 3725 s at 8 kHz, made by ffmpeg: its coding and
    // length in place of "RIFF".
    if (hasProgram("ffmpeg")) {
        writeSilentWav(path("long.wav"), 8000, 1, 16, 3725 * 8000);
        QCOMPARE(runProgram("ffmpeg", {"-nostdin", "-v", "error", "-y", "-i", path("long.wav"), "-c:a", "flac",
                                       path("long.flac")}),
                 QString());
        job.openRecording(2, path("long.flac"));
        QCOMPARE(person.opened.last(), Opened(2, PartFile::Recording));
        QCOMPARE(job.part(1).files.recording, path("long.flac"));
        QCOMPARE(job.part(1).frames, 3725 * 8000);
        QCOMPARE(job.part(1).rate, 8000u);
        QCOMPARE(job.part(1).recordingFormat, QStringLiteral("FLAC"));
        QVERIFY(job.part(1).recordingDecoded);
    }
    QVERIFY(person.logged.isEmpty());
}

void TstJobGlue::openWavErrorsKeepCountAndLabel()
{
    writeSilentWav(path("good.wav"), 16000, 1, 16, 50);
    writeBytes(path("bad.wav"), QByteArray("RIFF\x04\0\0\0WAVX", 12) + QByteArray(40, '\0'));
    FakePerson person;
    GlueJob job(person);
    job.openRecording(1, path("good.wav"));
    QCOMPARE(withoutFfmpegReason(errorMessage([&] { job.openRecording(1, path("bad.wav")); })),
             refusedRecording(path("bad.wav"), "Wrong idWAVE"));
    QCOMPARE(job.part(0).files.recording, path("bad.wav"));
    QCOMPARE(job.part(0).frames, 50);
    QCOMPARE(job.part(0).recordingFormat, QStringLiteral("RIFF"));
    // Only the good recording was told of: the label still names it.
    QCOMPARE(person.opened, (QList<Opened>{{1, PartFile::Recording}}));
    QCOMPARE(errorMessage([&] { job.openRecording(1, path("gone.wav")); }),
             "Cannot open file \"" + path("gone.wav") + "\". No such file or directory");
    QCOMPARE(job.part(0).files.recording, path("gone.wav"));
    QCOMPARE(job.part(0).frames, 50);
    QCOMPARE(person.opened, (QList<Opened>{{1, PartFile::Recording}}));
}

void TstJobGlue::theChannelsSettingReachesTheJoin_data()
{
    QTest::addColumn<ChannelChoice>("channels");
    QTest::addColumn<int>("expectedLeft"); // the share of the left channel in the result, in %
    QTest::newRow("left") << ChannelChoice::Left << 100;
    QTest::newRow("right") << ChannelChoice::Right << 0;
    QTest::newRow("mix") << ChannelChoice::Mix << 50;
}

void TstJobGlue::theChannelsSettingReachesTheJoin()
{
    QFETCH(ChannelChoice, channels);
    QFETCH(int, expectedLeft);
    // A recorder's stereo file at 16 kHz: one speaker on the left, the right
    // channel silent.
    std::vector<qint16> interleaved;
    for (int i = 0; i < 800; ++i)
        interleaved.insert(interleaved.end(), {qint16(i * 20), qint16(0)});
    writeBytes(path("speakers.wav"), riff(chunk("fmt ", fmtBody(1, 2, 16000, 16)) + chunk("data", pcm16(interleaved))));
    FakePerson person;
    GlueJob job(person);
    job.settings.channels = channels;
    glueRecordings(job, path("speakers.wav"), path("speakers.wav"), path("speakers-joined.wav"));
    const std::vector<qint16> joined = samplesAfter44(path("speakers-joined.wav"));
    QCOMPARE(joined.size(), 1600u);
    for (int i = 0; i < 1600; ++i)
        QCOMPARE(joined[size_t(i)], qint16(i % 800 * 20 * expectedLeft / 100));
}

void TstJobGlue::aRecordingCutShortIsGluedWithAWarning()
{
    if (!hasProgram("ffmpeg"))
        QSKIP("ffmpeg is not installed (scripts/install-deps.sh)");
    // A phone's recording whose battery died: an MP3 cut inside a frame.
    QCOMPARE(runProgram("ffmpeg", {"-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i", "sine=f=500:d=3",
                                   "-c:a", "libmp3lame", "-b:a", "128k", path("phone.mp3")}),
             QString());
    const QByteArray whole = readBytes(path("phone.mp3"));
    writeBytes(path("phone.mp3"), whole.left(whole.size() / 2 + 5));
    writeSilentWav(path("rest.wav"), 16000, 1, 16, 160);
    FakePerson person;
    GlueJob job(person);
    glueRecordings(job, path("phone.mp3"), path("rest.wav"), path("phone-joined.wav"));
    const QStringList warnings = person.logged.filter(QRegularExpression("^Warning: "));
    QCOMPARE(warnings, QStringList{"Warning: \"" + path("phone.mp3") + "\": the recording is cut short or damaged; the "
                                   + QString::number(job.part(0).frames)
                                   + " frames that could be decoded are joined."});
    QVERIFY(job.part(0).frames > 44100 && job.part(0).frames < 2 * 44100);
    QCOMPARE(job.joinedFrames(), framesAt16k(job.part(0).frames, 44100) + 160);
    QCOMPARE(qint64(samplesAfter44(path("phone-joined.wav")).size()), job.joinedFrames());
}

void TstJobGlue::unfinishedAndCutWavsAreNamedAfterTheJoin()
{
    // Part 1's recorder never wrote its sizes (0.5 s follow its header);
    // part 2's file claims 6 s and holds 0.25 s.
    const QByteArray fmt16 = chunk("fmt ", fmtBody(1, 1, 16000, 16));
    writeBytes(path("never.wav"), riff(fmt16 + "data" + le32(0) + QByteArray(16000, '\x01')));
    writeBytes(path("cut.wav"), riff(fmt16 + "data" + le32(192000) + QByteArray(8000, '\x02')));
    FakePerson person;
    GlueJob job(person);
    glueRecordings(job, path("never.wav"), path("cut.wav"), path("both.wav"));
    const qsizetype written = person.logged.indexOf(QRegularExpression("W: .*"));
    QVERIFY(written > 0);
    QCOMPARE(person.logged.mid(written + 1, 3),
             (QStringList{"Warning: \"" + path("never.wav")
                              + "\": the recording's header was never finished; its length is taken from the "
                                "file's size (8000 frames).",
                          "Warning: \"" + path("cut.wav")
                              + "\": the recording is cut short or damaged; the 4000 frames that could be decoded "
                                "are joined.",
                          "Samples to add is 8000"}));
    QCOMPARE(job.partStartsMs()[1], 500);
    QCOMPARE(job.joinedFrames(), 12000);
}

QTEST_GUILESS_MAIN(TstJobGlue)
#include "tst_jobglue.moc"
