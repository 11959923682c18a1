// A long step the person cancels: the job ends the command with every file,
// row, text, output name, notice and log line as they were.

#include "support/fakeperson.h"
#include "support/files.h"
#include "support/wavbuilder.h"

#include "base/cancelled.h"
#include "job/gluejob.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

// What the person sees of a job and was told of it, and the files of its folder.
QStringList stateOf(const GlueJob &job, const FakePerson &person, const QString &folder)
{
    QStringList s;
    const GlueOutputs &out = job.outputs();
    s << out.recording << out.text << out.wordFile << out.srt << out.transcript << out.page << out.partMap;
    s << QString::number(person.opened.size()) << QString::number(person.outputsWrittenNotices)
      << QString::number(person.gluedNotices);
    for (int k = 0; k < textViewCount; ++k)
        s << job.text(static_cast<TextView>(k)).join(u'|');
    for (WordTable table : {WordTable::Main, WordTable::PartTwo})
        s << QString::number(job.wordRows(table).size());
    s << QString::number(job.phraseRows().size()) << QString::number(job.isGlued())
      << QString::number(job.hasUnsavedWork()) << QString::number(job.joinedFrames())
      << QString::number(job.part(0).frames) << QString::number(job.part(1).frames) << job.part(0).files.recording
      << job.part(1).files.recording;
    s << QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    return s;
}

} // namespace

class TstJobCancel : public QObject
{
    Q_OBJECT

    QTemporaryDir tmp;

private slots:
    void cancelledGlueChangesNothing_data()
    {
        QTest::addColumn<bool>("gluedBefore");
        QTest::addColumn<int>("cancelAt");
        QTest::newRow("first block") << false << 1;
        QTest::newRow("last word before the target is replaced") << false << -1;
        QTest::newRow("over a glued result") << true << 2;
    }

    void cancelledGlueChangesNothing()
    {
        QFETCH(bool, gluedBefore);
        QFETCH(int, cancelAt);
        const QString folder = tmp.path() + u'/' + QTest::currentDataTag();
        QVERIFY(QDir().mkpath(folder));
        const QString wav1 = folder + "/a_1.wav", wav2 = folder + "/a_2.wav";
        writeSilentWav(wav1, 44100, 2, 16, 44100 * 3);
        writeSilentWav(wav2, 16000, 1, 16, 16000 * 2);
        const QString target = folder + "/joined.wav";
        writeBytes(target, "an earlier file");

        FakePerson person;
        GlueJob job(person);
        job.openRecording(1, wav1);
        job.openRecording(2, wav2);
        if (gluedBefore) {
            job.glue(folder + "/first.wav");
            QVERIFY(job.isGlued());
        }
        // The number of reports a whole join gives, to cancel at its last.
        {
            FakePerson counter;
            GlueJob counting(counter);
            counting.openRecording(1, wav1);
            counting.openRecording(2, wav2);
            counter.reports.clear();
            counting.glue(folder + "/counting.wav");
            if (cancelAt < 0)
                cancelAt = static_cast<int>(counter.reports.size());
            QVERIFY(QFile::remove(folder + "/counting.wav"));
            QVERIFY(counter.reports.size() > 2);
            // The last report comes once every frame is written.
            QCOMPARE(counter.reports.last().first, counter.reports.last().second);
        }
        person.reports.clear();

        const QStringList before = stateOf(job, person, folder);
        const QStringList logBefore = person.logged;
        person.cancelAtReport = cancelAt;
        QVERIFY_THROWS_EXCEPTION(Cancelled, job.glue(target));
        QCOMPARE(person.longSteps.last(), QStringLiteral("Joining the recordings"));
        QCOMPARE(stateOf(job, person, folder), before);
        QCOMPARE(person.logged, logBefore);
        QCOMPARE(readBytes(target), QByteArray("an earlier file"));
    }

    // Save writes its files whole before any replaces its target: a cancel
    // at any report, the last one too, leaves the earlier files as they were
    // and no temporary file behind.
    void cancelledSaveChangesNothing_data()
    {
        QTest::addColumn<int>("cancelAt");
        QTest::newRow("before the first file") << 1;
        QTest::newRow("after the word file") << 3;
        QTest::newRow("once all are written") << 6;
    }

