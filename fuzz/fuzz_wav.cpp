// Any bytes as a WAV file: the header reader either accepts it or throws
// EFout, never reads out of bounds, and what it accepts decodes to exactly
// the announced number of 16 kHz samples.
#include "audio/defwaves.h"
#include "lines/efout.h"

#include <QString>

#include <cstddef>
#include <cstdint>

#include <sys/mman.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The readers take a path: an in-memory file keeps the disk out of it.
    static const int fd = memfd_create("wav", MFD_CLOEXEC);
    static const QString pad = QStringLiteral("/proc/self/fd/%1").arg(fd);
    if (fd < 0 || ftruncate(fd, 0) != 0 ||
        pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        __builtin_trap();
    try {
        const TWavGegevens g = leesWavKop(pad);
        if (g.formaat != 1 && g.formaat != 3)
            __builtin_trap();
        if (g.aantalFrames < 0 ||
            g.dataBegin + g.aantalFrames * g.frameGrootte() > static_cast<qint64>(size))
            __builtin_trap();
        // Decoding is checked where it stays quick: no huge upsampling.
        const qint64 verwacht = framesOp16k(g.aantalFrames, g.wavKop.sampleRate);
        if (verwacht <= (1 << 20) && g.wavKop.sampleRate >= 1000 && g.wavKop.sampleRate <= 768000) {
            qint64 samples = 0;
            leesWav(pad, [&](std::span<const qint16> blok) { samples += qint64(blok.size()); });
            if (samples != verwacht)
                __builtin_trap();
        }
    } catch (const EFout &) {
    }
    return 0;
}
