// Any bytes as a WAV file: the header reader either accepts them or throws
// Error, never reads out of bounds, and what it accepts decodes to exactly
// the announced number of 16 kHz samples, whichever channel is chosen.
#include "base/error.h"
#include "formats/memorybytesource.h"
#include "formats/wavheader.h"
#include "formats/wavstream.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const MemoryByteSource source(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)),
                                  QStringLiteral("fuzz.wav"));
    try {
        const WavLayout info = parseWavHeader(source);
        if (info.format != 1 && info.format != 3)
            __builtin_trap();
        if (info.frameCount < 0 || info.dataStart + info.frameCount * info.frameSize() > static_cast<qint64>(size))
            __builtin_trap();
        // Decoding is checked where it stays quick: no huge upsampling.
        const qint64 expected = framesAt16k(info.frameCount, info.header.sampleRate);
        if (expected <= (1 << 20) && info.header.sampleRate >= 1000 && info.header.sampleRate <= 768000) {
            qint64 samples = 0;
            // Any channel choice hands on the same count.
            streamWav(source, info, [&](std::span<const qint16> block) { samples += qint64(block.size()); },
                      ChannelChoice(size % 3));
            if (samples != expected)
                __builtin_trap();
        }
    } catch (const Error &) {
    }
    return 0;
}
