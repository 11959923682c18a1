// A batch below the command line: its interviews from a manifest or a
// folder, the share of a task, one interview glued with its record, the
// report and its merge, and a run that goes on past a failure.
#include "base/textfile.h"
#include "job/batchinterview.h"
#include "job/batchrecord.h"
#include "job/batchreport.h"
#include "job/batchrun.h"
#include "support/archive.h"
#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

QStringList namesOf(const std::vector<BatchInterview> &interviews)
{
    QStringList names;
    for (const BatchInterview &interview : interviews)
        names << interview.name;
    return names;
}

BatchRow row(const QString &name, int place, BatchRow::Status status, const QString &message = {})
{
    BatchRow r;
    r.interview = name;
    r.place = place;
    r.status = status;
    r.parts = 2;
    r.words = 1234;
    r.audioMs = 3723004;
    r.seconds = 1.5;
    r.warnings = 1;
    r.message = message;
    return r;
}

} // namespace

class TestBatch : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;
    QString path(const QString &name) const { return folder.filePath(name); }

private slots:
    void aFolderHoldsAnInterviewPerSubfolder()
    {
        const QString root = path("tapes");
        for (const char *file : {"b/Smith 2.wav", "b/Smith 1.wav", "b/smith_1.ctm", "b/smith_2.ctm", "b/notes.pdf",
                                 "a/x.wav", ".trash/y.wav"}) {
            QDir().mkpath(QFileInfo(root + "/" + file).path());
            writeBytes(root + "/" + file, "x");
        }
        const std::vector<BatchInterview> interviews = readBatchInterviews(root);
        QCOMPARE(namesOf(interviews), (QStringList{"a", "b"}));
        const BatchInterview &b = interviews[1];
        QCOMPARE(b.place, 1);
        QCOMPARE(b.where, "\"" + root + "/b\"");
        QVERIFY(b.partList.isEmpty());
        QCOMPARE(b.parts.size(), size_t(2));
        QCOMPARE(b.parts[1], (PartFiles{root + "/b/smith_2.ctm", "", root + "/b/Smith 2.wav"}));
        // Every file of the folder is an input, the one no part takes too.
        QCOMPARE(inputFiles(b).size(), 5);
        QCOMPARE(errorMessage([&] { readBatchInterviews(path("tapes/a")); }),
                 "\"" + path("tapes/a") + "\" holds no folder of an interview.");
    }

    void aTaskTakesThePlacesOfItsIndex_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("one task, all") << 0 << 1 << QStringList{"i0", "i1", "i2", "i3", "i4"};
        QTest::newRow("first of two") << 0 << 2 << QStringList{"i0", "i2", "i4"};
        QTest::newRow("second of two") << 1 << 2 << QStringList{"i1", "i3"};
        // Array ids from 1: task 3 of 3 takes the places of 0.
        QTest::newRow("an id as high as the count") << 3 << 3 << QStringList{"i0", "i3"};
        QTest::newRow("more tasks than interviews") << 6 << 7 << QStringList{};
    }

    void aTaskTakesThePlacesOfItsIndex()
    {
        QFETCH(int, index);
        QFETCH(int, count);
        QFETCH(QStringList, names);
        std::vector<BatchInterview> all(5);
        for (int i = 0; i < 5; ++i) {
            all[static_cast<size_t>(i)].name = QString("i%1").arg(i);
            all[static_cast<size_t>(i)].place = i;
        }
        QCOMPARE(namesOf(shareOfTask(all, index, count)), names);
    }

    // A glued interview is up to date until an input, a setting or an
    // output changes; a failed glue leaves no record, not even an old one.
    void theRecordSaysWhenAnInterviewIsUpToDate()
    {
        const QString archive = path("archive");
        writeArchive(archive, {"smith", "jones"});
        const std::vector<BatchInterview> interviews = readBatchInterviews(archive + "/manifest.tsv");
        const BatchInterview &smith = interviews[0];
        const QString out = path("out"), smithOut = out + "/smith";
        GlueSettings settings;

        const BatchRow glued = glueInterview(smith, settings, out);
        QCOMPARE(glued.message, QString());
        QCOMPARE(glued.status, BatchRow::Status::Ok);
        QCOMPARE(glued.parts, 2);
        QCOMPARE(glued.words, 3);
        QCOMPARE(glued.audioMs, 750);
        for (const char *file : {"smith.wav", "smith.srt", "smith.spk", "smith.txt", "smith_word.txt", "smith.html",
                                 "smith.parts.tsv", "smith.log", "batch-record.tsv"})
            QVERIFY2(QFileInfo::exists(smithOut + "/" + file), file);
        BatchRow recorded = glued;
        recorded.seconds = 0;
        QCOMPARE(BatchRecord(smith, settings).upToDateRow(smithOut), std::optional<BatchRow>(recorded));

        struct Change
        {
            const char *what;
            std::function<void()> make, undo;
        };
        const QByteArray list = readBytes(archive + "/smith/parts.tsv");
        const QByteArray srt = readBytes(smithOut + "/smith.srt");
        GlueSettings other;
        other.msBefore += 100;
        bool otherSettings = false;
        const Change changes[] = {
            {"an input's size", [&] { writeBytes(archive + "/smith/parts.tsv", list + "\n"); },
             [&] { writeBytes(archive + "/smith/parts.tsv", list); }},
            {"an input's time",
             [&] {
                 QFile f(archive + "/smith/tape_2.wav");
                 QVERIFY(f.open(QIODevice::ReadWrite));
                 QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
             },
             [] {}},
            {"a setting", [&] { otherSettings = true; }, [&] { otherSettings = false; }},
            {"an output's size", [&] { writeBytes(smithOut + "/smith.srt", srt + "x"); },
             [&] { writeBytes(smithOut + "/smith.srt", srt); }},
            {"an output gone", [&] { QFile::remove(smithOut + "/smith.html"); }, [] {}},
        };
        for (const Change &change : changes) {
            change.make();
            QVERIFY2(!BatchRecord(smith, otherSettings ? other : settings).upToDateRow(smithOut), change.what);
            change.undo();
            // Glued again, it is up to date again.
            QCOMPARE(glueInterview(smith, settings, out).status, BatchRow::Status::Ok);
            QVERIFY2(BatchRecord(smith, settings).upToDateRow(smithOut), change.what);
        }

        // The glue fails as glue fails: the old record goes, none comes.
        writeBytes(archive + "/smith/parts.tsv", "tape_1.spk\ttape_1.txt\tgone.wav\ntape_2.spk\ttape_2.txt\ttape_2.wav\n");
        writeBytes(smithOut + "/smith.wav.naadwerk-99-0.tmp", "half");
        const BatchRow failed = glueInterview(smith, settings, out);
        QCOMPARE(failed.status, BatchRow::Status::Failed);
        QVERIFY2(failed.message.startsWith("Cannot open file \"" + archive + "/smith/gone.wav\""), qPrintable(failed.message));
        QVERIFY(!QFileInfo::exists(BatchRecord::path(smithOut)));
        QVERIFY(!QFileInfo::exists(smithOut + "/smith.wav.naadwerk-99-0.tmp"));
        QVERIFY(readTextFile(smithOut + "/smith.log").size() > 0);
    }

    void reportsAreReadBackAndMerged()
    {
        const QString out = path("reports");
        QDir().mkpath(out);
        const std::vector<BatchRow> task0 = {row("a", 0, BatchRow::Status::Ok), row("c", 2, BatchRow::Status::Skipped)};
        const std::vector<BatchRow> task1 = {row("b\tx", 1, BatchRow::Status::Failed, "line one\nline two")};
        writeReport(taskReportPath(out, 1, 2), task1);
        QCOMPARE(errorMessage([&] { mergeReports(out); }),
                 "The report of task 0 of 2 is missing in \"" + out + "\".");
        writeReport(taskReportPath(out, 0, 2), task0);
        QCOMPARE(readTextFile(taskReportPath(out, 1, 2)),
                 (QStringList{"interview\tplace\tstatus\tparts\twords\taudio\tseconds\twarnings\tmessage",
                              "b x\t2\tfailed\t2\t1234\t1:02:03.004\t1.5\t1\tline one line two"}));

        const std::vector<BatchRow> merged = mergeReports(out);
        QCOMPARE(merged.size(), size_t(3));
        QCOMPARE(merged[0], task0[0]);
        QCOMPARE(merged[1].interview, "b x");
        QCOMPARE(merged[1].message, "line one line two");
        QCOMPARE(merged[2], task0[1]);
        QCOMPARE(readReport(reportPath(out)), merged);
        QVERIFY(!allSucceeded(merged));

        writeReport(taskReportPath(out, 0, 3), task0);
        QCOMPARE(errorMessage([&] { mergeReports(out); }),
                 "\"" + out + "\" holds reports of 2 tasks and of 3 tasks.");
        writeBytes(out + "/not.tsv", "interview\tplace\n");
        QCOMPARE(errorMessage([&] { readReport(out + "/not.tsv"); }),
                 "\"" + out + "/not.tsv\", line 1: not the heading of a batch report");
    }

    // Rows come back in the batch's order whatever order the workers end
    // in; a failure stops nothing; resume skips what its record covers.
    void aRunGoesOnPastAFailureAndResumes()
    {
        const QString archive = path("run");
        const QStringList names{"n0", "n1", "n2", "n3", "n4"};
        writeArchive(archive, names);
        const std::vector<BatchInterview> interviews = readBatchInterviews(archive + "/manifest.tsv");
        BatchOptions options;
        options.outFolder = archive + "/out";
        options.reportPath = reportPath(options.outFolder);
        options.jobs = 3;
        // Heard on the workers' threads: checked here afterwards.
        std::vector<int> dones;
        std::vector<size_t> reportRows;
        const auto rowDone = [&](const BatchInterview &, const BatchRow &, const BatchTally &tally) {
            dones.push_back(tally.done);
            reportRows.push_back(readReport(options.reportPath).size());
        };
        const auto glueOne = [&](const BatchInterview &interview) {
            if (interview.name == "n1")
                return row(interview.name, interview.place, BatchRow::Status::Failed, "it broke");
            return glueInterview(interview, options.settings, options.outFolder);
        };
        std::vector<BatchRow> rows = runBatch(interviews, options, glueOne, rowDone);
        QCOMPARE(rows.size(), size_t(5));
        for (size_t i = 0; i < rows.size(); ++i) {
            QCOMPARE(rows[i].interview, names[static_cast<qsizetype>(i)]);
            QCOMPARE(rows[i].status, i == 1 ? BatchRow::Status::Failed : BatchRow::Status::Ok);
        }
        QCOMPARE(readReport(options.reportPath), rows);
        QCOMPARE(dones, (std::vector<int>{1, 2, 3, 4, 5}));
        QCOMPARE(reportRows, (std::vector<size_t>{1, 2, 3, 4, 5}));

        // Resumed: the four glued are skipped with their rows, n1 runs again.
        options.resume = true;
        QStringList glued;
        rows = runBatch(interviews, options,
                        [&](const BatchInterview &interview) {
                            glued << interview.name;
                            return glueInterview(interview, options.settings, options.outFolder);
                        },
                        rowDone);
        QCOMPARE(glued, QStringList{"n1"});
        QCOMPARE(rows[0].status, BatchRow::Status::Skipped);
        QCOMPARE(rows[0].words, 3);
        QCOMPARE(rows[1].status, BatchRow::Status::Ok);
        QVERIFY(allSucceeded(rows));
    }

    void progressSaysWhatIsLeft_data()
    {
        QTest::addColumn<int>("done");
        QTest::addColumn<int>("skipped");
        QTest::addColumn<double>("elapsed");
        QTest::addColumn<QString>("text");
        QTest::newRow("nothing glued yet") << 0 << 0 << 5.0 << "0/40 done, 1 failed";
        QTest::newRow("skipped ones take no time") << 12 << 10 << 240.0 << "12/40 done, 1 failed, about 56 min left";
        QTest::newRow("hours") << 4 << 0 << 600.0 << "4/40 done, 1 failed, about 1 h 30 min left";
        QTest::newRow("seconds") << 39 << 0 << 390.0 << "39/40 done, 1 failed, less than a minute left";
        QTest::newRow("all done") << 40 << 0 << 400.0 << "40/40 done, 1 failed";
    }

    void progressSaysWhatIsLeft()
    {
        QFETCH(int, done);
        QFETCH(int, skipped);
        QFETCH(double, elapsed);
        QFETCH(QString, text);
        QCOMPARE(progressText({done, 40, 1, skipped, elapsed}), text);
    }
};

QTEST_GUILESS_MAIN(TestBatch)
#include "tst_batch.moc"
