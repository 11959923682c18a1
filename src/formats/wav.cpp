#include "formats/wav.h"

#include "base/atomicfile.h"
#include "base/error.h"
#include "base/paths.h"
#include "formats/audiodecoder.h"
#include "formats/bytesource.h"
#include "formats/filebytesource.h"

#include <QtEndian>

#include <soxr.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <tuple>
#include <vector>

namespace {

// RIFF sizes are unsigned 32-bit: the RIFF size counts the file minus its
// first 8 bytes, and the data of a written file comes after a 44-byte header.
constexpr qint64 maxRiffSize = 0xFFFFFFFFLL;
constexpr qint64 maxFileSize = maxRiffSize + 8;
constexpr qint64 maxDataBytes = maxRiffSize - 36;

// Large enough that the system calls cost nothing next to the copying,
// small enough that two open recordings stay far below the memory limit.
constexpr qint64 blockBytes = 1 << 20;

const char *const truncated = "Truncated WAV header";

bool isId(const char *id, const char (&expected)[5])
{
    return std::memcmp(id, expected, 4) == 0;
}

void checkDataSize(qint64 dataBytes)
{
    if (dataBytes < 0 || dataBytes > maxDataBytes)
        throw Error(QStringLiteral("The joined recording would be larger than 4 GB, "
                                   "more than a WAV file can hold"));
}

quint16 le16(const unsigned char *p) { return qFromLittleEndian<quint16>(p); }
quint32 le32(const unsigned char *p) { return qFromLittleEndian<quint32>(p); }

// The "fmt " chunk of the given size whose body starts at position.
void readFmt(const ByteSource &source, qint64 position, quint32 size, WavInfo &info)
{
    // 16 bytes for PCM and float, 40 for WAVE_FORMAT_EXTENSIBLE; more is never needed.
    unsigned char f[40] = {};
    const qint64 needed = std::min<qint64>(size, sizeof f);
    if (source.readAt(f, needed, position) < needed)
        throw Error(truncated);
    if (size < 16)
        throw Error("Unknown format");

    WavHeader &h = info.header;
    std::memcpy(h.idFmt, "fmt ", 4);
    h.fmtSize = size;
    h.audioFormat = le16(f);
    h.numChannels = le16(f + 2);
    h.sampleRate = le32(f + 4);
    h.byteRate = le32(f + 8);
    h.blockAlign = le16(f + 12);
    h.bitsPerSample = le16(f + 14);

    quint16 format = h.audioFormat;
    if (format == 0xFFFE) {
        // The subformat GUID is the format code followed by the fixed tail
        // of KSDATAFORMAT_SUBTYPE_PCM; any other GUID is some other coding.
        static const unsigned char guidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                   0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        if (size < 40 || std::memcmp(f + 26, guidTail, sizeof guidTail) != 0)
            throw Error("Unknown format");
        format = le16(f + 24);
    }
    const quint16 bits = h.bitsPerSample;
    const bool pcm = format == 1 && (bits == 8 || bits == 16 || bits == 24 || bits == 32);
    const bool floating = format == 3 && (bits == 32 || bits == 64);
    if (!(pcm || floating) || h.numChannels == 0 || h.sampleRate == 0)
        throw Error("Unknown format");
    info.format = format;
}

qint16 toInt16(float x)
{
    const float v = x * 32768.0f;
    if (std::isnan(v))
        return 0;
    if (v >= 32767.0f)
        return 32767;
    if (v <= -32768.0f)
        return -32768;
    return static_cast<qint16>(std::lrintf(v)); // the default rounding: half to even
}

// Averages the channels of each frame into one sample in [-1, 1), or takes
// the one channel picked (an index below channels, -1 for all).
template <typename Sample>
void mixToMono(const unsigned char *p, qint64 frames, int channels, int sampleBytes,
               float *out, Sample sample, int picked)
{
    if (channels == 1 || picked >= 0) {
        const qint64 step = qint64(channels) * sampleBytes;
        p += std::max(picked, 0) * sampleBytes;
        for (qint64 f = 0; f < frames; ++f, p += step)
            out[f] = float(sample(p));
        return;
    }
    for (qint64 f = 0; f < frames; ++f) {
        double sum = 0;
        for (int c = 0; c < channels; ++c, p += sampleBytes)
            sum += sample(p);
        out[f] = float(sum / channels);
    }
}

void decode(const WavInfo &info, const unsigned char *p, qint64 frames, float *out, int picked)
{
    const int channels = info.header.numChannels;
    switch (info.format == 3 ? -int(info.header.bitsPerSample) : int(info.header.bitsPerSample)) {
    case 8:  // unsigned, 128 is silence
        mixToMono(p, frames, channels, 1, out, [](const unsigned char *s) {
            return (double(*s) - 128.0) / 128.0;
        }, picked);
        break;
    case 16:
        mixToMono(p, frames, channels, 2, out, [](const unsigned char *s) {
            return qFromLittleEndian<qint16>(s) / 32768.0;
        }, picked);
        break;
    case 24:
        mixToMono(p, frames, channels, 3, out, [](const unsigned char *s) {
            // Into the top of an int32, so the shift back extends the sign.
            const qint32 w = qint32(quint32(s[0]) << 8 | quint32(s[1]) << 16 | quint32(s[2]) << 24);
            return (w >> 8) / 8388608.0;
        }, picked);
        break;
    case 32:
        mixToMono(p, frames, channels, 4, out, [](const unsigned char *s) {
            return qFromLittleEndian<qint32>(s) / 2147483648.0;
        }, picked);
        break;
    case -32:
        mixToMono(p, frames, channels, 4, out, [](const unsigned char *s) {
            return double(qFromLittleEndian<float>(s));
        }, picked);
        break;
    case -64:
        mixToMono(p, frames, channels, 8, out, [](const unsigned char *s) {
            return qFromLittleEndian<double>(s);
        }, picked);
        break;
    default:
        throw Error("Unknown format"); // readFmt lets no other layout through
    }
}

// Hands exactly target samples to process: whatever comes beyond is dropped,
// whatever is missing at the end is made up with silence. A target of -1 is
// told only at the end (a recording whose length is known once it has been
// decoded): until then the last few samples are held back, enough for the
// resampler's rounding of the length.
class SampleOutput
{
public:
    SampleOutput(qint64 target, const SampleBlock &process) : rest(target), process(process) {}

