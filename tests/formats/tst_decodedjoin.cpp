// Joining recordings as people have them, each made by the ffmpeg program
// from a known signal: the channel chosen of a stereo recording, a recording
// cut short (a phone that died) joined with a warning, and clicks in part 2
// at their shifted place in the joined recording.

#include "base/error.h"
#include "formats/joinpart.h"
#include "formats/recording.h"
#include "support/files.h"
#include "support/wavbuilder.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

double sine(double hz, qint64 i, int rate)
{
    return std::sin(2 * std::numbers::pi * hz * double(i) / rate);
}

// A stereo file: a 1 kHz sine on the left, a 440 Hz sine on the right, both
// at -6 dBFS, so each channel can be told from the other.
QByteArray stereoWav(int rate, double seconds)
{
    QByteArray data;
    for (qint64 i = 0; i < qint64(seconds * rate); ++i) {
        data += le16(quint16(qint16(std::lround(0.5 * sine(1000, i, rate) * 32767))));
        data += le16(quint16(qint16(std::lround(0.5 * sine(440, i, rate) * 32767))));
    }
    return riff(chunk("fmt ", fmtBody(1, 2, quint32(rate), 16)) + chunk("data", data));
}

// The mono file of what a choice takes from stereoWav: left, right or both
// averaged.
QByteArray chosenWav(int rate, double seconds, const QString &choice)
{
    QByteArray data;
    for (qint64 i = 0; i < qint64(seconds * rate); ++i) {
        const double left = 0.5 * sine(1000, i, rate), right = 0.5 * sine(440, i, rate);
        const double s = choice == u"left" ? left : choice == u"right" ? right : (left + right) / 2;
        data += le16(quint16(qint16(std::lround(s * 32767))));
    }
    return riff(chunk("fmt ", fmtBody(1, 1, quint32(rate), 16)) + chunk("data", data));
}

// Mono: a quiet 300 Hz tone with a click (a full-scale pulse of 0.5 ms) at
// each of the given times.
QByteArray clickWav(int rate, double seconds, const std::vector<double> &clicks)
{
    std::vector<double> s(size_t(seconds * rate));
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = 0.05 * sine(300, qint64(i), rate);
    for (double t : clicks)
        for (qint64 i = qint64(t * rate); i < qint64(t * rate) + rate / 2000; ++i)
            s[size_t(i)] = 0.9;
    QByteArray data;
    for (double x : s)
        data += le16(quint16(qint16(std::lround(x * 32767))));
    return riff(chunk("fmt ", fmtBody(1, 1, quint32(rate), 16)) + chunk("data", data));
}

ChannelChoice choiceOf(const QString &name)
{
    return name == u"left" ? ChannelChoice::Left : name == u"right" ? ChannelChoice::Right : ChannelChoice::Mix;
}

const QStringList mp3 = {"-c:a", "libmp3lame", "-b:a", "128k"};
const QStringList aac = {"-c:a", "aac", "-b:a", "128k", "-movflags", "+faststart"};
const QStringList flac = {"-c:a", "flac"};
const QStringList opus = {"-c:a", "libopus", "-b:a", "64k"};
const QStringList vorbis = {"-c:a", "libvorbis"};

} // namespace

class TestDecodedJoin : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void channelChoiceTakesThatChannel_data();
    void channelChoiceTakesThatChannel();
    void monoIgnoresTheChoice();
    void cutShortIsJoinedWithAWarning_data();
    void cutShortIsJoinedWithAWarning();
    void cleanFilesRaiseNoWarning_data();
    void cleanFilesRaiseNoWarning();
    void noAudioAtAllIsRefused();
    void clicksOfPart2LandAtTheirShiftedTime_data();
    void clicksOfPart2LandAtTheirShiftedTime();

private:
    QTemporaryDir folder;
    QString path(const QString &name) const { return folder.filePath(name); }
    // Encodes the WAV file wav to name with ffmpeg's codec arguments; an empty
    // codec keeps the WAV file as it is.
    QString encode(const QString &wav, const QString &name, const QStringList &codec);
    // stereoWav encoded to name.
    QString stereoFile(const QString &name, int rate, double seconds, const QStringList &codec)
    {
        const QString wav = path(name + ".source.wav");
        writeBytes(wav, stereoWav(rate, seconds));
        return encode(wav, name, codec);
    }
    // Joins path with itself, channels chosen; returns the joined samples.
    std::vector<qint16> joinedWithItself(const QString &file, ChannelChoice channels, QStringList *warnings = nullptr);
};

