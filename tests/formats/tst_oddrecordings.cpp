// Recordings as recorders and tools leave them, each made in the test from a
// good file (a header patched, bytes cut or added, an edit list, a misleading
// extension) and judged against what the ffmpeg program decodes: the length
// Naadwerk joins, the warning it logs, and the refusal of what is no
// recording, naming both readers.

#include "base/error.h"
#include "formats/joinpart.h"
#include "formats/recording.h"
#include "support/files.h"
#include "support/wavbuilder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

// The frames the ffmpeg program decodes the file at path to (with the
// demuxer given, else the one it probes), -1 when it cannot.
qint64 framesByFfmpeg(const QString &path, int channels, const QString &demuxer = {})
{
    QStringList arguments{"-nostdin", "-v", "quiet"};
    if (!demuxer.isEmpty())
        arguments << "-f" << demuxer;
    arguments << "-i" << path << "-f" << "s16le" << "-";
    QByteArray pcm;
    if (!runProgram("ffmpeg", arguments, &pcm).isEmpty())
        return -1;
    return pcm.size() / 2 / channels;
}

// Sets the 32-bit big-endian duration of every "mvhd", "tkhd" and "mdhd" box
// (version 0) of an MP4 file to value, as a writer of fragments that does not
// know the length leaves it.
void setMp4Durations(QByteArray &file, quint32 value, qint64 from = 0, qint64 to = -1)
{
    if (to < 0)
        to = file.size();
    auto be32 = [&](qint64 at) {
        const auto *p = reinterpret_cast<const unsigned char *>(file.constData() + at);
        return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | quint32(p[3]);
    };
    auto put32 = [&](qint64 at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            file[at + i] = char((v >> (24 - 8 * i)) & 0xFF);
    };
    for (qint64 at = from; at + 8 <= to;) {
        qint64 size = be32(at);
        const QByteArray type = file.mid(at, 8).mid(4);
        if (size == 0)
            size = to - at;
        if (size < 8)
            return;
        if (type == "moov" || type == "trak" || type == "mdia")
            setMp4Durations(file, value, at + 8, at + size);
        const bool version0 = file[at + 8] == '\0';
        if (version0 && (type == "mvhd" || type == "mdhd"))
            put32(at + 24, value);
        if (version0 && type == "tkhd")
            put32(at + 28, value);
        at += size;
    }
}

// ffmpeg's output of a 440 Hz sine of the given length, with the arguments
// given, at out; throws when ffmpeg fails.
QString sineBy(const QString &out, int rate, double seconds, const QStringList &arguments)
{
    const QString failure = runProgram(
        "ffmpeg", QStringList{"-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i",
                              QStringLiteral("sine=f=440:r=%1:d=%2").arg(rate).arg(seconds)}
                      + arguments + QStringList{out});
    if (!failure.isEmpty())
        throw Error("ffmpeg: " + failure);
    return out;
}

// Makes a file in the folder given and returns its path.
using MakeFile = std::function<QString(const QDir &)>;

} // namespace

Q_DECLARE_METATYPE(MakeFile)

class TestOddRecordings : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void lengthAndWarningAsTheFileHoldsThem_data();
    void lengthAndWarningAsTheFileHoldsThem();
    void refusalNamesBothReaders_data();
    void refusalNamesBothReaders();

private:
    QTemporaryDir folder;
    QString path(const QString &name) const { return folder.filePath(name); }
};

void TestOddRecordings::initTestCase()
{
    QVERIFY(folder.isValid());
    if (!hasProgram("ffmpeg"))
        QSKIP("ffmpeg is not installed (scripts/install-deps.sh)");
}

