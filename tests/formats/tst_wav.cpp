#include "base/error.h"
#include "support/files.h"
#include "formats/filebytesource.h"
#include "formats/memorybytesource.h"
#include "formats/recording.h"
#include "formats/wavheader.h"
#include "formats/wavstream.h"
#include "support/wavbuilder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

const QString truncated = QStringLiteral("Truncated WAV header");

// Float samples as the little-endian bytes of their IEEE form.
template <typename T>
QByteArray littleEndian(const QList<T> &values)
{
    QByteArray b;
    for (T value : values) {
        char x[sizeof(T)];
        qToLittleEndian(value, x);
        b.append(x, sizeof(T));
    }
    return b;
}

QByteArray f32(const QList<float> &values)
{
    return littleEndian(values);
}

QByteArray f64(const QList<double> &values)
{
    return littleEndian(values);
}

QByteArray s24(const QList<int> &values)
{
    QByteArray b;
    for (int value : values)
        b += le32(quint32(value)).left(3);
    return b;
}

QByteArray s32(const QList<qint32> &values)
{
    QByteArray b;
    for (qint32 value : values)
        b += le32(quint32(value));
    return b;
}

QByteArray fmt(quint16 format, quint16 channels, quint32 rate, quint16 bits)
{
    return chunk("fmt ", fmtBody(format, channels, rate, bits));
}

QByteArray data(int bytes) { return chunk("data", QByteArray(bytes, '\x01')); }

std::vector<qint16> asVector(const QList<int> &l) { return {l.begin(), l.end()}; }

} // namespace

class TestWav : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void headerIsChecked_data();
    void headerIsChecked();
    void truncatedFileGivesTheMessage_data();
    void truncatedFileGivesTheMessage();
    void unopenablePathNamesFileAndReason_data();
    void unopenablePathNamesFileAndReason();
    void fileOver4GBIsRefused();
    void samplesAreAveragedRoundedAndClipped_data();
    void samplesAreAveragedRoundedAndClipped();
    void memorySourceGivesTheSamplesOfTheFile_data();
    void memorySourceGivesTheSamplesOfTheFile();
    void byteSourcesReadWhatTheyHold();

private:
    QString path(const QString &name) const { return folder->filePath(name); }
    QString make(const QString &name, const QByteArray &content)
    {
        const QString p = path(name);
        if (!tryWriteBytes(p, content))
            qFatal("cannot write %s", qPrintable(p));
        return p;
    }

    std::unique_ptr<QTemporaryDir> folder;
};

void TestWav::init()
{
    folder = std::make_unique<QTemporaryDir>();
    QVERIFY(folder->isValid());
}

