// Recordings written by real tools (sox, ffmpeg) are read and joined, and
// the joined file is checked by soxi and against sox's own conversion; WAV
// headers written here are read back by sox and ffprobe.

#include "base/atomicfile.h"
#include "support/files.h"
#include "formats/filebytesource.h"
#include "formats/joinpart.h"
#include "formats/wavheader.h"
#include "formats/wavwriter.h"
#include "support/wavbuilder.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>
#include <numbers>

namespace {

// Moves the "bext" chunk of a file to just after "WAVE", where field
// recorders write it (ffmpeg puts it after "fmt ").
QByteArray bextFirst(const QByteArray &file)
{
    QByteArray bext;
    QByteArray rest;
    qsizetype p = 12;
    while (p + 8 <= file.size()) {
        const quint32 n = qFromLittleEndian<quint32>(file.constData() + p + 4);
        const bool isData = file.mid(p, 4) == "data";
        const qsizetype length = isData ? file.size() - p : 8 + qsizetype(n) + (n & 1);
        (file.mid(p, 4) == "bext" ? bext : rest) += file.mid(p, length);
        p += length;
    }
    return riff(bext + rest);
}

// sox writes mono 16-bit with the bare 44-byte header.
const QStringList bareSox = {"fmt ", "data"};

// The fields of the "fmt " chunk as sox's WAV reader reads them (its debug
// output): "BYTES byte/sec, ALIGN block align, BITS bits/samp"; empty when
// sox says no such line.
QString soxFmtFields(const QString &path)
{
    QProcess sox;
    sox.setProcessChannelMode(QProcess::MergedChannels);
    sox.start("soxi", {"-V4", path});
    if (!sox.waitForFinished(60000))
        return {};
    static const QRegularExpression fields(QStringLiteral("\\d+ byte/sec, \\d+ block align, \\d+ bits/samp"));
    return fields.match(QString::fromLocal8Bit(sox.readAll())).captured();
}

} // namespace

class TestWavTools : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void realFilesAreReadAndJoined_data();
    void realFilesAreReadAndJoined();
    void sineComesOutAsSineAtTheSameLevel();
    void writtenHeaderTellsItsLayout_data();
    void writtenHeaderTellsItsLayout();

private:
    QTemporaryDir folder;
    QString path(const QString &name) const { return folder.filePath(name); }
};

void TestWavTools::initTestCase()
{
    QVERIFY(folder.isValid());
    for (const char *program : {"sox", "soxi", "ffmpeg", "ffprobe"}) {
        if (!hasProgram(program))
            QSKIP(qPrintable(QStringLiteral("%1 is not installed (scripts/install-deps.sh)").arg(program)));
    }
}

void TestWavTools::realFilesAreReadAndJoined_data()
{
    QTest::addColumn<QString>("maker");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("bextBeforeFmt");
    QTest::addColumn<int>("audioFormat"); // as stored
    QTest::addColumn<QStringList>("chunks");

    const QStringList bare = {"fmt ", "data"};
    const QStringList fact = {"fmt ", "fact", "data"};
    const QStringList list = {"fmt ", "LIST", "data"};
    const QStringList factList = {"fmt ", "fact", "LIST", "data"};
    auto row = [](const char *name, const char *maker, int rate, int channels, const QStringList &options,
                  int audioFormat, const QStringList &chunks, bool bextBeforeFmt = false) {
        QTest::newRow(name) << QString(maker) << rate << channels << options << bextBeforeFmt << audioFormat
                            << chunks;
    };
    row("sox 16-bit mono 16 kHz", "sox", 16000, 1, {"-b", "16"}, 1, bare);
    row("sox 8-bit stereo 8 kHz", "sox", 8000, 2, {"-b", "8", "-e", "unsigned-integer"}, 1, bare);
    row("sox 16-bit stereo 44.1 kHz", "sox", 44100, 2, {"-b", "16"}, 1, bare);
    row("sox 24-bit stereo 48 kHz", "sox", 48000, 2, {"-b", "24"}, 0xFFFE, fact);
    row("sox 32-bit mono 22.05 kHz", "sox", 22050, 1, {"-b", "32", "-e", "signed-integer"}, 0xFFFE, fact);
    row("sox float stereo 44.1 kHz", "sox", 44100, 2, {"-b", "32", "-e", "floating-point"}, 3, fact);
    row("sox 64-bit float mono 48 kHz", "sox", 48000, 1, {"-b", "64", "-e", "floating-point"}, 3, fact);
    row("sox 16-bit 6 channels 16 kHz", "sox", 16000, 6, {"-b", "16"}, 0xFFFE, fact);
    row("ffmpeg 16-bit stereo 44.1 kHz", "ffmpeg", 44100, 2, {"-c:a", "pcm_s16le"}, 1, list);
    row("ffmpeg 16-bit mono 16 kHz", "ffmpeg", 16000, 1, {"-c:a", "pcm_s16le"}, 1, list);
    row("ffmpeg 24-bit mono 48 kHz with bext", "ffmpeg", 48000, 1,
        {"-c:a", "pcm_s24le", "-write_bext", "1"}, 0xFFFE, {"fmt ", "bext", "LIST", "data"});
    row("field recorder: bext before fmt", "ffmpeg", 48000, 2,
        {"-c:a", "pcm_s24le", "-write_bext", "1"}, 0xFFFE, {"bext", "fmt ", "LIST", "data"}, true);
    row("ffmpeg float stereo 48 kHz", "ffmpeg", 48000, 2, {"-c:a", "pcm_f32le"}, 0xFFFE, factList);
    row("ffmpeg float 6 channels 44.1 kHz", "ffmpeg", 44100, 6, {"-c:a", "pcm_f32le"}, 0xFFFE, factList);
    row("ffmpeg 8-bit mono 11.025 kHz", "ffmpeg", 11025, 1, {"-c:a", "pcm_u8"}, 1, list);
    row("ffmpeg 64-bit float stereo 8 kHz", "ffmpeg", 8000, 2, {"-c:a", "pcm_f64le"}, 0xFFFE, factList);
    row("ffmpeg 32-bit stereo 96 kHz", "ffmpeg", 96000, 2, {"-c:a", "pcm_s32le"}, 0xFFFE, list);
}

