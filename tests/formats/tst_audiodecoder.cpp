// Compressed and multi-channel recordings made by the ffmpeg program from a
// known signal: their length is the sample count ffmpeg itself decodes them
// to, FLAC comes out bit for bit as its WAV original, lossy formats at the
// original's level. (Files that are no recording: tst_oddrecordings.)

#include "base/error.h"
#include "formats/audiodecoder.h"
#include "formats/joinpart.h"
#include "formats/recording.h"
#include "support/files.h"
#include "support/wavbuilder.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <numbers>

namespace {

// A 1 kHz sine at -6 dBFS, with clicks a full-scale click every 250 ms in
// its place, in every channel (the second channel at half the level, so
// left and right differ).
QByteArray signalWav(int rate, int channels, double seconds, bool clicks = false)
{
    const qint64 frames = qint64(seconds * rate);
    QByteArray data;
    data.reserve(int(frames * channels * 2));
    for (qint64 i = 0; i < frames; ++i) {
        const bool click = clicks && i % (rate / 4) == 0;
        const double s = click ? 0.99 : 0.5 * std::sin(2 * std::numbers::pi * 1000.0 * double(i) / rate);
        for (int c = 0; c < channels; ++c)
            data += le16(quint16(qint16(std::lround(s * 32767.0 / (c + 1)))));
    }
    return riff(chunk("fmt ", fmtBody(1, quint16(channels), quint32(rate), 16)) + chunk("data", data));
}

} // namespace

class TestAudioDecoder : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void lengthIsWhatFfmpegDecodes_data();
    void lengthIsWhatFfmpegDecodes();
    void flacJoinsBitForBitAsItsWav_data();
    void flacJoinsBitForBitAsItsWav();

private:
    QTemporaryDir folder;
    QString path(const QString &name) const { return folder.filePath(name); }
    // Encodes a signal WAV of the given layout with ffmpeg; returns its path.
    QString encode(const QString &name, int rate, int channels, const QStringList &codec);
};

void TestAudioDecoder::initTestCase()
{
    QVERIFY(folder.isValid());
    if (!hasProgram("ffmpeg"))
        QSKIP("ffmpeg is not installed (scripts/install-deps.sh)");
}

QString TestAudioDecoder::encode(const QString &name, int rate, int channels, const QStringList &codec)
{
    const QString wav = path(name + ".wav");
    writeBytes(wav, signalWav(rate, channels, 2.3));
    const QString out = path(name);
    const QString failure = runProgram("ffmpeg", QStringList{"-nostdin", "-v", "error", "-y", "-i", wav} + codec + QStringList{out});
    if (!failure.isEmpty())
        throw Error("ffmpeg: " + failure);
    return out;
}

void TestAudioDecoder::lengthIsWhatFfmpegDecodes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");
    QTest::addColumn<QStringList>("codec");
    QTest::addColumn<QString>("format");
    // The most frames the file decodes to beyond the original's: 0 where it
    // tells the encoder's delay and padding (LAME's header, Opus and Vorbis
    // granules) or the codec has none; 1 for an M4A file, whose edit list
    // ffmpeg's muxer ends on the next whole frame of a length that is no
    // whole number of frames (2.3 s at 44.1 kHz is 101429.99 frames). IMA
    // ADPCM fills its last block (1017 frames per block in stereo at
    // 22.05 kHz).
    QTest::addColumn<int>("padding");
    // ffmpeg's own decoding of an M4A file keeps the padding of the last AAC
    // frame that the edit list cuts off: up to 1023 frames more than the
    // file's length, which is what it decodes to here.
    QTest::addColumn<int>("ffmpegPadding");
    // The SNR of the decoded recording against its original. ffmpeg's own
    // decoding of these files reaches the same figures: LAME at 128 kbit/s
    // shapes its noise to about 26 dB on a -6 dBFS sine, the native AAC
    // encoder to 22.5 dB in stereo; one sample of shift costs 8 to 10 dB more.
    QTest::addColumn<double>("minSnr");

    const QStringList mp3 = {"-c:a", "libmp3lame", "-b:a", "128k"};
    const QStringList aac = {"-c:a", "aac", "-b:a", "128k"};
    const QStringList flac = {"-c:a", "flac"};
    const QStringList opus = {"-c:a", "libopus", "-b:a", "64k"};
    const QStringList vorbis = {"-c:a", "libvorbis"};
    const QStringList adpcm = {"-c:a", "adpcm_ima_wav"};
    QTest::newRow("MP3 mono 44.1 kHz") << "m1.mp3" << 44100 << 1 << mp3 << "MP3" << 0 << 0 << 25.0;
    QTest::newRow("MP3 stereo 48 kHz") << "m2.mp3" << 48000 << 2 << mp3 << "MP3" << 0 << 0 << 25.0;
    QTest::newRow("MP3 mono 8 kHz") << "m3.mp3" << 8000 << 1 << mp3 << "MP3" << 0 << 0 << 25.0;
    QTest::newRow("AAC in M4A mono 48 kHz") << "a1.m4a" << 48000 << 1 << aac << "AAC" << 1 << 1023 << 20.0;
    QTest::newRow("AAC in M4A stereo 44.1 kHz") << "a2.m4a" << 44100 << 2 << aac << "AAC" << 1 << 1023 << 20.0;
    QTest::newRow("AAC in M4A mono 16 kHz") << "a3.m4a" << 16000 << 1 << aac << "AAC" << 1 << 1023 << 20.0;
    QTest::newRow("FLAC mono 16 kHz") << "f1.flac" << 16000 << 1 << flac << "FLAC" << 0 << 0 << 90.0;
    QTest::newRow("FLAC stereo 44.1 kHz") << "f2.flac" << 44100 << 2 << flac << "FLAC" << 0 << 0 << 90.0;
    QTest::newRow("Opus mono 48 kHz") << "o1.opus" << 48000 << 1 << opus << "Opus" << 0 << 0 << 30.0;
    QTest::newRow("Opus stereo 48 kHz") << "o2.opus" << 48000 << 2 << opus << "Opus" << 0 << 0 << 30.0;
    QTest::newRow("Ogg Vorbis stereo 44.1 kHz") << "v2.ogg" << 44100 << 2 << vorbis << "Vorbis" << 0 << 0 << 30.0;
    QTest::newRow("IMA ADPCM WAV stereo 22.05 kHz") << "i2.wav" << 22050 << 2 << adpcm << "ADPCM_IMA_WAV" << 1016 << 0 << 25.0;
}