void TestWav::headerIsChecked_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::addColumn<qint64>("frames");
    QTest::addColumn<int>("format");
    // What FFmpeg's decoders read a file as that the own reader refuses, and
    // probeRecording then accepts; empty when they refuse it too, "text" for
    // a text file.
    QTest::addColumn<QString>("decoded");

    const QByteArray fmt16 = fmt(1, 1, 16000, 16);
    const QByteArray d10 = data(10);
    auto accepted = [](const char *name, const QByteArray &b, qint64 frames, int format = 1) {
        QTest::newRow(name) << b << QString() << frames << format << QString();
    };
    auto error = [](const char *name, const QByteArray &b, const char *message, const char *decoded = "") {
        QTest::newRow(name) << b << QString::fromLatin1(message) << qint64(0) << 0 << QString::fromLatin1(decoded);
    };

    accepted("canonical mono 16-bit", riff(fmt16 + data(320000)), 160000);
    error("RIFX instead of RIFF", "RIFX" + riff(fmt16 + d10).mid(4), "Wrong idRIFF");
    error("a text file", "Hello, this is no recording at all.", "Wrong idRIFF", "text");
    error("an AVI form", riff(fmt16 + d10).replace("WAVE", "AVI "), "Wrong idWAVE");

    // The chunk walk.
    accepted("JUNK before fmt", riff(chunk("JUNK", QByteArray(28, '\0')) + fmt16 + d10), 5);
    accepted("bext of odd size before fmt", riff(chunk("bext", "1234567") + fmt16 + d10), 5);
    error("data before fmt", riff(d10 + fmt16), "Wrong idFmt", "PCM_S16LE");
    error("no fmt at all", riff(chunk("LIST", "INFO")), "Wrong idFmt");
    error("nothing after WAVE", riff({}), "Wrong idFmt");
    error("fmt but no data", riff(fmt16), "Wrong idData");
    error("fmt and LIST but no data", riff(fmt16 + chunk("LIST", "INFOabcd")), "Wrong idData");
    accepted("fact of 4 bytes", riff(fmt16 + chunk("fact", le32(5)) + d10), 5);
    accepted("fact of 8 bytes", riff(fmt16 + chunk("fact", le32(5) + le32(0)) + d10), 5);
    accepted("LIST before data", riff(fmt16 + chunk("LIST", "INFOISFT") + d10), 5);
    accepted("fact then LIST", riff(fmt16 + chunk("fact", le32(5)) + chunk("LIST", "INFO") + d10), 5);
    accepted("LIST of odd size, padded", riff(fmt16 + chunk("LIST", "INFOx") + d10), 5);
    accepted("fmtSize 18", riff(chunk("fmt ", fmtBody(1, 1, 16000, 16, QByteArray(2, '\0'))) + d10), 5);
    accepted("fmtSize 17, padded", riff(chunk("fmt ", fmtBody(1, 1, 16000, 16, QByteArray(1, '\0'))) + d10), 5);
    accepted("a second fmt is skipped", riff(fmt16 + fmt(1, 2, 8000, 8) + d10), 5);
    error("id with a zero byte", riff(fmt16 + chunk("da\0a", "12")), "Wrong idData");
    error("DATA in capitals", riff(fmt16 + chunk("DATA", "12")), "Wrong idData");
    error("LIST running past the end", riff(fmt16 + "LIST" + le32(100) + QByteArray(10, 'x')),
         "Truncated WAV header");

    // The formats.
    error("fmt shorter than 16 bytes", riff(chunk("fmt ", fmtBody(1, 1, 16000, 16).left(14)) + d10),
         "Unknown format", "PCM_U8");
    error("ADPCM", riff(fmt(2, 1, 16000, 4) + d10), "Unknown format", "ADPCM_MS");
    error("A-law", riff(fmt(6, 1, 8000, 8) + d10), "Unknown format", "PCM_ALAW");
    error("16-bit float", riff(fmt(3, 1, 16000, 16) + d10), "Unknown format");
    error("12-bit integer", riff(fmt(1, 1, 16000, 12) + d10), "Unknown format", "PCM_S16LE");
    error("64-bit integer", riff(fmt(1, 1, 16000, 64) + d10), "Unknown format", "PCM_S64LE");
    error("no channels", riff(fmt(1, 0, 16000, 16) + d10), "Unknown format");
    error("rate 0", riff(fmt(1, 1, 0, 16) + d10), "Unknown format");
    accepted("8-bit", riff(fmt(1, 1, 8000, 8) + data(10)), 10);
    accepted("24-bit stereo", riff(fmt(1, 2, 48000, 24) + data(13)), 2);
    accepted("32-bit float", riff(fmt(3, 1, 44100, 32) + data(12)), 3, 3);
    accepted("64-bit float", riff(fmt(3, 1, 22050, 64) + data(16)), 2, 3);
    accepted("extensible 24-bit stereo", riff(chunk("fmt ", extensibleBody(1, 2, 48000, 24)) + data(12)), 2);
    accepted("extensible float", riff(chunk("fmt ", extensibleBody(3, 2, 48000, 32)) + data(16)), 2, 3);
    error("extensible ADPCM", riff(chunk("fmt ", extensibleBody(2, 1, 16000, 16)) + d10),
         "Unknown format");
    QByteArray foreign = extensibleBody(1, 1, 16000, 16);
    foreign[39] = 'x';
    error("extensible with a foreign GUID", riff(chunk("fmt ", foreign) + d10), "Unknown format");
    error("extensible cut to 18 bytes",
         riff(chunk("fmt ", extensibleBody(1, 1, 16000, 16).left(18)) + d10), "Unknown format");

    // The data chunk.
    accepted("data running past the end", riff(fmt(1, 2, 16000, 16) + "data" + le32(1000) + QByteArray(103, '\x02')),
       25);
    accepted("data size of a streaming writer", riff(fmt16 + "data" + le32(0xFFFFFFFF) + QByteArray(40, '\x02')),
       20);
    accepted("empty data", riff(fmt16 + data(0)), 0);
    accepted("data of odd size", riff(fmt16 + data(11)), 5);
}