void TestWavTools::realFilesAreReadAndJoined()
{
    QFETCH(QString, maker);
    QFETCH(int, rate);
    QFETCH(int, channels);
    QFETCH(QStringList, options);
    QFETCH(bool, bextBeforeFmt);
    QFETCH(int, audioFormat);
    QFETCH(QStringList, chunks);

    // A different tone in each channel, so that a wrong mix shows.
    const QString source = path("source.wav");
    QString error = runProgram("sox", {"-n", "-r", QString::number(rate), "-c", QString::number(channels), "-b", "32",
                                 "-e", "floating-point", source, "synth", "0.5", "sine", "1000", "sine", "440",
                                 "sine", "250", "vol", "0.5"});
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QString in = path("in.wav");
    if (maker == "sox")
        error = runProgram("sox", QStringList{source} + options + QStringList{in});
    else
        error = runProgram("ffmpeg", QStringList{"-v", "error", "-y", "-i", source} + options + QStringList{in});
    QVERIFY2(error.isEmpty(), qPrintable(error));
    if (bextBeforeFmt)
        QVERIFY(tryWriteBytes(in, bextFirst(readBytes(in))));
    // The file is laid out as this row means it to be.
    QCOMPARE(chunkIds(readBytes(in)), chunks);

    const WavLayout header = parseWavHeader(FileByteSource(in));
    QCOMPARE(int(header.header.audioFormat), audioFormat);
    QCOMPARE(header.frameCount, soxi("-s", in));
    QCOMPARE(qint64(header.header.numChannels), soxi("-c", in));
    QCOMPARE(qint64(header.header.sampleRate), soxi("-r", in));
    QCOMPARE(qint64(header.header.bitsPerSample), soxi("-b", in));

    const std::vector<qint16> tail(4000, 1234);
    const QString shortFile = path("short.wav");
    QVERIFY(tryWriteBytes(shortFile, wav16k(tail)));
    const QString out = path("joined.wav");
    std::vector<JoinPart> parts{{in}, {shortFile}};
    const qint64 total = joinParts(out, parts);
    const qint64 start2 = parts[1].firstFrame;
    QCOMPARE(parts[0].frames, header.frameCount);
    QCOMPARE(parts[1].frames, qint64(tail.size()));
    QCOMPARE(start2, qint64(std::nearbyint(double(parts[0].frames) * 16000 / rate)));
    QCOMPARE(total, start2 + parts[1].frames);

    QCOMPARE(soxi("-c", out), qint64(1));
    QCOMPARE(soxi("-b", out), qint64(16));
    QCOMPARE(soxi("-r", out), qint64(16000));
    QCOMPARE(soxi("-s", out), total);

    const std::vector<qint16> joined = samplesAfter44(out);
    QCOMPARE(std::vector<qint16>(joined.begin() + start2, joined.end()), tail);
    const QString ref = path("sox.wav");
    error = runProgram("sox", {in, "-r", "16000", "-c", "1", "-b", "16", ref});
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(chunkIds(readBytes(ref)), bareSox);
    const std::vector<qint16> soxHalf = samplesAfter44(ref);
    QVERIFY2(std::abs(qint64(soxHalf.size()) - start2) <= 1,
             qPrintable(QStringLiteral("sox made %1 frames, the join %2").arg(soxHalf.size()).arg(start2)));
    const double snr = snrDb(soxHalf, std::vector<qint16>(joined.begin(), joined.begin() + start2));
    QVERIFY2(snr >= 40, qPrintable(QStringLiteral("SNR against sox: %1 dB").arg(snr)));
}