    bool full() const { return rest == 0; }

    void give(const float *x, qint64 n)
    {
        if (rest >= 0)
            n = std::min(n, rest);
        if (n <= 0)
            return;
        const size_t kept = held.size();
        samples.resize(kept + size_t(n));
        std::copy(held.begin(), held.end(), samples.begin());
        for (qint64 i = 0; i < n; ++i)
            samples[kept + size_t(i)] = toInt16(x[i]);
        held.clear();
        size_t out = samples.size();
        if (rest < 0) {
            out -= std::min(out, heldBack);
            held.assign(samples.begin() + qint64(out), samples.end());
        } else {
            rest -= n;
        }
        hand(samples.data(), out);
    }

    // Ends the output at target samples in all; target is needed only when
    // it was not known at the start.
    void fillUp(qint64 target = -1)
    {
        if (rest < 0) {
            hand(held.data(), size_t(std::clamp<qint64>(target - handed, 0, qint64(held.size()))));
            held.clear();
            rest = std::max<qint64>(0, target - handed);
        }
        const std::vector<float> silence(size_t(std::min<qint64>(rest, blockBytes / 2)), 0.0f);
        while (rest > 0)
            give(silence.data(), qint64(silence.size()));
    }

private:
    // Far more than the resampler's rounding of a length can add.
    static constexpr size_t heldBack = 4096;

    void hand(const qint16 *p, size_t n)
    {
        if (n == 0)
            return;
        process(std::span<const qint16>(p, n));
        handed += qint64(n);
    }

