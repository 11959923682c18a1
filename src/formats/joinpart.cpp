#include "formats/joinpart.h"

#include "base/atomicfile.h"
#include "formats/wav.h"

#include <algorithm>
#include <span>

namespace {

// Where each part lands, from the headers alone: refuses a bad part, or a
// join over 4 GB, before anything is written.
qint64 planParts(std::vector<JoinPart> &parts)
{
    qint64 total = 0;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        JoinPart &part = parts[k];
        const WavInfo info = readWavHeader(part.path);
        part.frames = info.frameCount;
        part.rate = info.header.sampleRate;
        part.firstFrame = total;
        part.joinedFrames = framesAt16k(info.frameCount, info.header.sampleRate);
        total += part.joinedFrames;
        if (k + 1 < parts.size())
            total += std::max<qint64>(part.gapFrames, 0);
    }
    return total;
}

} // namespace

qint64 joinParts(const QString &outPath, std::vector<JoinPart> &parts, ChannelChoice channels,
                 QStringList *warnings, const std::function<void(qint64 done, qint64 total)> &progress)
{
    const qint64 planned = planParts(parts);

    AtomicFile out(outPath);
    writeWavHeader(out, 1, 16, wavRate, planned); // refuses more than 4 GB before any sample
    qint64 written = 0;
    const SampleBlock write = [&out, &written, &progress, planned](std::span<const qint16> block) {
        writeSamples(out, block);
        written += qint64(block.size());
        if (progress)
            progress(std::min(written, planned), planned);
    };
    const std::vector<qint16> silence(std::size_t(1) << 16, 0);
    for (std::size_t k = 0; k < parts.size(); ++k) {
        JoinPart &part = parts[k];
        part.firstFrame = written;
        part.frames = streamRecording(part.path, write, channels, warnings);
        part.joinedFrames = written - part.firstFrame;
        if (k + 1 == parts.size())
            break;
        for (qint64 rest = std::max<qint64>(part.gapFrames, 0); rest > 0;) {
            const qint64 n = std::min<qint64>(rest, qint64(silence.size()));
            write(std::span<const qint16>(silence.data(), std::size_t(n)));
            rest -= n;
        }
    }
    // A compressed part may decode to other than its packets promised.
    commitJoinedWav(out, planned, written, progress);
    return written;
}