void TestDecodedJoin::initTestCase()
{
    QVERIFY(folder.isValid());
    if (!hasProgram("ffmpeg"))
        QSKIP("ffmpeg is not installed (scripts/install-deps.sh)");
}

QString TestDecodedJoin::encode(const QString &wav, const QString &name, const QStringList &codec)
{
    if (codec.isEmpty())
        return wav;
    const QString out = path(name);
    const QString failure =
        runProgram("ffmpeg", QStringList{"-nostdin", "-v", "error", "-y", "-i", wav} + codec + QStringList{out});
    if (!failure.isEmpty())
        throw Error("ffmpeg: " + failure);
    return out;
}

std::vector<qint16> TestDecodedJoin::joinedWithItself(const QString &file, ChannelChoice channels,
                                                      QStringList *warnings)
{
    const QString out = path("joined.wav");
    QFile::remove(out);
    std::vector<JoinPart> parts{{file}, {file}};
    const qint64 total = joinParts(out, parts, channels, warnings);
    std::vector<qint16> samples = samplesAfter44(out);
    if (qint64(samples.size()) != total)
        return {};
    return samples;
}

void TestDecodedJoin::channelChoiceTakesThatChannel_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("rate");
    QTest::addColumn<QStringList>("codec");
    QTest::addColumn<QString>("choice");
    // The SNR the chosen channel reaches against its mono original; the
    // other channel stays below 3 dB against it.
    QTest::addColumn<double>("minSnr");
    struct Format
    {
        const char *name;
        int rate;
        QStringList codec;
        double minSnr;
    };
    // A stereo WAV at 16 kHz goes through the own reader sample for sample.
    const Format formats[] = {{"wav16k.wav", 16000, {}, 200},      {"wav48k.wav", 48000, {}, 90},
                              {"stereo.flac", 44100, flac, 90},    {"stereo.mp3", 44100, mp3, 20},
                              {"stereo.m4a", 48000, aac, 18},      {"stereo.opus", 48000, opus, 15}};
    for (const Format &f : formats)
        for (const char *choice : {"mix", "left", "right"})
            QTest::addRow("%s %s", f.name, choice) << f.name << f.rate << f.codec << choice
                                                   << (QString(choice) == u"mix" ? std::min(f.minSnr, 60.0) : f.minSnr);
}

void TestDecodedJoin::channelChoiceTakesThatChannel()
{
    QFETCH(QString, name);
    QFETCH(int, rate);
    QFETCH(QStringList, codec);
    QFETCH(QString, choice);
    QFETCH(double, minSnr);

    const QString file = stereoFile(name, rate, 1.5, codec);
    const std::vector<qint16> joined = joinedWithItself(file, choiceOf(choice));
    QVERIFY(!joined.empty());

    // The mono original of the choice, joined the same way.
    const QString reference = path(name + "." + choice + ".wav");
    writeBytes(reference, chosenWav(rate, 1.5, choice));
    const std::vector<qint16> expected = joinedWithItself(reference, ChannelChoice::Mix);
    QVERIFY(!expected.empty());
    const double snr = snrDb(expected, joined);
    QVERIFY2(snr >= minSnr, qPrintable(QStringLiteral("SNR %1 dB").arg(snr)));
    if (choice != u"mix") {
        const QString other = path(name + ".other.wav");
        writeBytes(other, chosenWav(rate, 1.5, choice == u"left" ? "right" : "left"));
        const double wrong = snrDb(joinedWithItself(other, ChannelChoice::Mix), joined);
        QVERIFY2(wrong < 3, qPrintable(QStringLiteral("SNR against the other channel %1 dB").arg(wrong)));
    }
}