    qint64 rest;
    const SampleBlock &process;
    std::vector<qint16> samples;
    std::vector<qint16> held;
    qint64 handed = 0;
};

struct SoxrDelete
{
    void operator()(soxr_t s) const { soxr_delete(s); }
};
using Resampler = std::unique_ptr<std::remove_pointer_t<soxr_t>, SoxrDelete>;

void feed(soxr_t s, const float *in, qint64 n, std::vector<float> &buffer, SampleOutput &out)
{
    qint64 done = 0;
    for (;;) {
        size_t inputDone = 0;
        size_t outputDone = 0;
        const soxr_error_t error = soxr_process(s, in ? in + done : nullptr, size_t(n - done),
                                                &inputDone, buffer.data(), buffer.size(), &outputDone);
        if (error)
            throw Error(QStringLiteral("Cannot resample the recording. %1").arg(QLatin1StringView(error)));
        done += qint64(inputDone);
        out.give(buffer.data(), qint64(outputDone));
        if (in ? done >= n : (outputDone == 0 || out.full()))
            return;
    }
}

// The exact path: a mono 16-bit 16 kHz recording's samples go out as they are.
void copy16k(const ByteSource &source, const WavInfo &info, const SampleBlock &process)
{
    std::vector<qint16> buffer(static_cast<size_t>(blockBytes / 2));
    qint64 rest = info.frameCount;
    qint64 position = info.dataStart;
    while (rest > 0) {
        const qint64 n = std::min<qint64>(rest, qint64(buffer.size()));
        const qint64 read = source.readAt(buffer.data(), n * 2, position) / 2;
        // The file got shorter since its header was read: silence keeps the count.
        std::fill(buffer.begin() + read, buffer.begin() + n, qint16(0));
        if constexpr (Q_BYTE_ORDER == Q_BIG_ENDIAN) {
            for (qint64 i = 0; i < n; ++i)
                buffer[size_t(i)] = qFromLittleEndian(buffer[size_t(i)]);
        }
        process(std::span<const qint16>(buffer.data(), size_t(n)));
        position += n * 2;
        rest -= n;
    }
}

// Mono samples at the recording's rate in, exactly framesAt16k(frames, rate)
// samples at 16000 frames per second out: through libsoxr (high quality)
// unless the rate is 16000 already. Frames -1: the count is told to finish().
class To16k
{
public:
    To16k(quint32 rate, qint64 frames, qint64 framesPerBlock, const SampleBlock &process)
        : rate(rate), out(frames < 0 ? -1 : framesAt16k(frames, rate), process)
    {
        if (rate == wavRate)
            return;
        const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
        const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
        soxr_error_t error = nullptr;
        resampler.reset(soxr_create(rate, wavRate, 1, &error, &io, &quality, nullptr));
        if (!resampler || error)
            throw Error(QStringLiteral("Cannot resample the recording. %1")
                            .arg(QLatin1StringView(error ? error : "")));
        // soxr takes no more input per call than fits this buffer; the cap
        // keeps a very low input rate from asking for a huge one.
        outBuffer.resize(size_t(std::min<qint64>(framesPerBlock * wavRate / rate + 1024, 1 << 18)));
    }

    void push(const float *mono, qint64 n)
    {
        if (resampler)
            feed(resampler.get(), mono, n, outBuffer, out);
        else
            out.give(mono, n);
    }

