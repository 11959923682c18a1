// What the status lines say after an Open, a Glue and a Save, from the
// job's parts and outputs.

#include "support/fakeperson.h"
#include "support/files.h"
#include "support/wavbuilder.h"

#include "job/gluejob.h"
#include "ui/statustexts.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringEncoder>
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
        QTest::newRow("word file 1") << 1 << int(PartFile::WordFile) << 0 << "Word file of part 1: %1/a.ctm";
        QTest::newRow("word file 2") << 2 << int(PartFile::WordFile) << 1 << "Word file of part 2: %1/a.ctm";
        QTest::newRow("text 1") << 1 << int(PartFile::Text) << 2 << "Text of part 1: %1/a.txt";
        QTest::newRow("text 2") << 2 << int(PartFile::Text) << 3 << "Text of part 2: %1/a.txt";
        QTest::newRow("recording 1") << 1 << int(PartFile::Recording) << 4
                                     << "Recording of part 1: %1/a.wav - WAV, 16 kHz mono, 0:00:00.005";
        QTest::newRow("recording 2") << 2 << int(PartFile::Recording) << 5
                                     << "Recording of part 2: %1/a.wav - WAV, 16 kHz mono, 0:00:00.005";
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

    // A text or word file read in another encoding than UTF-8 names it; the
    // log says nothing of it.
    void aFileInAnotherEncodingNamesIt()
    {
        QStringEncoder big5("Big5");
        const QString text = u"我們今天去公園散步，天氣很好。\n他說這個問題很重要，我們明天再討論吧。\n"_s;
        writeBytes(path("big5.txt"), big5(text));
        writeBytes(path("big5.ctm"), big5(u"u 1 0 1 我們 1\nu 1 1 2 今天 1\nu 1 2 3 公園 1\nu 1 3 4 散步 1\n"_s));
        writeBytes(path("utf16.txt"), utf16le(u"So.\n"_s));
        FakePerson person;
        GlueJob job(person);
        job.settings.tabSeparated = false;
        job.openText(1, path("big5.txt"));
        job.openWordFile(2, path("big5.ctm"));
        job.openText(2, path("utf16.txt"));
        QCOMPARE(StatusTexts::opened(job, 1, PartFile::Text)->second, "Text of part 1: " + path("big5.txt") + " - Big5");
        QCOMPARE(StatusTexts::opened(job, 2, PartFile::WordFile)->second, "Word file of part 2: " + path("big5.ctm") + " - Big5");
        QCOMPARE(StatusTexts::opened(job, 2, PartFile::Text)->second,
                 "Text of part 2: " + path("utf16.txt") + " - UTF-16LE");
        QCOMPARE(person.logged, QStringList());
        // A file in UTF-8 opened next names no encoding.
        writeLines(path("utf8.txt"), {u"我們"_s});
        job.openText(1, path("utf8.txt"));
        QCOMPARE(StatusTexts::opened(job, 1, PartFile::Text)->second, "Text of part 1: " + path("utf8.txt"));
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
        QCOMPARE(shown->second, "Recording of part 1: " + path("long.flac") + " - FLAC, 1 kHz mono, 1:02:05.000");
    }

    // A recording says its kind, rate, channels and length as a person reads them.
    void aRecordingSaysWhatItHolds_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("frames");
        QTest::addColumn<QString>("says");
        QTest::newRow("16 kHz mono") << 16000 << 1 << 280477 << "WAV, 16 kHz mono, 0:00:17.530";
        QTest::newRow("44.1 kHz stereo") << 44100 << 2 << 44100 * 61 + 441 << "WAV, 44.1 kHz stereo, 0:01:01.010";
        QTest::newRow("22.05 kHz, six channels") << 22050 << 6 << 2205 << "WAV, 22.05 kHz 6 channels, 0:00:00.100";
    }
    void aRecordingSaysWhatItHolds()
    {
        QFETCH(int, rate);
        QFETCH(int, channels);
        QFETCH(int, frames);
        QFETCH(QString, says);
        writeSilentWav(path("r.wav"), rate, channels, 16, frames);
        FakePerson person;
        GlueJob job(person);
        job.openRecording(2, path("r.wav"));
        QCOMPARE(StatusTexts::opened(job, 2, PartFile::Recording)->second,
                 "Recording of part 2: " + path("r.wav") + " - " + says);
    }

    // The lines of parts 1 and 2 as the list holds them, blank where a part has no file.
    void theOpenedPartsNameTheirLines()
    {
        writeLines(path("p.ctm"), {"u\t1\t0.10\t0.40\tso\t0.9"});
        writeSilentWav(path("p.wav"), 16000, 1, 16, 16000);
        FakePerson person;
        GlueJob job(person);
        job.openWordFile(2, path("p.ctm"));
        job.openRecording(1, path("p.wav"));
        const std::array<QString, statusLineCount> expected{
            QString(), "Word file of part 2: " + path("p.ctm"), QString(), QString(),
            "Recording of part 1: " + path("p.wav") + " - WAV, 16 kHz mono, 0:00:01.000", QString()};
        QCOMPARE(StatusTexts::openedParts(job), expected);
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
        // Written, not saved: Save writes the rest, and Exit asks until then.
        QCOMPARE(afterGlue[4], std::optional<QString>(u"Joined recording written: /o/j.wav"_s));
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
