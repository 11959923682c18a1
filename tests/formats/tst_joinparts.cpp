// Lists of parts as people write them, and the join of the parts' recordings.
#include "base/error.h"
#include "support/files.h"
#include "support/wavbuilder.h"

#include "formats/joinpart.h"
#include "formats/partlistentry.h"
#include "formats/recording.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <memory>

using Entries = QList<QStringList>; // word file, text, recording, gap

Q_DECLARE_METATYPE(Entries)

namespace {

// What a join reached of each part: its frames, its first frame and its
// frames in the joined file (-1 where it did not get that far).
QList<qint64> reached(const std::vector<JoinPart> &parts)
{
    QList<qint64> values;
    for (const JoinPart &part : parts)
        values << part.frames << part.firstFrame << part.joinedFrames;
    return values;
}

const QList<qint64> nothingReached = {-1, -1, -1, -1, -1, -1};

} // namespace

class TestJoinParts : public QObject
{
    Q_OBJECT

    // A folder of its own per test, so that what a join leaves behind shows.
    std::unique_ptr<QTemporaryDir> dir;
    QString path(const QString &name) const { return dir->filePath(name); }
    QString make(const QString &name, const QByteArray &content)
    {
        writeBytes(path(name), content);
        return path(name);
    }
    QStringList files() const { return QDir(dir->path()).entryList(QDir::Files); }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
    }

    void listsAreRead_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<Entries>("parts");
        QTest::newRow("relative to the list's folder")
            << QStringList{"a.ctm\ta.txt\ta.wav"} << Entries{{"/l/a.ctm", "/l/a.txt", "/l/a.wav", "0"}};
        QTest::newRow("up, down and absolute")
            << QStringList{"../t/a.ctm\tsub/a.txt\t/r/a.wav\t1500"}
            << Entries{{"/t/a.ctm", "/l/sub/a.txt", "/r/a.wav", "1500"}};
        QTest::newRow("comments, empty lines and blanks around fields")
            << QStringList{"# tape 1", "", "  a.ctm \t a.txt\ta b.wav \t 20 ", "   # tape 2", "b.ctm\tb.txt\tb.wav"}
            << Entries{{"/l/a.ctm", "/l/a.txt", "/l/a b.wav", "20"}, {"/l/b.ctm", "/l/b.txt", "/l/b.wav", "0"}};
        QTest::newRow("the order of the list, not of the names")
            << QStringList{"z.ctm\tz.txt\tz.wav", "a.ctm\ta.txt\ta.wav"}
            << Entries{{"/l/z.ctm", "/l/z.txt", "/l/z.wav", "0"}, {"/l/a.ctm", "/l/a.txt", "/l/a.wav", "0"}};
        QTest::newRow("nothing but comments") << QStringList{"# none", ""} << Entries{};
    }

    void listsAreRead()
    {
        QFETCH(QStringList, lines);
        QFETCH(Entries, parts);
        Entries read;
        for (const PartListEntry &e : parsePartList(lines, QStringLiteral("/l"), QStringLiteral("l.tsv")))
            read << QStringList{e.files.wordFile, e.files.text, e.files.recording, QString::number(e.gapMs)};
        QCOMPARE(read, parts);
    }

    void badLinesNameTheirLine_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("message");
        const QString fields = QStringLiteral("a part is a word file, a text file and a recording, separated by "
                                              "tabs, and optionally the gap after it in ms");
        QTest::newRow("two files") << QStringList{"# x", "a.ctm\ta.txt"} << "\"l.tsv\", line 2: " + fields;
        QTest::newRow("five fields") << QStringList{"a\tb\tc\t1\t2"} << "\"l.tsv\", line 1: " + fields;
        QTest::newRow("an empty field") << QStringList{"a.ctm\t\ta.wav"} << "\"l.tsv\", line 1: " + fields;
        QTest::newRow("a gap in seconds")
            << QStringList{"a\tb\tc\t1.5"}
            << "\"l.tsv\", line 1: the gap \"1.5\" is not a whole number of milliseconds from 0 to 86400000";
        QTest::newRow("a gap over a day")
            << QStringList{"a\tb\tc\t86400001"}
            << "\"l.tsv\", line 1: the gap \"86400001\" is not a whole number of milliseconds from 0 to 86400000";
        QTest::newRow("a signed gap")
            << QStringList{"a\tb\tc\t+5"}
            << "\"l.tsv\", line 1: the gap \"+5\" is not a whole number of milliseconds from 0 to 86400000";
    }

    void badLinesNameTheirLine()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, message);
        QCOMPARE(errorMessage([&] { parsePartList(lines, QStringLiteral("/l"), QStringLiteral("l.tsv")); }), message);
    }

    void partsArePlacedAtTheirConvertedFrames()
    {
        writeSilentWav(path("p1.wav"), 44100, 2, 16, 44101); // 16000.36 frames at 16 kHz: 16000
        writeSilentWav(path("p2.wav"), 48000, 1, 24, 3);     // 1 frame
        writeSilentWav(path("p3.wav"), 8000, 1, 8, 5);       // 10 frames
        std::vector<JoinPart> parts{{path("p1.wav"), 32}, {path("p2.wav"), 0}, {path("p3.wav"), 1600}};
        QCOMPARE(joinParts(path("j.wav"), parts), qint64(16000 + 32 + 1 + 10));
        QCOMPARE(parts[0].firstFrame, 0);
        QCOMPARE(parts[1].firstFrame, 16032);
        QCOMPARE(parts[2].firstFrame, 16033);
        QCOMPARE(parts[2].joinedFrames, 10);
        QCOMPARE(parts[1].frames, 3);
        QCOMPARE(parts[1].rate, 48000u);
        QCOMPARE(QFileInfo(path("j.wav")).size(), 44 + 2 * (16000 + 32 + 1 + 10));
    }

    void aBadHeaderWritesNothing()
    {
        writeSilentWav(path("ok.wav"), 16000, 1, 16, 100);
        writeBytes(path("bad.wav"), QByteArray("RIFF\x04\0\0\0WAVX", 12));
        writeBytes(path("out.wav"), "earlier");
        std::vector<JoinPart> parts{{path("ok.wav")}, {path("bad.wav")}, {path("ok.wav")}};
        QCOMPARE(withoutFfmpegReason(errorMessage([&] { joinParts(path("out.wav"), parts); })),
                 refusedRecording(path("bad.wav"), "Wrong idWAVE"));
        QCOMPARE(readBytes(path("out.wav")), QByteArray("earlier"));
        QCOMPARE(parts[0].firstFrame, 0);
        QCOMPARE(parts[1].firstFrame, -1);
        QCOMPARE(parts[2].firstFrame, -1);
    }

    void twoPartsComeOutByteForByte()
    {
        const QString p1 = make("one.wav", wav16k({1, -2, 32767}));
        const QString p2 = make("two.wav", wav16k({-32768, 256}));
        const QString out = path("joined.wav");
        std::vector<JoinPart> parts{{p1}, {p2}};

        QCOMPARE(joinParts(out, parts), qint64(5));
        QCOMPARE(reached(parts), (QList<qint64>{3, 0, 3, 2, 3, 2}));
        const QByteArray expected = QByteArray::fromHex(
            "52494646" "2e000000" "57415645" "666d7420" "10000000" "0100" "0100" "803e0000"
            "007d0000" "0200" "1000" "64617461" "0a000000" "0100" "feff" "ff7f" "0080" "0001");
        QCOMPARE(expected.size(), 54);
        QCOMPARE(readBytes(out).toHex(' '), expected.toHex(' '));
    }

    void missingInputWritesNothing_data()
    {
        QTest::addColumn<QString>("name1"); // "" is the empty path
        QTest::addColumn<QString>("name2");
        QTest::addColumn<QString>("missing"); // the one the message names
        QTest::addColumn<int>("reason");
        QTest::addColumn<QList<qint64>>("counts"); // what the join reached
        const QList<qint64> first = {3, 0, 3, -1, -1, -1};
        QTest::newRow("input 2 empty") << "one.wav" << "" << "" << ENOENT << first;
        QTest::newRow("input 1 missing") << "gone.wav" << "two.wav" << "gone.wav" << ENOENT << nothingReached;
        QTest::newRow("input 2 missing") << "one.wav" << "gone.wav" << "gone.wav" << ENOENT << first;
        QTest::newRow("input 2 a folder") << "one.wav" << "folder" << "folder" << EISDIR << first;
        QTest::newRow("input 1 a dangling link") << "link.wav" << "two.wav" << "link.wav" << ENOENT << nothingReached;
    }

    void missingInputWritesNothing()
    {
        QFETCH(QString, name1);
        QFETCH(QString, name2);
        QFETCH(QString, missing);
        QFETCH(int, reason);
        QFETCH(QList<qint64>, counts);

        make("one.wav", wav16k({1, 2, 3}));
        make("two.wav", wav16k({4, 5}));
        QVERIFY(QDir(dir->path()).mkdir("folder"));
        QVERIFY(QFile::link(path("gone.wav"), path("link.wav")));
        const auto pathOf = [this](const QString &name) { return name.isEmpty() ? QString() : path(name); };
        const QString out = path("joined.wav");
        std::vector<JoinPart> parts{{pathOf(name1)}, {pathOf(name2)}};

        QCOMPARE(errorMessage([&] { joinParts(out, parts); }),
                 QStringLiteral("Cannot open file \"%1\". %2")
                     .arg(pathOf(missing), QString::fromLocal8Bit(std::strerror(reason))));
        QCOMPARE(reached(parts), counts);
        QVERIFY(!QFile::exists(out));
    }

    void outputMayBeAnInput_data()
    {
        QTest::addColumn<QString>("outName");
        QTest::addColumn<QString>("name2");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("output is input 1") << "one.wav" << "two.wav" << QList<int>{1, 2, 3, 4, 5};
        QTest::newRow("output is input 2") << "two.wav" << "two.wav" << QList<int>{1, 2, 3, 4, 5};
        QTest::newRow("one file twice") << "joined.wav" << "one.wav" << QList<int>{1, 2, 3, 1, 2, 3};
    }

    void outputMayBeAnInput()
    {
        QFETCH(QString, outName);
        QFETCH(QString, name2);
        QFETCH(QList<int>, expected);

        make("one.wav", wav16k({1, 2, 3}));
        make("two.wav", wav16k({4, 5}));
        std::vector<JoinPart> parts{{path("one.wav")}, {path(name2)}};
        QCOMPARE(joinParts(path(outName), parts), qint64(expected.size()));
        QCOMPARE(samplesAfter44(path(outName)), std::vector<qint16>(expected.begin(), expected.end()));
    }

    void failedJoinLeavesTheTargetWhole_data()
    {
        QTest::addColumn<QByteArray>("file1");
        QTest::addColumn<QByteArray>("file2");
        QTest::addColumn<QString>("outName");
        QTest::addColumn<QString>("message"); // %1 is the output path, %d the inputs' folder
        QTest::addColumn<QList<qint64>>("counts"); // what the join reached, kept on the failure

        const QByteArray good1 = wav16k({1, 2, 3});
        const QByteArray good2 = wav16k({4, 5});
        QTest::newRow("input 2 not a recording")
            << good1 << QByteArray("text, no sound") << "one.wav" << "\"%d/two.wav\" is a text file, not a recording"
            << QList<qint64>{3, 0, 3, -1, -1, -1};
        QTest::newRow("input 1 cut short") << good1.left(30) << good2 << "one.wav"
                                           << refusedRecording("%d/one.wav", "Truncated WAV header") << nothingReached;
        QTest::newRow("input 2 of unknown format")
            << good1 << riff(chunk("fmt ", fmtBody(0x7777, 1, 16000, 16)) + chunk("data", QByteArray(8, '\x01')))
            << "one.wav" << refusedRecording("%d/two.wav", "Unknown format") << QList<qint64>{3, 0, 3, -1, -1, -1};
        QTest::newRow("output folder missing")
            << good1 << good2 << "gone/joined.wav"
            << QStringLiteral("Cannot create file \"%1\". ") + QString::fromLocal8Bit(std::strerror(ENOENT))
            << QList<qint64>{3, 0, 3, 2, 3, 2};
    }

    void failedJoinLeavesTheTargetWhole()
    {
        QFETCH(QByteArray, file1);
        QFETCH(QByteArray, file2);
        QFETCH(QString, outName);
        QFETCH(QString, message);
        QFETCH(QList<qint64>, counts);

        const QString p1 = make("one.wav", file1);
        const QString p2 = make("two.wav", file2);
        const QString out = path(outName);
        std::vector<JoinPart> parts{{p1}, {p2}};
        QCOMPARE(withoutFfmpegReason(errorMessage([&] { joinParts(out, parts); })),
                 (message.contains("%1") ? message.arg(out) : message).replace("%d", QFileInfo(p1).path()));
        QCOMPARE(reached(parts), counts);
        QCOMPARE(readBytes(p1), file1);
        QCOMPARE(readBytes(p2), file2);
        // No temporary file is left behind.
        QCOMPARE(files(), QStringList({"one.wav", "two.wav"}));
    }

    void progressHearsEachBlockAndMayStopTheJoin()
    {
        const QString p1 = make("one.wav", wav16k({1, 2, 3}));
        const QString p2 = make("two.wav", wav16k({4, 5}));
        const QString out = make("joined.wav", "earlier");
        std::vector<JoinPart> parts{{p1, 4}, {p2}};
        QList<QPair<qint64, qint64>> heard;
        const auto listen = [&heard](qint64 done, qint64 total) { heard.append({done, total}); };
        QCOMPARE(joinParts(out, parts, ChannelChoice::Mix, nullptr, listen), qint64(9));
        // Part 1, its gap, part 2, and once more before the target is replaced.
        QCOMPARE(heard, (QList<QPair<qint64, qint64>>{{3, 9}, {7, 9}, {9, 9}, {9, 9}}));

        // What progress throws ends the join; the counts reached stay.
        writeBytes(out, "earlier");
        std::vector<JoinPart> again{{p1, 4}, {p2}};
        const auto stop = [](qint64, qint64) { throw Error("stopped"); };
        QCOMPARE(errorMessage([&] { joinParts(out, again, ChannelChoice::Mix, nullptr, stop); }), "stopped");
        QCOMPARE(reached(again), (QList<qint64>{3, 0, 3, 2, 7, 2}));
        QCOMPARE(readBytes(out), QByteArray("earlier"));
        QCOMPARE(files(), QStringList({"joined.wav", "one.wav", "two.wav"}));
    }

    // Joins of more than a minute convert two parts at a time, each into its
    // place: the bytes must be those of each part converted alone, one after
    // the other with their gaps.
    void longJoinsAreEachPartConvertedAloneInTurn_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::newRow("16 kHz mono, copied") << 16000 << 1;
        QTest::newRow("44.1 kHz stereo, resampled") << 44100 << 2;
    }

    void longJoinsAreEachPartConvertedAloneInTurn()
    {
        QFETCH(int, rate);
        QFETCH(int, channels);
        // Three parts of 25 s: three, so one thread takes two of them.
        const qint64 frames = 25 * qint64(rate) + 7;
        QRandomGenerator random(7);
        QStringList inputs;
        for (int k = 0; k < 3; ++k) {
            std::vector<qint16> samples(std::size_t(frames * channels));
            for (qint16 &s : samples)
                s = qint16(random.bounded(-20000, 20000));
            QByteArray wav = riff(chunk("fmt ", fmtBody(1, quint16(channels), quint32(rate), 16)) +
                                  chunk("data", pcm16(samples)));
            inputs << make(QStringLiteral("in%1.wav").arg(k), wav);
        }
        const std::vector<qint64> gaps{1601, 3, 0};

        QByteArray alone;
        for (int k = 0; k < 3; ++k) {
            std::vector<JoinPart> one{{inputs[k]}};
            joinParts(path("alone.wav"), one);
            alone += readBytes(path("alone.wav")).mid(44);
            if (k < 2)
                alone += QByteArray(int(2 * gaps[std::size_t(k)]), '\0');
        }

        std::vector<JoinPart> parts{{inputs[0], gaps[0]}, {inputs[1], gaps[1]}, {inputs[2], gaps[2]}};
        qint64 heardLast = 0;
        bool wentBack = false;
        const auto listen = [&](qint64 done, qint64) {
            wentBack = wentBack || done < heardLast;
            heardLast = done;
        };
        const qint64 joined = joinParts(path("joined.wav"), parts, ChannelChoice::Mix, nullptr, listen);
        QVERIFY(joined > 60 * 16000);
        QCOMPARE(joined, qint64(alone.size() / 2));
        QVERIFY(!wentBack);
        QCOMPARE(heardLast, joined);
        const QByteArray bytes = readBytes(path("joined.wav"));
        QCOMPARE(bytes.left(44), silentWav(16000, 1, 16, joined).left(44));
        QVERIFY(bytes.mid(44) == alone); // 4 MB: QCOMPARE would print them all
        QCOMPARE(parts[1].firstFrame, parts[0].joinedFrames + gaps[0]);
        QCOMPARE(parts[2].frames, frames);

        // A cancel from progress ends it with the target untouched and no
        // temporary file left.
        const QString out = make("out.wav", "earlier");
        std::vector<JoinPart> again{{inputs[0]}, {inputs[1]}, {inputs[2]}};
        int calls = 0;
        const auto stop = [&calls](qint64, qint64) {
            if (++calls == 3)
                throw Error("stopped");
        };
        QCOMPARE(errorMessage([&] { joinParts(out, again, ChannelChoice::Mix, nullptr, stop); }), "stopped");
        QCOMPARE(readBytes(out), QByteArray("earlier"));
        QCOMPARE(files(), QStringList({"alone.wav", "in0.wav", "in1.wav", "in2.wav", "joined.wav", "out.wav"}));
    }

    void joinOver4GBIsRefusedBeforehand()
    {
        // Two sparse parts of 2^30 frames each make 2^32 data bytes together:
        // one frame too many for the joined file.
        const qint64 frames = qint64(1) << 30;
        const QByteArray header = riff(chunk("fmt ", fmtBody(1, 1, 16000, 16)) + "data" + le32(quint32(frames * 2)));
        const QString p1 = make("one.wav", header);
        const QString p2 = make("two.wav", header);
        QVERIFY(QFile::resize(p1, header.size() + frames * 2));
        QVERIFY(QFile::resize(p2, header.size() + frames * 2));
        std::vector<JoinPart> parts{{p1}, {p2}};

        QCOMPARE(errorMessage([&] { joinParts(path("joined.wav"), parts); }),
                 QStringLiteral("The joined recording would be larger than 4 GB, more than a WAV file can hold"));
        QCOMPARE(reached(parts), (QList<qint64>{frames, 0, frames, frames, frames, frames}));
        QCOMPARE(files(), QStringList({"one.wav", "two.wav"}));
    }

    void countsFollowTheConversionTo16k_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<qint64>("frames");
        QTest::addColumn<qint64>("expected"); // frames at 16 kHz

        QTest::newRow("44.1 kHz, 441 frames") << 44100 << qint64(441) << qint64(160);
        QTest::newRow("32 kHz, 1 frame: 0.5 to 0") << 32000 << qint64(1) << qint64(0);
        QTest::newRow("32 kHz, 3 frames: 1.5 to 2") << 32000 << qint64(3) << qint64(2);
        QTest::newRow("32 kHz, 5 frames: 2.5 to 2") << 32000 << qint64(5) << qint64(2);
        QTest::newRow("48 kHz, 3 frames") << 48000 << qint64(3) << qint64(1);
        QTest::newRow("22.05 kHz, 1 frame") << 22050 << qint64(1) << qint64(1);
        QTest::newRow("8 kHz, 10 s") << 8000 << qint64(80000) << qint64(160000);
        QTest::newRow("11.025 kHz, 1 s") << 11025 << qint64(11025) << qint64(16000);
        QTest::newRow("44.1 kHz, 0 frames") << 44100 << qint64(0) << qint64(0);
        QTest::newRow("16 kHz, 7 frames") << 16000 << qint64(7) << qint64(7);
    }

    void countsFollowTheConversionTo16k()
    {
        QFETCH(int, rate);
        QFETCH(qint64, frames);
        QFETCH(qint64, expected);

        QCOMPARE(framesAt16k(frames, quint32(rate)), expected);

        std::vector<qint16> ramp(static_cast<size_t>(frames));
        for (size_t i = 0; i < ramp.size(); ++i)
            ramp[i] = qint16(i % 2000);
        const QString p1 = make("one.wav", riff(chunk("fmt ", fmtBody(1, 1, quint32(rate), 16)) + chunk("data", pcm16(ramp))));
        const QString p2 = make("two.wav", wav16k({7, 8}));
        const QString out = path("joined.wav");
        std::vector<JoinPart> parts{{p1}, {p2}};
        const qint64 total = joinParts(out, parts);
        QCOMPARE(reached(parts), (QList<qint64>{frames, 0, expected, 2, expected, 2}));
        QCOMPARE(total, expected + 2);
        QCOMPARE(QFileInfo(out).size(), 44 + 2 * total);
        QCOMPARE(probeRecording(out).frames, total);
        // Part 2 starts exactly where its first frame says.
        const std::vector<qint16> joined = samplesAfter44(out);
        QCOMPARE(std::vector<qint16>(joined.end() - 2, joined.end()), std::vector<qint16>({7, 8}));
    }

    void mono16kIsCopiedBitForBit()
    {
        QRandomGenerator rnd(4);
        std::vector<qint16> a(40000), b(777);
        for (qint16 &s : a)
            s = qint16(rnd.bounded(-32768, 32768));
        for (qint16 &s : b)
            s = qint16(rnd.bounded(-32768, 32768));
        a[0] = -32768;
        a[1] = 32767;
        // Field-recorder chunks around the format must not disturb the copy.
        const QString p1 = make("one.wav", riff(chunk("bext", QByteArray(603, 'b')) + chunk("fmt ", fmtBody(1, 1, 16000, 16)) +
                                                chunk("LIST", "INFOx") + chunk("data", pcm16(a))));
        const QString p2 = make("two.wav", wav16k(b));
        const QString out = path("joined.wav");
        std::vector<JoinPart> parts{{p1}, {p2}};
        joinParts(out, parts);
        QCOMPARE(parts[1].firstFrame, qint64(a.size()));
        QCOMPARE(readBytes(out).mid(44), pcm16(a) + pcm16(b));
    }
};

QTEST_GUILESS_MAIN(TestJoinParts)
#include "tst_joinparts.moc"