void TestDecodedJoin::monoIgnoresTheChoice()
{
    const QString wav = path("mono.wav");
    writeBytes(wav, chosenWav(44100, 1.0, "left"));
    const QString flacFile = encode(wav, "mono.flac", flac);
    for (const QString &file : {wav, flacFile}) {
        const std::vector<qint16> mixed = joinedWithItself(file, ChannelChoice::Mix);
        QVERIFY(!mixed.empty());
        QCOMPARE(joinedWithItself(file, ChannelChoice::Left), mixed);
        QCOMPARE(joinedWithItself(file, ChannelChoice::Right), mixed);
    }
}

void TestDecodedJoin::cutShortIsJoinedWithAWarning_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("rate");
    QTest::addColumn<QStringList>("codec");
    QTest::newRow("MP3") << "cut.mp3" << 44100 << mp3;
    QTest::newRow("AAC in M4A, index first") << "cut.m4a" << 48000 << aac;
    QTest::newRow("FLAC") << "cut.flac" << 44100 << flac;
    QTest::newRow("Opus") << "cut.opus" << 48000 << opus;
    QTest::newRow("Ogg Vorbis") << "cut.ogg" << 44100 << vorbis;
}

void TestDecodedJoin::cutShortIsJoinedWithAWarning()
{
    QFETCH(QString, name);
    QFETCH(int, rate);
    QFETCH(QStringList, codec);
    const QString file = stereoFile(name, rate, 4.0, codec);
    const QByteArray whole = readBytes(file);
    const qint64 wholeFrames = probeRecording(file).frames;
    // Cut in the middle of a packet, as a recorder that lost its power does.
    writeBytes(file, whole.left(whole.size() * 6 / 10 + 7));

    const RecordingInfo info = probeRecording(file);
    QVERIFY(info.cutShort);
    // Ogg files begin with their codec's tables: the audio is less than
    // the bytes kept.
    QVERIFY2(info.frames > wholeFrames / 5 && info.frames < wholeFrames * 7 / 10,
             qPrintable(QString::number(info.frames)));

    const QString out = path("cut-joined.wav");
    const QString wav2 = path("second.wav");
    writeSilentWav(wav2, 16000, 1, 16, 1600);
    std::vector<JoinPart> parts{{file}, {wav2}};
    QStringList warnings;
    const qint64 total = joinParts(out, parts, ChannelChoice::Mix, &warnings);
    QCOMPARE(warnings, QStringList{"\"" + file + "\": the recording is cut short or damaged; the "
                                   + QString::number(info.frames) + " frames that could be decoded are joined."});
    QCOMPARE(parts[0].frames, info.frames);
    const qint64 start2 = parts[1].firstFrame;
    QCOMPARE(start2, framesAt16k(info.frames, quint32(rate)));
    QCOMPARE(total, start2 + 1600);
    QCOMPARE(probeRecording(out).frames, total);
    QCOMPARE(qint64(samplesAfter44(out).size()), total);
}

void TestDecodedJoin::cleanFilesRaiseNoWarning_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");
    QTest::addColumn<QStringList>("codec");
    QTest::newRow("MP3") << "clean.mp3" << 3.0 << 44100 << 2 << mp3;
    QTest::newRow("AAC in M4A, index last") << "clean.m4a" << 3.0 << 44100 << 2
                                            << QStringList{"-c:a", "aac", "-b:a", "128k"};
    QTest::newRow("AAC in M4A, index first") << "clean-first.m4a" << 3.0 << 48000 << 1 << aac;
    QTest::newRow("FLAC") << "clean.flac" << 3.0 << 44100 << 2 << flac;
    QTest::newRow("Opus") << "clean.opus" << 3.0 << 48000 << 2 << opus;
    QTest::newRow("Ogg Vorbis") << "clean.ogg" << 3.0 << 44100 << 2 << vorbis;
    QTest::newRow("IMA ADPCM WAV") << "clean-adpcm.wav" << 3.0 << 22050 << 1 << QStringList{"-c:a", "adpcm_ima_wav"};
    // An hour of an archive's FLAC, and of a phone's MP3 with its length in
    // the header.
    QTest::newRow("FLAC, one hour") << "hour.flac" << 3600.0 << 44100 << 2 << flac;
    QTest::newRow("MP3, one hour") << "hour.mp3" << 3600.0 << 16000 << 1 << mp3;
}