void TestAudioDecoder::lengthIsWhatFfmpegDecodes()
{
    QFETCH(QString, name);
    QFETCH(int, rate);
    QFETCH(int, channels);
    QFETCH(QStringList, codec);
    QFETCH(QString, format);
    QFETCH(int, padding);
    QFETCH(int, ffmpegPadding);
    const bool gapless = padding == 0;
    QFETCH(double, minSnr);

    const QString file = encode(name, rate, channels, codec);
    QByteArray pcm;
    QCOMPARE(runProgram("ffmpeg", {"-nostdin", "-v", "error", "-i", file, "-f", "s16le", "-"}, &pcm), QString());
    const qint64 byFfmpeg = pcm.size() / 2 / channels;
    const qint64 originalFrames = probeRecording(path(name + ".wav")).frames;

    const RecordingInfo info = probeRecording(file);
    const qint64 expected = ffmpegPadding == 0 ? byFfmpeg : info.frames;
    QVERIFY(expected > 0);
    QVERIFY2(byFfmpeg >= expected && byFfmpeg <= expected + ffmpegPadding,
             qPrintable(QStringLiteral("ffmpeg decodes %1 frames more").arg(byFfmpeg - expected)));
    QVERIFY(info.decoded);
    QCOMPARE(info.format, format);
    QCOMPARE(info.channels, channels);
    QCOMPARE(info.frames, expected);
    QCOMPARE(info.cutShort, false);
    if (gapless)
        QCOMPARE(info.frames, originalFrames);
    else
        QVERIFY2(info.frames >= originalFrames && info.frames <= originalFrames + padding,
                 qPrintable(QStringLiteral("%1 frames more than the original").arg(info.frames - originalFrames)));

    // Joined with itself: twice its length at 16 kHz, and both halves at the
    // level and the place of the WAV original joined the same way (a wrong
    // encoder delay would shift the 1 kHz sine and the clicks out of phase).
    const QString joined = path(name + ".joined.wav");
    std::vector<JoinPart> parts{{file}, {file}};
    const qint64 total = joinParts(joined, parts);
    const qint64 start2 = parts[1].firstFrame;
    QCOMPARE(parts[0].frames, expected);
    QCOMPARE(parts[1].frames, expected);
    QCOMPARE(start2, framesAt16k(expected, info.rate));
    QCOMPARE(total, 2 * start2);
    const std::vector<qint16> samples = samplesAfter44(joined);
    QCOMPARE(qint64(samples.size()), total);

    const QString original = path(name + ".original.wav");
    std::vector<JoinPart> originals{{path(name + ".wav")}, {path(name + ".wav")}};
    joinParts(original, originals);
    const std::vector<qint16> reference = samplesAfter44(original);
    // Part 1 of both at its place; part 2 starts where each length puts it.
    const std::vector<qint16> part1(samples.begin(), samples.begin() + start2);
    const double snr = snrDb(reference, gapless ? samples : part1);
    QVERIFY2(snr >= minSnr, qPrintable(QStringLiteral("SNR %1 dB").arg(snr)));
}

void TestAudioDecoder::flacJoinsBitForBitAsItsWav_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");
    QTest::newRow("mono 16 kHz") << 16000 << 1;
    QTest::newRow("stereo 16 kHz") << 16000 << 2;
    QTest::newRow("stereo 48 kHz") << 48000 << 2;
    QTest::newRow("mono 22.05 kHz") << 22050 << 1;
}

void TestAudioDecoder::flacJoinsBitForBitAsItsWav()
{
    QFETCH(int, rate);
    QFETCH(int, channels);
    const QString name = QStringLiteral("bits-%1-%2.flac").arg(rate).arg(channels);
    const QString flac = encode(name, rate, channels, {"-c:a", "flac"});
    const QString wav = path(name + ".wav");
    std::vector<JoinPart> flacs{{flac}, {flac}};
    std::vector<JoinPart> wavs{{wav}, {wav}};
    joinParts(path("fromflac.wav"), flacs);
    joinParts(path("fromwav.wav"), wavs);
    QCOMPARE(readBytes(path("fromflac.wav")), readBytes(path("fromwav.wav")));
}

QTEST_GUILESS_MAIN(TestAudioDecoder)
#include "tst_audiodecoder.moc"