    void finish(qint64 frames = -1)
    {
        if (resampler)
            feed(resampler.get(), nullptr, 0, outBuffer, out); // the tail still in the filter
        out.fillUp(frames < 0 ? -1 : framesAt16k(frames, rate));
    }

private:
    quint32 rate;
    SampleOutput out;
    Resampler resampler;
    std::vector<float> outBuffer;
};

void stream16k(const ByteSource &source, const WavInfo &info, const SampleBlock &process, int picked)
{
    const quint32 rate = info.header.sampleRate;
    if (info.format == 1 && info.header.bitsPerSample == 16 && info.header.numChannels == 1 &&
        rate == wavRate) {
        copy16k(source, info, process);
        return;
    }

    const qint64 frameSize = info.frameSize();
    const qint64 framesPerBlock = std::max<qint64>(1, blockBytes / frameSize);
    std::vector<unsigned char> raw(static_cast<size_t>(framesPerBlock * frameSize));
    std::vector<float> mono(static_cast<size_t>(framesPerBlock));
    To16k to16k(rate, info.frameCount, framesPerBlock, process);

    qint64 rest = info.frameCount;
    qint64 position = info.dataStart;
    while (rest > 0) {
        const qint64 n = std::min(rest, framesPerBlock);
        const qint64 read = source.readAt(raw.data(), n * frameSize, position) / frameSize;
        decode(info, raw.data(), read, mono.data(), picked);
        to16k.push(mono.data(), read);
        if (read < n)
            break; // the file got shorter since its header was read
        position += n * frameSize;
        rest -= n;
    }
    to16k.finish();
}

// The recording the own reader refused, through FFmpeg's decoders: the same
// mixing and resampling as a WAV file's samples, in one pass that learns the
// length on the way. Returns the frames decoded; cutShort tells whether the
// recording ended before the end its file promises.
qint64 streamDecoded(AudioDecoder &decoder, const SampleBlock &process, int picked, bool &cutShort)
{
    picked = std::min(picked, decoder.channels() - 1);
    // Decoders hand out small frames (1152 of MP3): they are gathered into
    // blocks, so that each step downstream works on many at once.
    const qint64 framesPerBlock = blockBytes / 4;
    std::vector<float> mono;
    mono.reserve(size_t(framesPerBlock) + 65536);
    To16k to16k(decoder.rate(), -1, framesPerBlock + 65536, process);
    qint64 count = 0;
    while (decoder.next()) {
        const qint64 n = decoder.frames();
        const size_t at = mono.size();
        mono.resize(at + size_t(n));
        decoder.mix(mono.data() + at, picked);
        count += n;
        if (qint64(mono.size()) >= framesPerBlock) {
            to16k.push(mono.data(), qint64(mono.size()));
            mono.clear();
        }
    }
    to16k.push(mono.data(), qint64(mono.size()));
    to16k.finish(count);
    cutShort = decoder.cutShort();
    return count;
}

// Opens the recording the own reader refused with ownError in FFmpeg's
// decoders; throws ownError when they cannot open it either or find no
// audio in it: a file that is neither is refused as a WAV file.
std::unique_ptr<AudioDecoder> openDecoder(const QString &path, const Error &ownError)
{
    try {
        return std::make_unique<AudioDecoder>(path);
    } catch (const Error &) {
        throw ownError;
    }
}

// What the decoder tells of a recording before it is decoded.
WavInfo decoderInfo(const AudioDecoder &decoder)
{
    WavInfo info;
    info.decodedFormat = decoder.formatName();
    info.header.numChannels = quint16(std::min(decoder.channels(), 0xFFFF));
    info.header.sampleRate = decoder.rate();
    return info;
}

// Counts the frames of the recording the own reader refused with ownError.
WavInfo decodedInfo(const QString &path, const Error &ownError)
{
    std::unique_ptr<AudioDecoder> decoder = openDecoder(path, ownError);
    WavInfo info = decoderInfo(*decoder);
    info.frameCount = decoder->countFrames();
    info.cutShort = decoder->cutShort();
    if (info.cutShort) {
        // The packets of a damaged file may promise more than the decoder
        // makes of them: what it makes is the length.
        decoder = openDecoder(path, ownError);
        info.frameCount = 0;
        while (decoder->next())
            info.frameCount += decoder->frames();
    }
    if (info.frameCount == 0)
        throw ownError; // not a single frame: no recording
    return info;
}

// One input of a join: a WAV file of the own reader, known from its header,
// or a recording for FFmpeg's decoders, whose length is known once decoded.
struct JoinInput
{
    explicit JoinInput(const QString &path) : path(path), source(path)
    {
        try {
            info = parseWavHeader(source);
        } catch (const Error &e) {
            if (e.message().startsWith(u"Cannot "))
                throw;
            ownError = e;
            decoder = openDecoder(path, e);
            info = decoderInfo(*decoder);
            info.frameCount = -1;
        }
    }

    // Streams the recording at 16 kHz mono; returns its frame count.
    qint64 stream(const SampleBlock &process, ChannelChoice channels, QStringList *warnings)
    {
        const int picked = chosenChannel(channels, info.header.numChannels);
        if (!decoder) {
            stream16k(source, info, process, picked);
            return info.frameCount;
        }
        bool cutShort = false;
        const qint64 count = streamDecoded(*decoder, process, picked, cutShort);
        if (count == 0)
            throw ownError; // not a single frame: no recording
        if (cutShort && warnings)
            warnings->append(QStringLiteral("\"%1\": the recording is cut short or damaged; the %2 frames "
                                            "that could be decoded are joined.").arg(path).arg(count));
        return count;
    }

