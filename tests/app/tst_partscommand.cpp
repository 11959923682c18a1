// naadwerk-cli glue --parts: the list file, the files it writes next to the
// classic ones, and the errors of a bad list.
#include "base/textfile.h"
#include "support/cli.h"
#include "support/files.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestPartsCommand : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;
    QString path(const QString &name) const { return folder.filePath(name); }

    void sox(const QStringList &arguments)
    {
        QCOMPARE(QProcess::execute(QStringLiteral("sox"), arguments), 0);
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("sox")).isEmpty())
            QSKIP("sox is not installed");
        // Part 1 at 44.1 kHz stereo, part 2 at 48 kHz mono, part 3 at 16 kHz:
        // odd lengths, so no offset is a whole millisecond by chance.
        sox({"-n", "-r", "44100", "-c", "2", "-b", "16", path("a.wav"), "synth", "1.00007", "sine", "440"});
        sox({"-n", "-r", "48000", "-c", "1", "-b", "24", path("b.wav"), "synth", "0.50003", "sine", "330"});
        sox({"-n", "-r", "16000", "-c", "1", "-b", "16", path("c.wav"), "synth", "0.25", "sine", "220"});
        writeBytes(path("a.spk"), "u\t1\t0.10\t0.40\tso\t0.9\tSP_01 Anna\n"
                                  "u\t1\t0.60\t0.90\twe\t1\tSP_01 Anna\n"
                                  "u\t1\t0.95\t0.99\tleft.\t1\tSP_01 Anna\n");
        writeBytes(path("b.spk"), "u\t1\t0.00\t0.45\tfine.\t0.8\tSP_02 Bob\n");
        writeBytes(path("c.spk"), "u\t1\t0.05\t0.20\tbye.\t0.7\tSP_01 Anna\n");
        writeBytes(path("a.txt"), "[StartTime: 100 ms]\n[Speaker: SP_01 Anna]\nSo we left.\n");
        writeBytes(path("b.txt"), "[StartTime: 0 ms]\n[Speaker: SP_02 Bob]\nFine.\n");
        writeBytes(path("c.txt"), "[Speaker: SP_01 Anna]\nBye.\n");
        QDir(folder.path()).mkpath("lists");
    }

    // Two parts through a list write what the classic glue writes, byte for
    // byte, and add the part map and the marks: for WAV parts, and for an MP3
    // part with an IMA ADPCM part (both decoded by FFmpeg).
    void twoPartsWriteTheClassicFiles_data()
    {
        QTest::addColumn<QString>("recording1");
        QTest::addColumn<QString>("recording2");
        QTest::addColumn<QString>("folder");
        QTest::newRow("wav") << "a.wav" << "b.wav" << "wav";
        QTest::newRow("mp3 and ima adpcm") << "a.mp3" << "b_adpcm.wav" << "coded";
    }

    void twoPartsWriteTheClassicFiles()
    {
        QFETCH(QString, recording1);
        QFETCH(QString, recording2);
        QFETCH(QString, folder);
        if (!QFileInfo::exists(path(recording1))) {
            if (QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty())
                QSKIP("ffmpeg is not installed");
            QCOMPARE(QProcess::execute(QStringLiteral("ffmpeg"), {"-v", "error", "-y", "-i", path("a.wav"), "-c:a",
                                                                  "libmp3lame", "-b:a", "64k", path(recording1)}),
                     0);
            sox({path("b.wav"), "-e", "ima-adpcm", "-b", "4", path(recording2)});
        }
        const QString classicFolder = "classic-" + folder + "/", partsFolder = "parts-" + folder + "/";
        QDir(this->folder.path()).mkpath(classicFolder);
        QDir(this->folder.path()).mkpath(partsFolder);
        const CliOutcome classic =
            runGlue(this->folder.path(), {"--ctm1", "a.spk", "--ctm2", "b.spk", "--text1", "a.txt", "--text2", "b.txt",
                                      "--wav1", recording1, "--wav2", recording2, "--joined", classicFolder + "j.wav",
                                      "--vtt", classicFolder + "j.vtt"});
        QCOMPARE(classic.err, QString());
        QCOMPARE(classic.code, 0);
        // Relative to the list's folder, with a comment and an empty line.
        writeBytes(path("lists/two-" + folder + ".tsv"), "# tape 1 and tape 2\n../a.spk\t../a.txt\t../"
                                                             + recording1.toUtf8() + "\n\n../b.spk\t../b.txt\t../"
                                                             + recording2.toUtf8() + "\n");
        const CliOutcome parts = runGlue(this->folder.path(), {"--parts", "lists/two-" + folder + ".tsv", "--joined",
                                                            partsFolder + "j.wav", "--vtt", partsFolder + "j.vtt"});
        QCOMPARE(parts.err, QString());
        QCOMPARE(parts.code, 0);
        for (const char *name : {"j.wav", "j.spk", "j.txt", "j.srt", "j.html", "j.vtt"}) {
            const QByteArray bytes = readBytes(path(classicFolder) + name);
            QVERIFY2(!bytes.isEmpty(), name);
            QVERIFY2(bytes == readBytes(path(partsFolder) + name), name);
        }
        QVERIFY(!QFileInfo::exists(path(classicFolder + "j.parts.tsv")));
        // The transcript is the classic one with a mark before each part.
        QStringList marked = readTextFile(path(partsFolder + "j_word.txt"));
        QCOMPARE(marked.removeAll(QStringLiteral("[Part 1, 00:00:00]")), 1);
        QCOMPARE(marked.removeAll(QStringLiteral("[Part 2, 00:00:01]")), 1);
        QCOMPARE(marked, readTextFile(path(classicFolder + "j_word.txt")));
        QVERIFY(!classic.out.contains("Part "));
        if (folder != u"wav")
            return;
        const QStringList map = readTextFile(path(partsFolder + "j.parts.tsv"));
        QCOMPARE(map.size(), 3);
        QCOMPARE(map[1], "1\t" + path("a.spk") + "\t" + path("a.txt") + "\t" + path("a.wav") + "\t0\t0\t1000\t0");
        // 1.00007 s at 44.1 kHz: 44103 frames, 16001 at 16 kHz; 0.50003 s at 48 kHz: 24001 frames, 8000 at 16 kHz.
        QCOMPARE(map[2], "2\t" + path("b.spk") + "\t" + path("b.txt") + "\t" + path("b.wav") + "\t16001\t1000\t1500\t0");
        QCOMPARE(soxi("-s", path(partsFolder + "j.wav")), qint64(24001));
        QVERIFY(parts.out.contains("Part 2 starts at frame 16001: time to add is 1000ms\n"));
    }

    void threePartsWithAGap()
    {
        writeBytes(path("three.tsv"), "a.spk\ta.txt\ta.wav\t250\nb.spk\tb.txt\tb.wav\nc.spk\tc.txt\tc.wav\t9999\n");
        const CliOutcome o = runGlue(folder.path(), {"--parts", "three.tsv", "--joined", "t.wav", "--srt", "t.srt"});
        QCOMPARE(o.err, QString());
        QCOMPARE(o.code, 0);
        // 16001 + 250 ms of silence + 8000 + 4000; the gap after the last part is not written.
        QCOMPARE(soxi("-s", path("t.wav")), qint64(16001 + 4000 + 8000 + 4000));
        QCOMPARE(readTextFile(path("t.parts.tsv")).mid(1),
                 (QStringList{"1\t" + path("a.spk") + "\t" + path("a.txt") + "\t" + path("a.wav") + "\t0\t0\t1000\t250",
                              "2\t" + path("b.spk") + "\t" + path("b.txt") + "\t" + path("b.wav") + "\t20001\t1250\t1750\t0",
                              "3\t" + path("c.spk") + "\t" + path("c.txt") + "\t" + path("c.wav") + "\t28001\t1750\t2000\t0"}));
        // Part 3's word at 0.05 s lands 1750 ms later; the SPK file says so.
        QVERIFY(readTextFile(path("t.spk")).contains(QStringLiteral("t\t1\t1.800\t1.950\tbye.\t0.70\tSP_01 Anna")));
    }

    void aBadListStopsBeforeAnythingIsWritten_data()
    {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QString>("error");
        QTest::newRow("two fields") << QByteArray("a.spk\ta.txt\ta.wav\n# ok\nb.spk\tb.txt\n")
                                    << "\"%1\", line 3: a part is a word file, a text file and a recording";
        QTest::newRow("gap not a number") << QByteArray("a.spk\ta.txt\ta.wav\t1s\nb.spk\tb.txt\tb.wav\n")
                                          << "\"%1\", line 1: the gap \"1s\" is not a whole number of milliseconds";
        QTest::newRow("negative gap") << QByteArray("a.spk\ta.txt\ta.wav\t-5\nb.spk\tb.txt\tb.wav\n")
                                      << "\"%1\", line 1: the gap \"-5\" is not a whole number of milliseconds";
        QTest::newRow("blanks instead of tabs") << QByteArray("a.spk a.txt a.wav\n")
                                                << "\"%1\", line 1: a part is a word file";
        QTest::newRow("no parts") << QByteArray("# nothing yet\n\n") << "\"%1\" lists no parts.";
        QTest::newRow("a missing recording") << QByteArray("a.spk\ta.txt\ta.wav\nb.spk\tb.txt\tgone.wav\n")
                                             << "Cannot open file \"" + path("gone.wav") + "\"";
    }

    void aBadListStopsBeforeAnythingIsWritten()
    {
        QFETCH(QByteArray, list);
        QFETCH(QString, error);
        writeBytes(path("bad.tsv"), list);
        const CliOutcome o = runGlue(folder.path(), {"--parts", "bad.tsv", "--joined", "bad.wav"});
        QCOMPARE(o.code, 1);
        QVERIFY2(o.err.startsWith(error.arg("bad.tsv")), qPrintable(o.err));
        QVERIFY(!QFileInfo::exists(path("bad.wav")));
    }
};

QTEST_GUILESS_MAIN(TestPartsCommand)
#include "tst_partscommand.moc"