void TestOddRecordings::lengthAndWarningAsTheFileHoldsThem_data()
{
    QTest::addColumn<MakeFile>("make");
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("channels");
    // The demuxer ffmpeg is told to use as judge; empty: the one it probes.
    QTest::addColumn<QString>("judgeDemuxer");
    // The frames expected: -1 for those ffmpeg decodes.
    QTest::addColumn<qint64>("frames");
    // The warning joinParts gives, "%f" for the file and "%n" for its frames.
    QTest::addColumn<QString>("warning");

    const QByteArray fmt16 = chunk("fmt ", fmtBody(1, 1, 16000, 16));
    const QByteArray samples(2 * 16000, '\x11');
    const QString unfinished = QStringLiteral("%f: the recording's header was never finished; its length is taken "
                                              "from the file's size (%n frames).");
    const QString cut = QStringLiteral("%f: the recording is cut short or damaged; the %n frames that could be "
                                       "decoded are joined.");
    auto wav = [](const QByteArray &bytes) {
        return MakeFile([bytes](const QDir &dir) {
            const QString p = dir.filePath("rec.wav");
            writeBytes(p, bytes);
            return p;
        });
    };

    // A recorder that stopped before it wrote its sizes: data size 0, the
    // samples after it. A RIFF size of 0 as well, as such recorders leave it.
    QByteArray never = riff(fmt16 + "data" + le32(0) + samples);
    never.replace(4, 4, le32(0));
    QTest::newRow("WAV, data size never written") << wav(never) << "RIFF" << 1 << "" << qint64(16000)
                                                  << unfinished;
    QTest::newRow("WAV, data size beyond the end") << wav(riff(fmt16 + "data" + le32(96000) + samples))
                                                   << "RIFF" << 1 << "" << qint64(16000) << cut;
    QTest::newRow("WAV, data size of a writer that streams")
        << wav(riff(fmt16 + "data" + le32(0xFFFFFFFF) + samples)) << "RIFF" << 1 << "" << qint64(16000) << "";
    QTest::newRow("WAV, empty data chunk") << wav(riff(fmt16 + "data" + le32(0))) << "RIFF" << 1 << ""
                                           << qint64(0) << "";

    // An MP4 edit list that starts with an empty edit of 67 ms: it shifts the
    // audio, it does not shorten it, whatever the codec.
    const QStringList offset{"-output_ts_offset", "0.067"};
    for (const auto &[codec, format] : {std::pair{"alac", "ALAC"}, {"pcm_s16le", "PCM_S16LE"}, {"aac", "AAC"}}) {
        const QString name = QStringLiteral("empty edit, %1").arg(format);
        const QString file = QStringLiteral("edit-%1.mov").arg(codec);
        QTest::newRow(qPrintable(name)) << MakeFile([file, codec, offset](const QDir &dir) {
            return sineBy(dir.filePath(file), 44100, 1.0217, QStringList{"-c:a", codec} + offset);
        })
            << format << 1 << "" << qint64(-1) << "";
    }
    // At 48 kHz FFmpeg's demuxer takes the empty edit's 3216 frames off the
    // last packet; the file's media holds all 49042 (its media header and
    // sample table say so, and ffmpeg decodes them).
    QTest::newRow("empty edit, ALAC at 48 kHz") << MakeFile([offset](const QDir &dir) {
        return sineBy(dir.filePath("edit48.m4a"), 44100, 1.0217,
                      QStringList{"-ar", "48000", "-c:a", "alac"} + offset);
    }) << "ALAC" << 1 << "" << qint64(49042) << "";

    // Fragmented MP4 whose header does not know the length: all ones, or
    // only the first fragment's.
    const QStringList fragments{"-c:a", "aac", "-movflags", "frag_keyframe+empty_moov"};
    QTest::newRow("fragmented MP4, length all ones")
        << MakeFile([fragments](const QDir &dir) {
               const QString p = sineBy(dir.filePath("frag.m4a"), 44100, 3, fragments);
               QByteArray bytes = readBytes(p);
               setMp4Durations(bytes, 0xFFFFFFFF);
               writeBytes(p, bytes);
               return p;
           })
        << "AAC" << 1 << "" << qint64(-1) << "";
    QTest::newRow("fragmented MP4, length of the first fragment")
        << MakeFile([](const QDir &dir) {
               const QString p = sineBy(dir.filePath("frag1.m4a"), 44100, 3,
                                        {"-c:a", "aac", "-movflags", "frag_keyframe", "-frag_duration", "500000"});
               QByteArray bytes = readBytes(p);
               setMp4Durations(bytes, 500);
               writeBytes(p, bytes);
               return p;
           })
        << "AAC" << 1 << "" << qint64(-1) << "";

    // A finished Ogg file with three stray bytes after its last page.
    QTest::newRow("Ogg with bytes after its last page")
        << MakeFile([](const QDir &dir) {
               const QString p = sineBy(dir.filePath("tail.opus"), 48000, 3, {"-c:a", "libopus"});
               writeBytes(p, readBytes(p) + "abc");
               return p;
           })
        << "Opus" << 1 << "" << qint64(-1) << "";

    // The extension names the demuxer first: 100 kB of junk before an MP3's
    // first frame that the content probe takes for AMR.
    QTest::newRow("MP3 behind junk that looks like AMR")
        << MakeFile([](const QDir &dir) {
               const QString p = sineBy(dir.filePath("junk.mp3"), 44100, 5, {"-c:a", "libmp3lame"});
               writeBytes(p, "#!AMR\n" + QByteArray(100000, '\x3c') + readBytes(p));
               return p;
           })
        << "MP3" << 1 << "mp3" << qint64(-1) << "";
    // An extension that names the wrong format: the content decides.
    QTest::newRow("M4A called .mp3") << MakeFile([](const QDir &dir) {
        QFile::rename(sineBy(dir.filePath("aac.m4a"), 44100, 2, {"-c:a", "aac"}), dir.filePath("aac.mp3"));
        return dir.filePath("aac.mp3");
    }) << "AAC" << 1 << "" << qint64(2 * 44100) << ""; // ffmpeg keeps the last AAC frame's padding
    QTest::newRow("Ogg Opus called .mp3") << MakeFile([](const QDir &dir) {
        QFile::rename(sineBy(dir.filePath("o.opus"), 48000, 2, {"-c:a", "libopus"}), dir.filePath("opus.mp3"));
        return dir.filePath("opus.mp3");
    }) << "Opus" << 1 << "" << qint64(-1) << "";
}