    const QString &path;
    const FileByteSource source; // open for the whole join
    WavInfo info;
    std::unique_ptr<AudioDecoder> decoder;
    Error ownError{QString()};
};

void putLe16(char *p, quint16 w) { qToLittleEndian(w, p); }
void putLe32(char *p, quint32 w) { qToLittleEndian(w, p); }

} // namespace

int WavInfo::frameSize() const
{
    return int(header.numChannels) * (header.bitsPerSample / 8);
}

QString WavInfo::formatText() const
{
    return decodedFormat.isEmpty() ? riffIdText() : decodedFormat;
}

QString WavInfo::riffIdText() const
{
    const qsizetype n = std::find(header.idRIFF, header.idRIFF + 4, '\0') - header.idRIFF;
    return QString::fromLatin1(header.idRIFF, n);
}

// Walks the chunks up to the first data byte. Chunks before "fmt " and
// between "fmt " and "data" ("bext", "JUNK", "fact", "LIST", ...) are skipped
// by their size plus the pad byte that follows an odd size.
namespace {

WavInfo walkWavHeader(const ByteSource &source)
{
    WavInfo info;
    unsigned char riff[12];
    const qint64 n = source.readAt(riff, sizeof riff, 0);
    if (n >= 4 && std::memcmp(riff, "RIFF", 4) != 0)
        throw Error("Wrong idRIFF");
    if (n < 12)
        throw Error(truncated);
    if (std::memcmp(riff + 8, "WAVE", 4) != 0)
        throw Error("Wrong idWAVE");
    if (source.size() > maxFileSize)
        throw Error(QStringLiteral("The file \"%1\" is larger than 4 GB, more than "
                                   "the sizes in a WAV header can describe")
                        .arg(source.name()));
    std::memcpy(info.header.idRIFF, riff, 4);
    info.header.riffSize = le32(riff + 4);
    std::memcpy(info.header.idWAVE, riff + 8, 4);

    bool fmtRead = false;
    qint64 position = 12;
    for (;;) {
        unsigned char chunk[8];
        const qint64 k = source.readAt(chunk, sizeof chunk, position);
        if (k == 0)
            throw Error(fmtRead ? "Wrong idData" : "Wrong idFmt");
        if (k < 8)
            throw Error(truncated);
        const char *id = reinterpret_cast<const char *>(chunk);
        const quint32 size = le32(chunk + 4);
        position += 8;
        if (isId(id, "data")) {
            if (!fmtRead)
                throw Error("Wrong idFmt");
            std::memcpy(info.chunk.idData, id, 4);
            info.chunk.dataSize = size;
            info.dataStart = position;
            // A recorder that stopped without closing its file leaves a size
            // that runs past the end: take the whole frames that are there.
            const qint64 present = std::min<qint64>(size, source.size() - position);
            info.frameCount = present / info.frameSize();
            return info;
        }
        if (isId(id, "fmt ") && !fmtRead) {
            readFmt(source, position, size, info);
            fmtRead = true;
        }
        position += qint64(size) + (size & 1);
        if (position > source.size())
            throw Error(truncated);
    }
}

} // namespace

// A header error of a named source names it: the person may have given two
// recordings.
WavInfo parseWavHeader(const ByteSource &source)
{
    try {
        return walkWavHeader(source);
    } catch (const Error &e) {
        const QString &m = e.message();
        if (source.name().isEmpty() || m.startsWith(u"Cannot ") || m.startsWith(u"The file \""))
            throw;
        throw Error(QStringLiteral("\"%1\": %2").arg(source.name(), m));
    }
}

qint64 framesAt16k(qint64 count, quint32 rate)
{
    if (rate == wavRate)
        return count;
    // In whole numbers: count < 2^33 and 16000 < 2^14, so nothing overflows.
    const qint64 numerator = count * qint64(wavRate);
    const qint64 q = numerator / rate;
    const qint64 r = numerator % rate;
    if (2 * r > qint64(rate) || (2 * r == qint64(rate) && (q & 1)))
        return q + 1;
    return q;
}

WavInfo readWavHeader(const QString &path)
{
    const FileByteSource source(path);
    try {
        return parseWavHeader(source);
    } catch (const Error &e) {
        if (e.message().startsWith(u"Cannot "))
            throw;
        return decodedInfo(path, e);
    }
}

