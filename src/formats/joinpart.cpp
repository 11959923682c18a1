#include "formats/joinpart.h"

#include "base/atomicfile.h"
#include "formats/wav.h"

#include <QtEndian>

#include <algorithm>
#include <span>

qint64 joinParts(const QString &outPath, std::vector<JoinPart> &parts)
{
    std::vector<WavInfo> infos;
    infos.reserve(parts.size());
    qint64 total = 0;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        JoinPart &part = parts[k];
        infos.push_back(readWavHeader(part.path));
        const WavInfo &info = infos.back();
        part.frames = info.frameCount;
        part.rate = info.header.sampleRate;
        part.firstFrame = total;
        part.joinedFrames = framesAt16k(info.frameCount, info.header.sampleRate);
        total += part.joinedFrames;
        if (k + 1 < parts.size())
            total += std::max<qint64>(part.gapFrames, 0);
    }

    AtomicFile out(outPath);
    writeWavHeader(out, 1, 16, wavRate, total); // refuses more than 4 GB before any sample
    std::vector<qint16> buffer;
    const SampleBlock write = [&out, &buffer](std::span<const qint16> block) {
        if constexpr (Q_BYTE_ORDER == Q_BIG_ENDIAN) {
            buffer.assign(block.begin(), block.end());
            for (qint16 &s : buffer)
                s = qToLittleEndian(s);
            block = buffer;
        }
        out.write(reinterpret_cast<const char *>(block.data()), qint64(block.size()) * 2);
    };
    const std::vector<qint16> silence(std::size_t(1) << 16, 0);
    for (std::size_t k = 0; k < parts.size(); ++k) {
        streamRecording(parts[k].path, infos[k], write);
        if (k + 1 == parts.size())
            break;
        for (qint64 rest = std::max<qint64>(parts[k].gapFrames, 0); rest > 0;) {
            const qint64 n = std::min<qint64>(rest, qint64(silence.size()));
            write(std::span<const qint16>(silence.data(), std::size_t(n)));
            rest -= n;
        }
    }
    out.commit();
    return total;
}