void TestOddRecordings::lengthAndWarningAsTheFileHoldsThem()
{
    QFETCH(MakeFile, make);
    QFETCH(QString, format);
    QFETCH(int, channels);
    QFETCH(QString, judgeDemuxer);
    QFETCH(qint64, frames);
    QFETCH(QString, warning);

    const QString file = make(QDir(folder.path()));
    if (frames < 0)
        frames = framesByFfmpeg(file, channels, judgeDemuxer);
    QVERIFY(frames >= 0);
    // ffmpeg reads a streaming writer's WAV and one never finished as we do.
    if (format == u"RIFF" && frames > 0)
        QCOMPARE(framesByFfmpeg(file, channels), frames);

    const RecordingInfo info = probeRecording(file);
    QCOMPARE(info.format, format);
    QCOMPARE(info.frames, frames);

    const QString second = path("second.wav");
    writeSilentWav(second, 16000, 1, 16, 160);
    std::vector<JoinPart> parts{{file}, {second}};
    QStringList warnings;
    const qint64 total = joinParts(path("joined.wav"), parts, ChannelChoice::Mix, &warnings);
    QCOMPARE(parts[0].frames, frames);
    QCOMPARE(total, framesAt16k(frames, info.rate) + 160);
    const QStringList expected = warning.isEmpty()
                                     ? QStringList()
                                     : QStringList{QString(warning)
                                                       .replace("%f", '"' + file + '"')
                                                       .replace("%n", QString::number(frames))};
    QCOMPARE(warnings, expected);
    QCOMPARE(info.cutShort, warning.contains(u"cut short"));
    QCOMPARE(info.headerUnfinished, warning.contains(u"never finished"));
}

void TestOddRecordings::refusalNamesBothReaders_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("wavReason"); // empty: a text file

    QTest::newRow("an empty .mp3") << "empty.mp3" << QByteArray() << "Truncated WAV header";
    QTest::newRow("zeros called .m4a") << "zeros.m4a" << QByteArray(4096, '\0') << "Wrong idRIFF";
    QTest::newRow("FLAC marker only") << "marker.flac" << QByteArray("fLaC\0\0\0\x22", 8) << "Wrong idRIFF";
    QTest::newRow("Ogg page header only") << "page.opus" << QByteArray("OggS\0\x02", 6) << "Wrong idRIFF";
    QTest::newRow("WAV of a coding neither knows")
        << "odd.wav" << riff(chunk("fmt ", fmtBody(0x7777, 1, 8000, 4)) + chunk("data", QByteArray(100, 'x')))
        << "Unknown format";
    QTest::newRow("a WAV cut inside its first word") << "cut.wav" << QByteArray("RIF") << "Truncated WAV header";
    QTest::newRow("a transcript called .mp3") << "words.mp3" << QByteArray("These are words, not sound.\n") << "";
    QTest::newRow("a word file chosen as recording")
        << "part1.ctm" << QByteArray("a 1 0.00 0.50 Hello 0.99\na 1 0.50 0.90 world 0.98\n") << "";
    QTest::newRow("a UTF-16 text") << "notes.wav" << utf16le("Notities bij het interview\r\n") << "";
}

void TestOddRecordings::refusalNamesBothReaders()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, wavReason);
    const QString file = path(name);
    writeBytes(file, bytes);
    const QString probed = errorMessage([&] { probeRecording(file); });
    if (wavReason.isEmpty()) {
        QCOMPARE(probed, '"' + file + "\" is a text file, not a recording");
    } else {
        QCOMPARE(withoutFfmpegReason(probed), refusedRecording(file, wavReason));
        // FFmpeg's reason is its own text: any, but there must be one.
        QVERIFY2(!probed.endsWith(u"FFmpeg: )"), qPrintable(probed));
    }
    // Glue refuses it the same way, before anything is written.
    const QString out = path("never.wav");
    std::vector<JoinPart> parts{{file}, {file}};
    QCOMPARE(errorMessage([&] { joinParts(out, parts); }), probed);
    QVERIFY(!QFileInfo::exists(out));
}

QTEST_GUILESS_MAIN(TestOddRecordings)
#include "tst_oddrecordings.moc"
