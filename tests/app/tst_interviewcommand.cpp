// naadwerk-cli glue --interview: an interview file with its corrections
// glued and saved from the command line; a moved input stops it, named.
#include "support/cli.h"
#include "support/fakeperson.h"
#include "support/files.h"
#include "support/jobsteps.h"

#include "job/gluejob.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// The example interview in folder, a word corrected, saved as
// folder/corrected.naadwerk; glued into folder/joined.wav first when asked.
void writeCorrectedInterview(const QString &folder, bool glued)
{
    PartFiles parts[2];
    for (int k = 0; k < 2; ++k) {
        const QString base = folder + u"/interview_%1"_s.arg(k + 1);
        parts[k] = {base + u".spk"_s, base + u".txt"_s, base + u".wav"_s};
        for (const QString &path : {parts[k].wordFile, parts[k].text, parts[k].recording})
            QFile::copy(QStringLiteral(NAADWERK_SOURCE_DIR "/examples/") + QFileInfo(path).fileName(), path);
    }
    FakePerson person;
    GlueJob job(person);
    openBothParts(job, parts[0], parts[1]);
    job.setWordCell(WordTable::Main, 1, WordRow::Text, u"Hello"_s);
    if (glued)
        job.glue(folder + u"/joined.wav"_s);
    job.saveInterview(folder + u"/corrected.naadwerk"_s);
}

} // namespace

class TstInterviewCommand : public QObject
{
    Q_OBJECT

private slots:
    void anInterviewFileIsGluedWithItsCorrections()
    {
        QTemporaryDir dir;
        writeCorrectedInterview(dir.path(), false);
        const CliOutcome o =
            runGlue(dir.path(), {u"--interview"_s, u"corrected.naadwerk"_s, u"--joined"_s, u"again.wav"_s});
        QCOMPARE(o.err, QString());
        QCOMPARE(o.code, 0);
        QVERIFY(readBytes(dir.filePath(u"again.spk"_s)).contains("\tHello\t"));
        QVERIFY(QFile::exists(dir.filePath(u"again.srt"_s)));
        // The interview file is an input: it is left as it was.
        QVERIFY(!readBytes(dir.filePath(u"corrected.naadwerk"_s)).contains("again"));
    }

    // Without --joined the result of the last Glue is saved, when its
    // recording is still there; --no-save stops before Save.
    void theLastGluesResultIsSavedWithoutAJoin()
    {
        QTemporaryDir dir;
        writeCorrectedInterview(dir.path(), true);
        const CliOutcome none = runGlue(dir.path(), {u"--interview"_s, u"corrected.naadwerk"_s, u"--no-save"_s});
        QCOMPARE(none.code, 0);
        QVERIFY(!QFile::exists(dir.filePath(u"joined.srt"_s)));
        const CliOutcome o = runGlue(dir.path(), {u"--interview"_s, u"corrected.naadwerk"_s, u"--srt"_s, u"day2.srt"_s});
        QCOMPARE(o.err, QString());
        QCOMPARE(o.code, 0);
        QVERIFY(o.out.contains(u"The result of the last Glue is shown again: "_s));
        QVERIFY(QFile::exists(dir.filePath(u"day2.srt"_s)));
        QVERIFY(readBytes(dir.filePath(u"joined.spk"_s)).contains("\tHello\t"));
    }

    void aMissingOrChangedInputEndsItNamed_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("moved");
        QTest::addColumn<QString>("message");
        QTest::newRow("a recording moved") << u"interview_2.wav"_s << true
                                           << u"The recording of part 2, \"%1/interview_2.wav\", is no longer there."_s;
        QTest::newRow("a word file changed")
            << u"interview_1.spk"_s << false
            << u"The word file of part 1, \"%1/interview_1.spk\", has changed since the interview was saved."_s;
    }
    void aMissingOrChangedInputEndsItNamed()
    {
        QFETCH(QString, input);
        QFETCH(bool, moved);
        QFETCH(QString, message);
        QTemporaryDir dir;
        writeCorrectedInterview(dir.path(), false);
        if (moved)
            QVERIFY(QFile::rename(dir.filePath(input), dir.filePath(u"elsewhere"_s)));
        else
            writeBytes(dir.filePath(input), "interview_1\t1\t0.000\t0.400\tSIL\t1.00\tX\n");
        const CliOutcome o = runGlue(dir.path(), {u"--interview"_s, u"corrected.naadwerk"_s, u"--joined"_s, u"j.wav"_s});
        QCOMPARE(o.code, 1);
        QCOMPARE(o.err.trimmed(), message.arg(QDir(dir.path()).canonicalPath()));
        QVERIFY(!QFile::exists(dir.filePath(u"j.wav"_s)));
    }

    void whatIsNoInterviewIsRefused()
    {
        QTemporaryDir dir;
        writeBytes(dir.filePath(u"words.naadwerk"_s), "interview_1\t1\t0.000\t0.400\tSIL\t1.00\tX\n");
        const CliOutcome o = runGlue(dir.path(), {u"--interview"_s, u"words.naadwerk"_s});
        QCOMPARE(o.code, 1);
        QCOMPARE(o.err.trimmed(), u"\"words.naadwerk\" is not a Naadwerk interview file."_s);
        const CliOutcome both = runGlue(dir.path(), {u"--interview"_s, u"words.naadwerk"_s, u"--ctm1"_s, u"a.ctm"_s});
        QCOMPARE(both.code, 2);
        QVERIFY(both.err.contains(u"--interview does not go with"_s));
    }
};

QTEST_GUILESS_MAIN(TstInterviewCommand)
#include "tst_interviewcommand.moc"
