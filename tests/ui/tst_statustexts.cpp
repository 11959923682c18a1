// What the status lines say after an Open, a Glue and a Save, from the
// job's parts and outputs.

#include "support/fakeperson.h"
#include "support/files.h"
#include "support/wavbuilder.h"

#include "job/gluejob.h"
#include "ui/statustexts.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TstStatusTexts : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }

private slots:
    void anOpenedFileNamesItsLine_data()
    {
        QTest::addColumn<int>("part");
        QTest::addColumn<int>("file"); // PartFile
        QTest::addColumn<int>("line"); // StatusLine
        QTest::addColumn<QString>("text");
        QTest::newRow("word file 1") << 1 << int(PartFile::WordFile) << 0 << "CTM-file: %1/a.ctm";
        QTest::newRow("word file 2") << 2 << int(PartFile::WordFile) << 1 << "CTM-file: %1/a.ctm";
        QTest::newRow("text 1") << 1 << int(PartFile::Text) << 2 << "Text-file: %1/a.txt";
        QTest::newRow("text 2") << 2 << int(PartFile::Text) << 3 << "Text-file: %1/a.txt";
        QTest::newRow("recording 1") << 1 << int(PartFile::Recording) << 4 << "Wav-file: %1/a.wav - RIFF - 77";
        QTest::newRow("recording 2") << 2 << int(PartFile::Recording) << 5 << "Wav-file: %1/a.wav - RIFF - 77";
    }

    void anOpenedFileNamesItsLine()
    {
        QFETCH(int, part);
        QFETCH(int, file);
        QFETCH(int, line);
        QFETCH(QString, text);
        writeLines(path("a.ctm"), {"u\t1\t0.10\t0.40\tso\t0.9"});
        writeLines(path("a.txt"), {"So."});
        writeSilentWav(path("a.wav"), 16000, 1, 16, 77);
        FakePerson person;
        GlueJob job(person);
        const QString opened[] = {path("a.ctm"), path("a.txt"), path("a.wav")};
        const auto kind = PartFile(file);
        (job.*(kind == PartFile::WordFile ? &GlueJob::openWordFile
               : kind == PartFile::Text   ? &GlueJob::openText
                                          : &GlueJob::openRecording))(part, opened[file]);
        const auto shown = StatusTexts::opened(job, part, kind);
        QVERIFY(shown);
        QCOMPARE(int(shown->first), line);
        QCOMPARE(shown->second, text.arg(dir.path()));
    }

    // A recording FFmpeg decodes also says how long it is: its frames are at its own rate.
    void aDecodedRecordingSaysItsLength()
    {
        if (QStandardPaths::findExecutable(u"sox"_s).isEmpty())
            QSKIP("sox is not installed");
        QCOMPARE(QProcess::execute(u"sox"_s, {"-n", "-r", "1000", "-c", "1", path("long.flac"), "synth", "3725",
                                               "sine", "300"}),
                 0);
        FakePerson person;
        GlueJob job(person);
        job.openRecording(1, path("long.flac"));
        const auto shown = StatusTexts::opened(job, 1, PartFile::Recording);
        QVERIFY(shown);
        QCOMPARE(shown->second, "Wav-file: " + path("long.flac") + " - FLAC - 3725000 - 1:02:05");
    }

    void laterPartsHaveNoLine()
    {
        FakePerson person;
        GlueJob job(person);
        QVERIFY(!StatusTexts::opened(job, 3, PartFile::WordFile));
    }

    // Glue names only what it wrote; Save every file it wrote and leaves Glue's line.
    void writtenFilesNameTheirLines()
    {
        GlueOutputs glued;
        glued.recording = u"/o/j.wav"_s;
        glued.text = u"/o/j.txt"_s;
        const auto afterGlue = StatusTexts::written(glued);
        QCOMPARE(afterGlue[4], std::optional<QString>(u"Saved: /o/j.wav"_s));
        for (int i : {0, 1, 2, 3, 5})
            QCOMPARE(afterGlue[size_t(i)], std::optional<QString>(QString()));

        GlueOutputs saved = glued;
        saved.srt = u"/o/j.srt"_s;
        saved.page = u"/o/j.html"_s;
        saved.transcript = u"/o/j_word.txt"_s;
        saved.wordFile = u"/o/j.spk"_s;
        const auto afterSave = StatusTexts::written(saved);
        const std::array<std::optional<QString>, statusLineCount> expected{
            u"Saved: /o/j.srt"_s, u"Saved: /o/j.html"_s, u"Saved: /o/j_word.txt"_s, u"Saved: /o/j.spk"_s,
            std::nullopt, u"Saved: /o/j.txt"_s};
        QCOMPARE(afterSave, expected);
    }
};

QTEST_GUILESS_MAIN(TstStatusTexts)
#include "tst_statustexts.moc"