void TestWav::headerIsChecked()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QFETCH(qint64, frames);
    QFETCH(int, format);
    QFETCH(QString, decoded);

    const QString p = make("header.wav", file);
    const MemoryByteSource memory(file, "in memory");
    if (!message.isEmpty()) {
        // Read from a file, a header error names the file; a file FFmpeg
        // reads is accepted by probeRecording and streamRecording all the same.
        const QString named = "\"" + p + "\": " + message;
        QCOMPARE(errorMessage([&] { parseWavHeader(FileByteSource(p)); }), named);
        if (decoded.isEmpty() || decoded == u"text") {
            // Neither reader takes it: both reasons, or that it is text.
            const QString refused = decoded.isEmpty() ? refusedRecording(p, message)
                                                      : "\"" + p + "\" is a text file, not a recording";
            QCOMPARE(withoutFfmpegReason(errorMessage([&] { probeRecording(p); })), refused);
            QCOMPARE(withoutFfmpegReason(errorMessage([&] { streamRecording(p, [](std::span<const qint16>) {}); })),
                     refused);
        } else {
            const RecordingInfo info = probeRecording(p);
            QCOMPARE(info.format, decoded);
            QVERIFY(info.decoded);
            QCOMPARE(streamRecording(p, [](std::span<const qint16>) {}), info.frames);
        }
        QCOMPARE(errorMessage([&] { parseWavHeader(memory); }), "\"in memory\": " + message);
        const MemoryByteSource unnamed(file);
        QCOMPARE(errorMessage([&] { parseWavHeader(unnamed); }), message);
        return;
    }
    // The same bytes in memory read as the file does.
    WavLayout fromMemory;
    QCOMPARE(errorMessage([&] { fromMemory = parseWavHeader(memory); }), QStringLiteral("(no error)"));
    QCOMPARE(fromMemory.frameCount, frames);
    QCOMPARE(int(fromMemory.format), format);
    const WavLayout fromFile = parseWavHeader(FileByteSource(p));
    QCOMPARE(fromFile.dataStart, fromMemory.dataStart);
    QCOMPARE(int(fromFile.format), format);
    RecordingInfo g;
    QCOMPARE(errorMessage([&] { g = probeRecording(p); }), QStringLiteral("(no error)"));
    QCOMPARE(g.frames, frames);
    QCOMPARE(g.format, QStringLiteral("RIFF"));
    QVERIFY(!g.decoded);
    QCOMPARE(g.channels, int(fromFile.header.numChannels));
    QCOMPARE(g.rate, fromFile.header.sampleRate);

    qint64 samples = 0;
    QCOMPARE(streamRecording(p, [&](std::span<const qint16> b) { samples += qint64(b.size()); }), frames);
    QCOMPARE(samples, framesAt16k(frames, g.rate));
}

void TestWav::truncatedFileGivesTheMessage_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("message");
    QTest::addColumn<qint64>("frames");

    // A file cut exactly between two chunks lacks a chunk; cut anywhere
    // else before the data, it is short.
    const QList<QByteArray> chunks = {
        chunk("bext", "12345"),
        chunk("fmt ", fmtBody(1, 1, 16000, 16, QByteArray(2, '\0'))),
        chunk("LIST", "abc"),
    };
    QMap<int, QString> limits;
    int end = 12;
    limits[end] = "Wrong idFmt";
    for (const QByteArray &c : chunks) {
        end += int(c.size());
        limits[end] = c.startsWith("bext") ? "Wrong idFmt" : "Wrong idData";
    }
    const int dataStart = end + 8;
    for (int n = 0; n < dataStart; ++n)
        QTest::newRow(qPrintable(QStringLiteral("cut at %1").arg(n)))
            << n << limits.value(n, truncated) << qint64(0);
    for (int n = dataStart; n <= dataStart + 8; ++n)
        QTest::newRow(qPrintable(QStringLiteral("cut at %1 in the data").arg(n)))
            << n << QString() << qint64((n - dataStart) / 2);
}