void TestDecodedJoin::cleanFilesRaiseNoWarning()
{
    QFETCH(QString, name);
    QFETCH(double, seconds);
    QFETCH(int, rate);
    QFETCH(int, channels);
    QFETCH(QStringList, codec);
    const QString file = path(name);
    // Pink noise, as a room sounds.
    const QString failure = runProgram(
        "ffmpeg", QStringList{"-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i",
                              QStringLiteral("anoisesrc=d=%1:c=pink:r=%2:a=0.2:seed=7").arg(seconds).arg(rate), "-ac",
                              QString::number(channels)}
                      + codec + QStringList{file});
    QCOMPARE(failure, QString());
    const RecordingInfo info = probeRecording(file);
    QCOMPARE(info.cutShort, false);
    QVERIFY(info.frames >= qint64(seconds * rate));
    // Glue decodes every frame: as many as Open counted, and no warning.
    const QString tiny = path("tiny.wav");
    writeSilentWav(tiny, 16000, 1, 16, 16);
    const QString out = path("clean-joined.wav");
    std::vector<JoinPart> parts{{file}, {tiny}};
    QStringList warnings;
    const qint64 total = joinParts(out, parts, ChannelChoice::Mix, &warnings);
    QCOMPARE(warnings, QStringList());
    QCOMPARE(parts[0].frames, info.frames);
    QCOMPARE(probeRecording(out).frames, total);
    QFile::remove(out);
}

void TestDecodedJoin::noAudioAtAllIsRefused()
{
    // An M4A file whose index comes last, cut before it: a phone that died
    // while recording leaves no way to decode the audio at all.
    const QString file = stereoFile("lost.m4a", 44100, 2.0, {"-c:a", "aac", "-b:a", "128k"});
    const QString wav = path("lost.m4a.source.wav");
    writeBytes(file, readBytes(file).left(20000));
    const QString message = refusedRecording(file, "Wrong idRIFF");
    QCOMPARE(withoutFfmpegReason(errorMessage([&] { probeRecording(file); })), message);
    const QString out = path("never.wav");
    std::vector<JoinPart> parts{{wav}, {file}};
    QCOMPARE(withoutFfmpegReason(errorMessage([&] { joinParts(out, parts); })), message);
    QVERIFY(!QFileInfo::exists(out));
}

void TestDecodedJoin::clicksOfPart2LandAtTheirShiftedTime_data()
{
    QTest::addColumn<QString>("extension");
    QTest::addColumn<int>("rate");
    QTest::addColumn<QStringList>("codec");
    // Whether the file tells the encoder's delay and padding, so part 1
    // decodes to exactly the frames it was recorded with.
    QTest::addColumn<bool>("gapless");
    // Without it, the frames of delay before the audio: the clicks of part
    // 2 come that much later.
    QTest::addColumn<int>("delay");
    QTest::newRow("WAV 44.1 kHz") << "wav" << 44100 << QStringList() << true << 0;
    QTest::newRow("MP3 44.1 kHz") << "mp3" << 44100 << mp3 << true << 0;
    QTest::newRow("MP3 22.05 kHz") << "mp3" << 22050 << mp3 << true << 0;
    QTest::newRow("AAC in M4A 48 kHz") << "m4a" << 48000 << aac << true << 0;
    QTest::newRow("AAC in M4A 44.1 kHz") << "m4a" << 44100 << aac << true << 0;
    QTest::newRow("FLAC 44.1 kHz") << "flac" << 44100 << flac << true << 0;
    QTest::newRow("Opus 48 kHz") << "opus" << 48000 << opus << true << 0;
    QTest::newRow("Ogg Vorbis 44.1 kHz") << "ogg" << 44100 << vorbis << true << 0;
    // IMA ADPCM has no gapless information: its last block is filled up.
    QTest::newRow("IMA ADPCM WAV 22.05 kHz") << "wav" << 22050 << QStringList{"-c:a", "adpcm_ima_wav"} << false << 0;
    // An MP3 without its LAME header keeps LAME's 576 frames of delay and
    // the decoder's 529, and its padding.
    QTest::newRow("MP3 44.1 kHz without LAME header")
        << "mp3" << 44100 << QStringList{"-c:a", "libmp3lame", "-b:a", "128k", "-write_xing", "0"} << false << 1105;
}