WavInfo readWav(const ByteSource &source, const SampleBlock &process, ChannelChoice channels)
{
    const WavInfo info = parseWavHeader(source);
    stream16k(source, info, process, chosenChannel(channels, info.header.numChannels));
    return info;
}

WavInfo readWav(const QString &path, const SampleBlock &process, ChannelChoice channels)
{
    const FileByteSource source(path);
    return readWav(source, process, channels);
}

qint64 streamRecording(const QString &path, const SampleBlock &process, ChannelChoice channels,
                       QStringList *warnings)
{
    JoinInput input(path);
    return input.stream(process, channels, warnings);
}

void writeWavHeader(AtomicFile &out, quint16 channels, quint16 bits, quint32 rate, qint64 frames)
{
    const qint64 dataBytes = frames * channels * (bits / 8);
    checkDataSize(dataBytes);
    char header[44];
    std::memcpy(header, "RIFF", 4);
    putLe32(header + 4, quint32(dataBytes + 36));
    std::memcpy(header + 8, "WAVE", 4);
    std::memcpy(header + 12, "fmt ", 4);
    putLe32(header + 16, 16);
    putLe16(header + 20, 1);
    putLe16(header + 22, channels);
    putLe32(header + 24, rate);
    putLe32(header + 28, 32000);
    putLe16(header + 32, 2);
    putLe16(header + 34, bits);
    std::memcpy(header + 36, "data", 4);
    putLe32(header + 40, quint32(dataBytes));
    out.write(header, sizeof header);
}

void writeSamples(AtomicFile &out, std::span<const qint16> block)
{
    if constexpr (Q_BYTE_ORDER == Q_BIG_ENDIAN) {
        std::vector<qint16> le(block.begin(), block.end());
        for (qint16 &s : le)
            s = qToLittleEndian(s);
        out.write(reinterpret_cast<const char *>(le.data()), qint64(le.size()) * 2);
    } else {
        out.write(reinterpret_cast<const char *>(block.data()), qint64(block.size()) * 2);
    }
}

void commitJoinedWav(AtomicFile &out, qint64 headerFrames, qint64 written,
                     const std::function<void(qint64 done, qint64 total)> &progress)
{
    if (written != headerFrames) {
        out.seek(0);
        writeWavHeader(out, 1, 16, wavRate, written);
    }
    // The last word before the target is replaced.
    if (progress)
        progress(written, written);
    out.commit();
}

bool joinWavs(const QString &outPath, const QString &path1, const QString &path2,
              qint64 &total, qint64 &frames1, qint64 &frames2, qint64 &start2,
              ChannelChoice channels, QStringList *warnings,
              const std::function<void(qint64 done, qint64 total)> &progress)
{
    if (!isRegularFile(path1) || !isRegularFile(path2))
        return false;

    // Both inputs stay open for the whole join; the output replaces its
    // target only at the end, so it may be one of them.
    JoinInput input1(path1);
    if (input1.info.frameCount >= 0)
        frames1 = input1.info.frameCount;
    JoinInput input2(path2);
    const bool known = input1.info.frameCount >= 0 && input2.info.frameCount >= 0;
    if (known) {
        frames2 = input2.info.frameCount;
        start2 = framesAt16k(frames1, input1.info.header.sampleRate);
        total = start2 + framesAt16k(frames2, input2.info.header.sampleRate);
        checkDataSize(total * 2); // before a byte is written
    }

    AtomicFile out(outPath);
    // A decoded recording's length is known once it has been decoded: the
    // header is written again at the end.
    const qint64 expected = known ? total : 0;
    writeWavHeader(out, 1, 16, wavRate, expected);
    qint64 written = 0;
    const SampleBlock write = [&out, &written, &progress, expected](std::span<const qint16> block) {
        writeSamples(out, block);
        written += qint64(block.size());
        checkDataSize(written * 2);
        if (progress)
            progress(written, expected);
    };
    frames1 = input1.stream(write, channels, warnings);
    const qint64 written1 = written;
    const qint64 count2 = input2.stream(write, channels, warnings);
    frames2 = count2;
    start2 = written1;
    total = written;
    commitJoinedWav(out, expected, written, progress);
    return true;
}