void TestWav::truncatedFileGivesTheMessage()
{
    QFETCH(int, length);
    QFETCH(QString, message);
    QFETCH(qint64, frames);

    const QByteArray whole = riff(chunk("bext", "12345") +
                                 chunk("fmt ", fmtBody(1, 1, 16000, 16, QByteArray(2, '\0'))) +
                                 chunk("LIST", "abc") + chunk("data", pcm16({1, 2, 3, 4})));
    const QString p = make("short.wav", whole.left(length));
    if (!message.isEmpty()) {
        QCOMPARE(errorMessage([&] { parseWavHeader(FileByteSource(p)); }), "\"" + p + "\": " + message);
        QCOMPARE(withoutFfmpegReason(errorMessage([&] { probeRecording(p); })), refusedRecording(p, message));
        return;
    }
    RecordingInfo g;
    QCOMPARE(errorMessage([&] { g = probeRecording(p); }), QStringLiteral("(no error)"));
    QCOMPARE(g.frames, frames);
    std::vector<qint16> samples;
    streamRecording(p, [&](std::span<const qint16> b) { samples.insert(samples.end(), b.begin(), b.end()); });
    const std::vector<qint16> all = {1, 2, 3, 4};
    QCOMPARE(samples, std::vector<qint16>(all.begin(), all.begin() + frames));
}

void TestWav::unopenablePathNamesFileAndReason_data()
{
    QTest::addColumn<QString>("name"); // inside the test folder; "" for the empty path
    QTest::addColumn<bool>("isFolder");
    QTest::addColumn<int>("reason");
    QTest::newRow("no such file") << "missing.wav" << false << ENOENT;
    QTest::newRow("a folder") << "folder.wav" << true << EISDIR;
    QTest::newRow("empty path") << "" << false << ENOENT;
}

void TestWav::unopenablePathNamesFileAndReason()
{
    QFETCH(QString, name);
    QFETCH(bool, isFolder);
    QFETCH(int, reason);

    const QString p = name.isEmpty() ? QString() : path(name);
    if (isFolder)
        QVERIFY(QDir().mkdir(p));
    const QString message =
        QStringLiteral("Cannot open file \"%1\". %2").arg(p, QString::fromLocal8Bit(std::strerror(reason)));
    QCOMPARE(errorMessage([&] { probeRecording(p); }), message);
    QCOMPARE(errorMessage([&] { streamRecording(p, [](std::span<const qint16>) {}); }), message);
}

void TestWav::fileOver4GBIsRefused()
{
    // A sparse file: the size is there without the disk space. A JUNK chunk
    // after the samples spans the rest, as recorders pad their files: a
    // reader that walks the chunks after "data" steps over it at once
    // (zeros there would be read as 8-byte chunks, half a billion of them).
    const QString p = make("large.wav", wav16k({1, 2, 3}) + "JUNK" + le32(quint32(0xFFFFFFFFLL + 9 - 58)));
    QVERIFY(QFile::resize(p, 0xFFFFFFFFLL + 9));
    QCOMPARE(errorMessage([&] { parseWavHeader(FileByteSource(p)); }),
             QStringLiteral("The file \"%1\" is larger than 4 GB, more than the sizes in a "
                            "WAV header can describe").arg(p));
    // FFmpeg's decoders read it by its data chunk's size.
    const RecordingInfo decoded = probeRecording(p);
    QCOMPARE(decoded.format, QStringLiteral("PCM_S16LE"));
    QCOMPARE(decoded.frames, qint64(3));
    // One byte less still fits the RIFF sizes: the own reader takes it.
    QVERIFY(QFile::resize(p, 0xFFFFFFFFLL + 8));
    const RecordingInfo own = probeRecording(p);
    QCOMPARE(own.frames, qint64(3));
    QVERIFY(!own.decoded);
}

