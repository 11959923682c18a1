#include "formats/joinpart.h"

#include "base/atomicfile.h"
#include "base/twothreads.h"
#include "formats/recording.h"
#include "formats/wavwriter.h"

#include <QtEndian>

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <span>

namespace {

using Listener = std::function<void(qint64 done, qint64 total)>;

// Where each part lands, from the probes alone: refuses a bad part before
// anything is written. Says in allWav whether every part is a WAV file of
// the own reader, whose converted length the probe tells exactly.
qint64 planParts(std::vector<JoinPart> &parts, bool &allWav)
{
    qint64 total = 0;
    allWav = true;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        JoinPart &part = parts[k];
        const RecordingInfo info = probeRecording(part.path);
        allWav = allWav && !info.decoded;
        part.frames = info.frames;
        part.rate = info.rate;
        part.firstFrame = total;
        part.joinedFrames = framesAt16k(info.frames, info.rate);
        total += part.joinedFrames;
        if (k + 1 < parts.size())
            total += std::max<qint64>(part.gapFrames, 0);
    }
    return total;
}

// Thrown inside a worker of the parallel join once the other one failed.
struct Stopped
{
};

// One part's samples and its gap, written at their place in the joined file
// in blocks large enough that the system calls cost nothing.
class PlacedWriter
{
public:
    PlacedWriter(AtomicFile &out, qint64 firstFrame) : out(out), position(44 + 2 * firstFrame) {}

    void put(std::span<const qint16> block)
    {
        if constexpr (Q_BYTE_ORDER == Q_BIG_ENDIAN) {
            for (const qint16 s : block)
                buffer.push_back(qToLittleEndian(s));
        } else if (buffer.empty() && block.size() >= blockSamples) {
            // A block of a 16 kHz recording's copy goes out as it is.
            write(block);
            return;
        } else {
            buffer.insert(buffer.end(), block.begin(), block.end());
        }
        if (buffer.size() >= blockSamples)
            flush();
    }
    void flush()
    {
        write(buffer);
        buffer.clear();
    }

private:
    void write(std::span<const qint16> samples)
    {
        out.writeAt(reinterpret_cast<const char *>(samples.data()), qint64(samples.size()) * 2, position);
        position += qint64(samples.size()) * 2;
    }

    static constexpr std::size_t blockSamples = std::size_t(1) << 19;
    AtomicFile &out;
    qint64 position; // of the next byte in the file
    std::vector<qint16> buffer;
};

// The join of WAV parts on two threads, each converting whole parts into
// their places: every part has its own resampler, so the bytes are those
// of the join one after the other. Returns false, with nothing committed,
// where the one after the other must run instead, for the same counts and
// messages: a part failed, or decoded to another length than its header
// said (the file changed since the probe). What progress throws is passed
// on.
bool joinOnTwoThreads(const QString &outPath, std::vector<JoinPart> &parts, qint64 planned,
                      ChannelChoice channels, QStringList *warnings, const Listener &progress)
{
    AtomicFile out(outPath);
    writeWavHeader(out, 1, 16, wavRate, planned);
    std::vector<QStringList> partWarnings(parts.size());
    std::vector<qint64> frames(parts.size(), -1);
    std::vector<qint64> joined(parts.size(), 0);
    std::atomic<std::size_t> nextPart{0};
    std::atomic<qint64> written{0};
    std::atomic<bool> stop{false};
    std::mutex reporting;
    std::exception_ptr listenerFailure; // under reporting
    bool partFailed = false;            // under reporting
    const std::vector<qint16> silence(std::size_t(1) << 16, 0);

    const auto worker = [&] {
        try {
            for (std::size_t k = nextPart++; k < parts.size(); k = nextPart++) {
                const JoinPart &part = parts[k];
                PlacedWriter place(out, part.firstFrame);
                const SampleBlock write = [&](std::span<const qint16> block) {
                    if (stop)
                        throw Stopped();
                    place.put(block);
                    joined[k] += qint64(block.size());
                    if (!progress) {
                        written += qint64(block.size());
                        return;
                    }
                    // Counted under the lock, so what progress hears never goes back.
                    const std::lock_guard<std::mutex> lock(reporting);
                    written += qint64(block.size());
                    try {
                        progress(std::min(written.load(), planned), planned);
                    } catch (...) {
                        listenerFailure = std::current_exception();
                        stop = true;
                        throw Stopped();
                    }
                };
                frames[k] = streamRecording(part.path, write, channels, &partWarnings[k]);
                if (frames[k] != part.frames || joined[k] != part.joinedFrames)
                    throw Stopped(); // the file changed since the probe
                if (k + 1 < parts.size()) {
                    for (qint64 rest = std::max<qint64>(part.gapFrames, 0); rest > 0;) {
                        const qint64 n = std::min<qint64>(rest, qint64(silence.size()));
                        write(std::span<const qint16>(silence.data(), std::size_t(n)));
                        rest -= n;
                    }
                }
                place.flush();
            }
        } catch (...) {
            const std::lock_guard<std::mutex> lock(reporting);
            if (!listenerFailure)
                partFailed = true;
            stop = true;
        }
    };
    runOnTwoThreads(worker, worker);
    if (listenerFailure)
        std::rethrow_exception(listenerFailure);
    if (partFailed)
        return false;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        parts[k].frames = frames[k];
        if (warnings)
            warnings->append(partWarnings[k]);
    }
    // The last word before the target is replaced.
    if (progress)
        progress(planned, planned);
    out.commit();
    return true;
}

} // namespace

qint64 joinParts(const QString &outPath, std::vector<JoinPart> &parts, ChannelChoice channels,
                 QStringList *warnings, const std::function<void(qint64 done, qint64 total)> &progress)
{
    bool allWav = false;
    const qint64 planned = planParts(parts, allWav);
    // Converting to 16 kHz keeps a core busy per part: two parts at a time
    // keep both busy. A join of a minute is over before a thread pays off.
    if (allWav && parts.size() >= 2 && planned > 60 * qint64(wavRate) && joinOnTwoThreads(outPath, parts, planned, channels, warnings, progress))
        return planned;

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
    if (written != planned) {
        // A compressed part decoded to other than its packets promised.
        out.seek(0);
        writeWavHeader(out, 1, 16, wavRate, written);
    }
    // The last word before the target is replaced.
    if (progress)
        progress(planned, planned);
    out.commit();
    return written;
}