void TestWavTools::sineComesOutAsSineAtTheSameLevel()
{
    const double amplitude = 0.5;
    const QString in = path("sine.wav");
    QString error = runProgram("sox", {"-n", "-r", "44100", "-c", "2", "-b", "24", in, "synth", "1", "sine", "1000",
                                 "vol", QString::number(amplitude)});
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(parseWavHeader(FileByteSource(in)).header.bitsPerSample, quint16(24));

    const QString out = path("joined.wav");
    std::vector<JoinPart> parts{{in}, {in}};
    joinParts(out, parts);
    const qint64 start2 = parts[1].firstFrame;
    QCOMPARE(start2, qint64(16000));
    const std::vector<qint16> joined = samplesAfter44(out);
    const std::vector<qint16> half(joined.begin(), joined.begin() + start2);

    // Fit a 1 kHz sine over whole periods (16 samples) away from the ends.
    const int begin = 800;
    const int n = 16 * 900;
    double a = 0, b = 0;
    for (int i = begin; i < begin + n; ++i) {
        const double phase = 2 * std::numbers::pi * 1000 * i / 16000;
        a += half[size_t(i)] * std::sin(phase);
        b += half[size_t(i)] * std::cos(phase);
    }
    a *= 2.0 / n;
    b *= 2.0 / n;
    const double found = std::hypot(a, b);
    double rest = 0;
    for (int i = begin; i < begin + n; ++i) {
        const double phase = 2 * std::numbers::pi * 1000 * i / 16000;
        const double r = half[size_t(i)] - (a * std::sin(phase) + b * std::cos(phase));
        rest += r * r;
    }
    const double levelDb = 20 * std::log10(found / (amplitude * 32768));
    QVERIFY2(std::abs(levelDb) <= 0.5, qPrintable(QStringLiteral("level off by %1 dB").arg(levelDb)));
    const double restDb = 10 * std::log10((rest / n) / (found * found / 2));
    QVERIFY2(restDb <= -40, qPrintable(QStringLiteral("not a pure 1 kHz sine: rest %1 dB").arg(restDb)));

    const QString ref = path("sox.wav");
    error = runProgram("sox", {in, "-r", "16000", "-c", "1", "-b", "16", ref});
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(chunkIds(readBytes(ref)), bareSox);
    const double snr = snrDb(samplesAfter44(ref), half);
    QVERIFY2(snr >= 40, qPrintable(QStringLiteral("SNR against sox: %1 dB").arg(snr)));
}

void TestWavTools::writtenHeaderTellsItsLayout_data()
{
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("rate");
    QTest::newRow("mono 16-bit 16 kHz, the joined form") << 1 << 16 << 16000;
    QTest::newRow("stereo 16-bit 44.1 kHz") << 2 << 16 << 44100;
    QTest::newRow("stereo 24-bit 48 kHz") << 2 << 24 << 48000;
    QTest::newRow("6 channels 32-bit 96 kHz") << 6 << 32 << 96000;
    QTest::newRow("mono 8-bit 8 kHz") << 1 << 8 << 8000;
}

void TestWavTools::writtenHeaderTellsItsLayout()
{
    QFETCH(int, channels);
    QFETCH(int, bits);
    QFETCH(int, rate);
    const int blockAlign = channels * bits / 8;
    const qint64 byteRate = qint64(rate) * blockAlign;
    const qint64 frames = rate / 10 + 3;
    const QString file = path("geschreven.wav");
    AtomicFile out(file);
    writeWavHeader(out, quint16(channels), quint16(bits), quint32(rate), frames);
    out.write(QByteArray(frames * blockAlign, '\0'));
    out.commit();
    QCOMPARE(QFileInfo(file).size(), 44 + frames * blockAlign);

    const WavLayout layout = parseWavHeader(FileByteSource(file));
    QCOMPARE(int(layout.header.numChannels), channels);
    QCOMPARE(int(layout.header.bitsPerSample), bits);
    QCOMPARE(qint64(layout.header.sampleRate), qint64(rate));
    QCOMPARE(int(layout.header.blockAlign), blockAlign);
    QCOMPARE(qint64(layout.header.byteRate), byteRate);
    QCOMPARE(layout.frameCount, frames);

    // sox reads the fields as stored; ffprobe tells the byte rate as bits.
    QCOMPARE(soxFmtFields(file),
             QStringLiteral("%1 byte/sec, %2 block align, %3 bits/samp").arg(byteRate).arg(blockAlign).arg(bits));
    QCOMPARE(soxi("-c", file), qint64(channels));
    QCOMPARE(soxi("-r", file), qint64(rate));
    QCOMPARE(soxi("-s", file), frames);
    QByteArray probed;
    QCOMPARE(runProgram("ffprobe", {"-v", "error", "-show_entries", "stream=sample_rate,channels,bits_per_sample,bit_rate",
                                    "-of", "default=noprint_wrappers=1", file},
                        &probed),
             QString());
    QCOMPARE(QString::fromLatin1(probed).split('\n', Qt::SkipEmptyParts),
             QStringList({QStringLiteral("sample_rate=%1").arg(rate), QStringLiteral("channels=%1").arg(channels),
                          QStringLiteral("bits_per_sample=%1").arg(bits),
                          QStringLiteral("bit_rate=%1").arg(byteRate * 8)}));
}

QTEST_GUILESS_MAIN(TestWavTools)
#include "tst_wavtools.moc"