void TestWav::samplesAreAveragedRoundedAndClipped_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<int>>("expected");

    // All at 16 kHz, so no resampling blurs the arithmetic.
    const float lsb = 1.0f / 32768;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    QTest::newRow("float rounds half to even and clips")
        << riff(fmt(3, 1, 16000, 32) +
                chunk("data", f32({0.5f * lsb, 1.5f * lsb, 2.5f * lsb, -0.5f * lsb, -1.5f * lsb,
                                   0.25f, 1.0f, -1.0f, 2.0f, -3.0f, nan, inf, -inf})))
        << QList<int>{0, 2, 2, 0, -2, 8192, 32767, -32768, 32767, -32768, 0, 32767, -32768};
    QTest::newRow("64-bit float")
        << riff(fmt(3, 1, 16000, 64) + chunk("data", f64({0.25, -0.5, 3.5 / 32768, 1e300})))
        << QList<int>{8192, -16384, 4, 32767};
    QTest::newRow("stereo 16-bit averages")
        << riff(fmt(1, 2, 16000, 16) +
                chunk("data", pcm16({1, 2, 1, 0, 3, 0, 5, 0, -32768, -32767, 32767, 32767,
                                     -32768, 32767, 1000, -1000})))
        << QList<int>{2, 0, 2, 2, -32768, 32767, 0, 0};
    QTest::newRow("three channels average")
        << riff(fmt(1, 3, 16000, 16) + chunk("data", pcm16({3, 3, 3, 1, 1, 2, 300, -600, 0})))
        << QList<int>{3, 1, -100};
    QTest::newRow("8-bit is unsigned")
        << riff(fmt(1, 1, 16000, 8) + chunk("data", QByteArray::fromHex("0080ff0140")))
        << QList<int>{-32768, 0, 32512, -32512, -16384};
    QTest::newRow("24-bit")
        << riff(fmt(1, 1, 16000, 24) +
                chunk("data", s24({0x7FFFFF, -0x800000, 0x80, 0x180, -0x180, 0x123456})))
        << QList<int>{32767, -32768, 0, 2, -2, 0x1234};
    QTest::newRow("extensible 24-bit stereo")
        << riff(chunk("fmt ", extensibleBody(1, 2, 16000, 24)) +
                chunk("data", s24({0x100000, 0x300000, -0x400000, 0})))
        << QList<int>{0x2000, -0x2000};
    QTest::newRow("32-bit integer")
        << riff(fmt(1, 1, 16000, 32) +
                chunk("data", s32({0x7FFFFFFF, qint32(0x80000000), 0x8000, 0x18000, 0x12345678})))
        << QList<int>{32767, -32768, 0, 2, 0x1234};
}

void TestWav::samplesAreAveragedRoundedAndClipped()
{
    QFETCH(QByteArray, file);
    QFETCH(QList<int>, expected);

    const QString p = make("in.wav", file);
    std::vector<qint16> samples;
    streamRecording(p, [&](std::span<const qint16> b) { samples.insert(samples.end(), b.begin(), b.end()); });
    QCOMPARE(samples, asVector(expected));
}

void TestWav::memorySourceGivesTheSamplesOfTheFile_data()
{
    QTest::addColumn<QByteArray>("file");
    std::vector<qint16> ramp(3000);
    for (size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = qint16(i * 11 % 4000 - 2000);
    QTest::newRow("mono 16 kHz, copied") << wav16k(ramp);
    QTest::newRow("stereo 44.1 kHz, resampled") << riff(fmt(1, 2, 44100, 16) + chunk("data", pcm16(ramp)));
    QTest::newRow("data running past the end")
        << riff(fmt(1, 1, 22050, 16) + "data" + le32(100000) + pcm16(ramp));
}

void TestWav::memorySourceGivesTheSamplesOfTheFile()
{
    QFETCH(QByteArray, file);
    const QString p = make("in.wav", file);
    std::vector<qint16> fromFile, fromMemory;
    const qint64 frames =
        streamRecording(p, [&](std::span<const qint16> b) { fromFile.insert(fromFile.end(), b.begin(), b.end()); });
    const MemoryByteSource memory(file);
    const WavLayout layout = parseWavHeader(memory);
    streamWav(memory, layout, [&](std::span<const qint16> block) {
        fromMemory.insert(fromMemory.end(), block.begin(), block.end());
    });
    QCOMPARE(layout.frameCount, frames);
    QCOMPARE(qint64(fromMemory.size()), framesAt16k(frames, layout.header.sampleRate));
    QVERIFY(fromMemory == fromFile);
}

void TestWav::byteSourcesReadWhatTheyHold()
{
    const QByteArray bytes("0123456789");
    const QString p = make("bytes.bin", bytes);
    const FileByteSource file(p);
    const MemoryByteSource memory(bytes, "name");
    QCOMPARE(file.name(), p);
    QCOMPARE(memory.name(), QStringLiteral("name"));
    for (const ByteSource *source : {static_cast<const ByteSource *>(&file), static_cast<const ByteSource *>(&memory)}) {
        QCOMPARE(source->size(), qint64(10));
        char buffer[8] = {};
        QCOMPARE(source->readAt(buffer, 4, 3), qint64(4));
        QCOMPARE(QByteArray(buffer, 4), QByteArray("3456"));
        QCOMPARE(source->readAt(buffer, 8, 7), qint64(3)); // fewer only where the bytes end
        QCOMPARE(QByteArray(buffer, 3), QByteArray("789"));
        QCOMPARE(source->readAt(buffer, 8, 10), qint64(0));
        QCOMPARE(source->readAt(buffer, 8, 99), qint64(0));
    }
}

QTEST_GUILESS_MAIN(TestWav)
#include "tst_wav.moc"