void TestDecodedJoin::clicksOfPart2LandAtTheirShiftedTime()
{
    QFETCH(QString, extension);
    QFETCH(int, rate);
    QFETCH(QStringList, codec);
    QFETCH(bool, gapless);
    QFETCH(int, delay);
    const QString tag = QStringLiteral("%1-%2-%3").arg(rate).arg(codec.value(1, "pcm")).arg(codec.size());

    // Part 1 is no whole number of codec frames long.
    const double seconds1 = 1.3717;
    const std::vector<double> clicks = {0.1, 0.35, 0.6, 0.85, 1.1, 1.35, 1.6, 1.85};
    const QString wav1 = path("source1-" + tag + ".wav");
    const QString wav2 = path("source2-" + tag + ".wav");
    writeBytes(wav1, clickWav(rate, seconds1, {}));
    writeBytes(wav2, clickWav(rate, 2.0, clicks));
    const QString file1 = encode(wav1, "part1-" + tag + "." + extension, codec);
    const QString file2 = encode(wav2, "part2-" + tag + "." + extension, codec);

    const QString out = path("clicks-" + tag + ".wav");
    std::vector<JoinPart> parts{{file1}, {file2}};
    const qint64 total = joinParts(out, parts);
    const qint64 frames1 = parts[0].frames;
    const qint64 start2 = parts[1].firstFrame;
    const std::vector<qint16> joined = samplesAfter44(out);
    QCOMPARE(qint64(joined.size()), total);
    // Open Wav shows the lengths Glue decodes.
    QCOMPARE(probeRecording(file1).frames, frames1);
    QCOMPARE(probeRecording(file2).frames, parts[1].frames);

    // Where the clicks belong: after part 1 as it was recorded, plus what a
    // format without gapless information adds to it, which ffmpeg's own
    // decoding shows.
    const qint64 recorded1 = qint64(seconds1 * rate);
    qint64 added = 0;
    if (!gapless) {
        QByteArray pcm;
        QCOMPARE(runProgram("ffmpeg", {"-nostdin", "-v", "error", "-i", file1, "-f", "s16le", "-"}, &pcm), QString());
        added = pcm.size() / 2 - recorded1;
        QVERIFY(added > 0);
        qInfo("part 1 decodes to %lld frames (%.1f ms) more than it was recorded", added, added * 1000.0 / rate);
    }
    // Part 1's length as stored, within 2 ms of what was recorded: ffmpeg's
    // AAC encoding states a length a few frames off (+15 frames at 48 kHz,
    // -30 at 44.1 kHz for this part).
    const qint64 truth = framesAt16k(recorded1 + added, quint32(rate));
    QCOMPARE(start2, framesAt16k(frames1, quint32(rate)));
    QVERIFY2(std::abs(start2 - truth) <= 32,
             qPrintable(QStringLiteral("part 1 is %1 ms off").arg((start2 - truth) / 16.0)));
    if (gapless && extension != u"m4a")
        QCOMPARE(frames1, recorded1);

    // Each click at its time in part 2 plus the offset of part 2, and the
    // delay of a format that does not tell it.
    if (delay > 0)
        qInfo("the clicks of part 2 come %.1f ms late", delay * 1000.0 / rate);
    for (double t : clicks) {
        const qint64 expected = start2 + qint64(std::llround(t * 16000)) + framesAt16k(delay, quint32(rate));
        // The loudest sample within 20 ms of where the click belongs.
        qint64 found = expected;
        for (qint64 i = expected - 320; i <= expected + 320; ++i)
            if (std::abs(joined[size_t(i)]) > std::abs(joined[size_t(found)]))
                found = i;
        QVERIFY2(std::abs(found - expected) <= 32,
                 qPrintable(QStringLiteral("click at %1 s lands %2 ms off").arg(t).arg((found - expected) / 16.0)));
    }
}

QTEST_GUILESS_MAIN(TestDecodedJoin)
#include "tst_decodedjoin.moc"
