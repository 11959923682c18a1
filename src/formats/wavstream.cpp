#include "formats/wavstream.h"

#include "base/error.h"
#include "formats/bytesource.h"
#include "formats/monomix.h"
#include "formats/to16k.h"
#include "formats/wavheader.h"

#include <QtEndian>

#include <algorithm>
#include <vector>

namespace {

// Large enough that the system calls cost nothing next to the copying,
// small enough that two open recordings stay far below the memory limit.
constexpr qint64 blockBytes = 1 << 20;

// Little-endian samples of type T, full scale at full.
template <typename T>
void mixLittleEndian(const unsigned char *p, qint64 frames, int channels, float *out, int picked, double full)
{
    mixToMono(p, frames, channels, int(sizeof(T)), out, [full](const unsigned char *s) {
        return double(qFromLittleEndian<T>(s)) / full;
    }, picked);
}

// The samples of frames frames at p, as one channel in out.
void decode(const WavLayout &layout, const unsigned char *p, qint64 frames, float *out, int picked)
{
    const int channels = layout.header.numChannels;
    const int bits = layout.header.bitsPerSample;
    switch (layout.format == 3 ? -bits : bits) {
    case 8:  // unsigned, 128 is silence
        mixToMono(p, frames, channels, 1, out, [](const unsigned char *s) {
            return (double(*s) - 128.0) / 128.0;
        }, picked);
        break;
    case 16:
        mixLittleEndian<qint16>(p, frames, channels, out, picked, 32768.0);
        break;
    case 24:
        mixToMono(p, frames, channels, 3, out, [](const unsigned char *s) {
            // Into the top of an int32, so the shift back extends the sign.
            const qint32 w = qint32(quint32(s[0]) << 8 | quint32(s[1]) << 16 | quint32(s[2]) << 24);
            return (w >> 8) / 8388608.0;
        }, picked);
        break;
    case 32:
        mixLittleEndian<qint32>(p, frames, channels, out, picked, 2147483648.0);
        break;
    case -32:
        mixLittleEndian<float>(p, frames, channels, out, picked, 1.0);
        break;
    case -64:
        mixLittleEndian<double>(p, frames, channels, out, picked, 1.0);
        break;
    default:
        throw Error("Unknown format"); // parseWavHeader lets no other layout through
    }
}

// The exact path: a mono 16-bit 16 kHz recording's samples go out as they are.
void copy16k(const ByteSource &source, const WavLayout &layout, const SampleBlock &process)
{
    std::vector<qint16> buffer(static_cast<size_t>(blockBytes / 2));
    qint64 rest = layout.frameCount;
    qint64 position = layout.dataStart;
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

} // namespace

void streamWav(const ByteSource &source, const WavLayout &layout, const SampleBlock &process,
               ChannelChoice channels)
{
    const quint32 rate = layout.header.sampleRate;
    if (layout.format == 1 && layout.header.bitsPerSample == 16 && layout.header.numChannels == 1 &&
        rate == wavRate) {
        copy16k(source, layout, process);
        return;
    }

    const int picked = chosenChannel(channels, layout.header.numChannels);
    const qint64 frameSize = layout.frameSize();
    const qint64 framesPerBlock = std::max<qint64>(1, blockBytes / frameSize);
    std::vector<unsigned char> raw(static_cast<size_t>(framesPerBlock * frameSize));
    std::vector<float> mono(static_cast<size_t>(framesPerBlock));
    To16k to16k(rate, layout.frameCount, framesPerBlock, process);

    qint64 rest = layout.frameCount;
    qint64 position = layout.dataStart;
    while (rest > 0) {
        const qint64 n = std::min(rest, framesPerBlock);
        const qint64 read = source.readAt(raw.data(), n * frameSize, position) / frameSize;
        decode(layout, raw.data(), read, mono.data(), picked);
        to16k.push(mono.data(), read);
        if (read < n)
            break; // the file got shorter since its header was read
        position += n * frameSize;
        rest -= n;
    }
    to16k.finish();
}