    void cancelledSaveChangesNothing()
    {
        QFETCH(int, cancelAt);
        const QString folder = tmp.path() + "/save-" + QString::number(cancelAt);
        QVERIFY(QDir().mkpath(folder));
        const QString wav1 = folder + "/a_1.wav", wav2 = folder + "/a_2.wav";
        writeSilentWav(wav1, 16000, 1, 16, 16000);
        writeSilentWav(wav2, 16000, 1, 16, 16000);
        FakePerson person;
        GlueJob job(person);
        job.openRecording(1, wav1);
        job.openRecording(2, wav2);
        job.glue(folder + "/joined.wav");
        for (const char *name : {"joined.srt", "joined.spk", "joined.txt", "joined.html", "joined_word.txt"})
            writeBytes(folder + u'/' + QLatin1String(name), "an earlier file");

        const QStringList before = stateOf(job, person, folder);
        const QStringList logBefore = person.logged;
        person.reports.clear();
        person.cancelAtReport = cancelAt;
        QVERIFY_THROWS_EXCEPTION(Cancelled, job.save(folder + "/joined.srt"));
        QCOMPARE(person.longSteps.last(), QStringLiteral("Saving the results"));
        QCOMPARE(stateOf(job, person, folder), before);
        QCOMPARE(person.logged, logBefore);
        QVERIFY(job.hasUnsavedWork());

        // Not cancelled, the same Save writes every file.
        person.cancelAtReport = 0;
        job.save(folder + "/joined.srt");
        QCOMPARE(person.reports.last(), qMakePair(qint64(5), qint64(5)));
        for (const char *name : {"joined.srt", "joined.spk", "joined.txt", "joined.html", "joined_word.txt"})
            QVERIFY(readBytes(folder + u'/' + QLatin1String(name)) != "an earlier file");
    }

    void cancelledOpenOfAFileChangesNothing_data()
    {
        QTest::addColumn<bool>("words"); // a word file, else a text
        QTest::addColumn<QString>("name"); // what the second Open names
        QTest::addColumn<QString>("step");
        QTest::newRow("a text") << false << "b_1.txt" << "Reading the text";
        QTest::newRow("a word file") << true << "b_1.spk" << "Reading the word file";
        QTest::newRow("the held word file read again") << true << "gone.spk" << "Reading the word file";
    }

    void cancelledOpenOfAFileChangesNothing()
    {
        QFETCH(bool, words);
        QFETCH(QString, name);
        QFETCH(QString, step);
        const QString folder = tmp.path() + "/open-" + name;
        QVERIFY(QDir().mkpath(folder));
        writeBytes(folder + "/a_1.txt", "first\r\n");
        writeBytes(folder + "/b_1.txt", "second\r\n");
        writeBytes(folder + "/a_1.spk", "a\t1\t0.10\t0.20\tfirst\t0.9\tS\n");
        writeBytes(folder + "/b_1.spk", "b\t1\t0.30\t0.40\tsecond\t0.9\tS\nb\t1\t0.5\t0.6\tmore\t0.9\tS\n");
        const auto open = words ? &GlueJob::openWordFile : &GlueJob::openText;
        const QString first = folder + (words ? "/a_1.spk" : "/a_1.txt");
        FakePerson person;
        GlueJob job(person);
        (job.*open)(1, first);
        const QStringList before = stateOf(job, person, folder);
        const QByteArray held = job.part(0).heldWordFile;
        person.cancelAtReport = 1;
        person.reports.clear();
        QVERIFY_THROWS_EXCEPTION(Cancelled, (job.*open)(1, folder + u'/' + name));
        QCOMPARE(person.longSteps.last(), step);
        QCOMPARE(stateOf(job, person, folder), before);
        QCOMPARE(words ? job.part(0).files.wordFile : job.part(0).files.text, first);
        QCOMPARE(job.part(0).heldWordFile, held);
        if (words)
            QCOMPARE(job.wordRows(WordTable::Main).front().text, QStringLiteral("first"));
    }

    void cancelledOpenOfARecordingChangesNothing()
    {
        const QString folder = tmp.path() + "/open";
        QVERIFY(QDir().mkpath(folder));
        const QString wav1 = folder + "/a_1.wav", other = folder + "/b_1.wav";
        writeSilentWav(wav1, 16000, 1, 16, 16000);
        writeSilentWav(other, 16000, 1, 16, 32000);
        FakePerson person;
        GlueJob job(person);
        job.openRecording(1, wav1);
        const QStringList before = stateOf(job, person, folder);
        person.cancelAtReport = 1;
        person.reports.clear();
        QVERIFY_THROWS_EXCEPTION(Cancelled, job.openRecording(1, other));
        QCOMPARE(stateOf(job, person, folder), before);
        QCOMPARE(job.part(0).files.recording, wav1);
    }
};

QTEST_GUILESS_MAIN(TstJobCancel)
#include "tst_jobcancel.moc"
