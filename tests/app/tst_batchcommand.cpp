// naadwerk-cli batch as a program: what it writes next to what glue writes,
// its report and exit codes, bad input, the shares of an array job and their
// merge, and a batch killed and resumed.
#include "base/textfile.h"
#include "support/archive.h"
#include "support/cli.h"
#include "support/files.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Every file below folder (but the reports), by its path relative to it, with its bytes.
QMap<QString, QByteArray> filesBelow(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!it.fileName().startsWith("batch-report"))
            files[QDir(folder).relativeFilePath(path)] = readBytes(path);
    }
    return files;
}

// The report's rows without the seconds taken, which differ from run to run.
QStringList reportWithoutSeconds(const QString &path)
{
    QStringList rows = readTextFile(path);
    for (QString &row : rows) {
        QStringList fields = row.split('\t');
        fields.removeAt(6);
        row = fields.join('\t');
    }
    return rows;
}

} // namespace

class TestBatchCommand : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;
    QString path(const QString &name) const { return folder.filePath(name); }

private slots:
    void initTestCase() { QVERIFY(QFileInfo(cliProgram()).isExecutable()); }

    // Each interview's files are those glue --parts writes, log and all; a
    // bad one fails with glue's message and stops none of the others; a
    // folder of interviews writes what its manifest writes.
    void everyInterviewIsWrittenAsGlueWritesIt()
    {
        const QString archive = path("archive");
        writeArchive(archive, {"smith", "jones", "lee"});
        writeBytes(archive + "/jones/parts.tsv", "tape_1.spk\ttape_1.txt\ttape_1.wav\ntape_2.spk\ttape_2.txt\tgone.wav\n");
        QDir().mkpath(path("batch"));
        const CliOutcome batch = runCli(path("batch"), {"batch", "-j", "2", "--before", "300", "--out", "out",
                                                         archive + "/manifest.tsv"});
        QCOMPARE(batch.code, 1);
        const QString manifest = archive + "/manifest.tsv";

        const QString glue = path("glue");
        QDir().mkpath(glue);
        for (const QString name : {"smith", "jones", "lee"}) {
            QDir().mkpath(glue + "/out/" + name);
            const CliOutcome one = runGlue(glue, {"--before", "300", "--parts", archive + "/" + name + "/parts.tsv",
                                                  "--joined", "out/" + name + "/" + name + ".wav"});
            if (name == u"jones") {
                QCOMPARE(one.code, 1);
                QCOMPARE(batch.err, "\"" + manifest + "\", line 3: jones: " + one.err);
                continue;
            }
            QCOMPARE(one.code, 0);
            const QString written = path("batch/out/" + name + "/");
            QCOMPARE(readBytes(written + name + ".log"), one.out.toUtf8());
            for (const QString &file : QDir(glue + "/out/" + name).entryList(QDir::Files))
                QVERIFY2(readBytes(written + file) == readBytes(glue + "/out/" + name + "/" + file), qPrintable(file));
        }
        QCOMPARE(batch.out, "Interviews: 3, failed: 1; report: \"out/batch-report.tsv\".\n");
        const QStringList report = readTextFile(path("batch/out/batch-report.tsv"));
        QCOMPARE(report.size(), 4);
        QCOMPARE(report[0], "interview\tplace\tstatus\tparts\twords\taudio\tseconds\twarnings\tmessage");
        QVERIFY2(report[1].startsWith("smith\t1\tok\t2\t3\t0:00:00.750\t"), qPrintable(report[1]));
        QVERIFY2(report[2].startsWith("jones\t2\tfailed\t0\t0\t0:00:00.000\t"), qPrintable(report[2]));
        QVERIFY(report[2].endsWith("\t" + batch.err.section(": ", 2).trimmed()));
        QVERIFY(report[3].startsWith("lee\t3\tok\t"));

        // The folder of interviews: the same files, parts placed by their numbers.
        QFile::remove(archive + "/jones/tape_2.wav");
        const CliOutcome byFolder = runCli(path("batch"), {"batch", "--before", "300", "--out", "byfolder", archive});
        QCOMPARE(byFolder.code, 1);
        QVERIFY2(byFolder.err.startsWith("\"" + archive + "/jones\": jones: "), qPrintable(byFolder.err));
        for (const QString name : {"smith", "lee"})
            for (const QString &file : QDir(glue + "/out/" + name).entryList(QDir::Files))
                if (!file.endsWith(".log") && !file.endsWith(".parts.tsv"))
                    QVERIFY2(readBytes(path("batch/byfolder/" + name + "/" + file))
                                 == readBytes(glue + "/out/" + name + "/" + file),
                             qPrintable(file));
    }

    // A usage error (exit 2) names the file and line, or the option, and
    // writes nothing.
    void badInputWritesNothing_data()
    {
        QTest::addColumn<QByteArray>("manifest");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("error");
        const QByteArray good = "smith\tsmith/parts.tsv\n";
        QTest::newRow("no tab") << QByteArray("# tapes\nsmith smith/parts.tsv\n") << QStringList{}
                                << "\"m.tsv\", line 2: a row is an interview's name and its list of parts";
        QTest::newRow("a binary file") << QByteArray("\x7f" "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0", 20)
                                       << QStringList{} << "\"m.tsv\", line 1: a row is an interview's name";
        QTest::newRow("no interviews") << QByteArray("# none yet\n") << QStringList{} << "\"m.tsv\" lists no interviews.";
        QTest::newRow("no manifest") << QByteArray() << QStringList{} << "Cannot open file \"gone.tsv\"";
        QTest::newRow("-j 0") << good << QStringList{"-j", "0"} << "-j must be a whole number from 1.";
        QTest::newRow("--index alone") << good << QStringList{"--index", "1"} << "--index and --count go together";
        QTest::newRow("--count 0") << good << QStringList{"--index", "0", "--count", "0"}
                                   << "--index and --count go together";
        QTest::newRow("--slurm outside an array job")
            << good << QStringList{"--slurm"} << "--slurm needs SLURM_ARRAY_TASK_ID and SLURM_ARRAY_TASK_COUNT";
        QTest::newRow("a bad setting") << good << QStringList{"--before", "x"} << "--before must be a whole number";
    }

    void badInputWritesNothing()
    {
        QFETCH(QByteArray, manifest);
        QFETCH(QStringList, options);
        QFETCH(QString, error);
        const QString dir = path("bad");
        QDir().mkpath(dir);
        if (!manifest.isEmpty())
            writeBytes(dir + "/m.tsv", manifest);
        qunsetenv("SLURM_ARRAY_TASK_ID");
        const CliOutcome o = runCli(dir, QStringList{"batch", "--out", "out"} + options
                                             + QStringList{manifest.isEmpty() ? "gone.tsv" : "m.tsv"});
        QCOMPARE(o.code, 2);
        QVERIFY2(o.err.startsWith(error), qPrintable(o.err));
        QVERIFY(!QFileInfo::exists(dir + "/out"));
        QCOMPARE(o.out, QString());
    }

    // Three tasks (two by --index/--count, one as Slurm starts it) and their
    // merge give the report and files of one batch; a missing task is named.
    void tasksAndTheirMergeMakeTheWholeBatch()
    {
        const QString archive = path("shared");
        writeArchive(archive, {"a", "b", "c", "d", "e"});
        const QString manifest = archive + "/manifest.tsv";
        // The same --out in two folders: the logs name the joined recording by it.
        const QString whole = archive + "/w", tasks = archive + "/t";
        QDir().mkpath(whole);
        QDir().mkpath(tasks);
        QCOMPARE(runCli(whole, {"batch", "--out", "out", manifest}).code, 0);
        for (const char *index : {"0", "2"})
            QCOMPARE(runCli(tasks, {"batch", "--out", "out", "--index", index, "--count", "3", manifest}).code, 0);
        const CliOutcome missing = runCli(tasks, {"batch", "--merge-reports", "out"});
        QCOMPARE(missing.code, 1);
        QCOMPARE(missing.err, "The report of task 1 of 3 is missing in \"out\".\n");
        // Array ids from 1: id 4 of 3 tasks is the task of index 1.
        qputenv("SLURM_ARRAY_TASK_ID", "4");
        qputenv("SLURM_ARRAY_TASK_COUNT", "3");
        const CliOutcome slurm = runCli(tasks, {"batch", "--slurm", "--out", "out", manifest});
        qunsetenv("SLURM_ARRAY_TASK_ID");
        qunsetenv("SLURM_ARRAY_TASK_COUNT");
        QCOMPARE(slurm.code, 0);
        QCOMPARE(slurm.out, "Interviews: 2, failed: 0; report: \"out/batch-report-1-of-3.tsv\".\n");
        const CliOutcome merged = runCli(tasks, {"batch", "--merge-reports", "out"});
        QCOMPARE(merged.err, QString());
        QCOMPARE(merged.code, 0);
        QCOMPARE(reportWithoutSeconds(tasks + "/out/batch-report.tsv"),
                 reportWithoutSeconds(whole + "/out/batch-report.tsv"));
        QCOMPARE(filesBelow(tasks + "/out"), filesBelow(whole + "/out"));
    }

    // Killed once its first row is in the report, then resumed: the same
    // files as a run never stopped. A second resume glues nothing; a changed
    // input or setting glues again.
    void aKilledBatchResumesToTheSameFiles()
    {
        const QString archive = path("resume");
        QStringList names;
        for (int i = 0; i < 8; ++i)
            names << QString("tape%1").arg(i);
        writeArchive(archive, names);
        const QString manifest = archive + "/manifest.tsv";
        // The same --out in two folders: the logs name the joined recording by it.
        const QString whole = archive + "/w", cut = archive + "/c";
        QDir().mkpath(whole);
        QDir().mkpath(cut);
        const CliOutcome uncut = runCli(whole, {"batch", "-j", "2", "--out", "out", manifest});
        QCOMPARE(uncut.err, QString()); // no progress line off a terminal
        QCOMPARE(uncut.code, 0);

        QProcess killed;
        killed.setWorkingDirectory(cut);
        killed.start(cliProgram(), {"batch", "-j", "2", "--out", "out", manifest});
        QVERIFY(killed.waitForStarted());
        const QString report = cut + "/out/batch-report.tsv";
        const auto reportLines = [&] { return QFileInfo::exists(report) ? readTextFile(report).size() : 0; };
        // The heading and one row, or the batch's end, whichever comes first.
        while (reportLines() < 2 && !killed.waitForFinished(5)) {
        }
        killed.kill();
        QVERIFY(killed.waitForFinished());

        const CliOutcome resumed = runCli(cut, {"batch", "-j", "2", "--resume", "--out", "out", manifest});
        QCOMPARE(resumed.err, QString());
        QCOMPARE(resumed.code, 0);
        QCOMPARE(filesBelow(cut + "/out"), filesBelow(whole + "/out"));
        QVERIFY(readTextFile(report).filter("\tskipped\t").size() >= 1);

        const QDateTime before = QFileInfo(cut + "/out/tape3/tape3.srt").lastModified();
        QCOMPARE(runCli(cut, {"batch", "--resume", "--out", "out", manifest}).code, 0);
        QCOMPARE(readTextFile(report).filter("\tskipped\t").size(), 8);
        QCOMPARE(QFileInfo(cut + "/out/tape3/tape3.srt").lastModified(), before);

        writeBytes(archive + "/tape3/tape_1.txt", "[StartTime: 10 ms]\n[Speaker: SP_01 Anna]\nSo tape3 again.\n");
        QCOMPARE(runCli(cut, {"batch", "--resume", "--out", "out", manifest}).code, 0);
        QCOMPARE(readTextFile(report).filter("\tskipped\t").size(), 7);
        QVERIFY(readTextFile(report).filter("tape3\t4\tok\t").size() == 1);
        QCOMPARE(runCli(cut, {"batch", "--resume", "--after", "500", "--out", "out", manifest}).code, 0);
        QCOMPARE(readTextFile(report).filter("\tskipped\t").size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestBatchCommand)
#include "tst_batchcommand.moc"
