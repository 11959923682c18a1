#include "formats/decodedrecording.h"

#include "base/error.h"
#include "formats/audiodecoder.h"
#include "formats/to16k.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// Decoders hand out small frames (1152 of MP3): they are gathered into
// blocks of this many, so that each step downstream works on many at once.
constexpr qint64 framesPerBlock = (1 << 20) / 4;

std::unique_ptr<AudioDecoder> openDecoder(const QString &path, const Error &ownError)
{
    try {
        return std::make_unique<AudioDecoder>(path);
    } catch (const Error &) {
        throw ownError;
    }
}

} // namespace

RecordingInfo probeDecoded(const QString &path, const Error &ownError)
{
    std::unique_ptr<AudioDecoder> decoder = openDecoder(path, ownError);
    RecordingInfo info;
    info.format = decoder->formatName();
    info.decoded = true;
    info.channels = decoder->channels();
    info.rate = decoder->rate();
    info.frames = decoder->countFrames();
    info.cutShort = decoder->cutShort();
    if (info.cutShort) {
        // The packets of a damaged file may promise more than the decoder
        // makes of them: what it makes is the length.
        decoder = openDecoder(path, ownError);
        info.frames = 0;
        while (decoder->next())
            info.frames += decoder->frames();
    }
    if (info.frames == 0)
        throw ownError; // not a single frame: no recording
    return info;
}

qint64 streamDecoded(const QString &path, const Error &ownError, const SampleBlock &process,
                     ChannelChoice channels, QStringList *warnings)
{
    const std::unique_ptr<AudioDecoder> decoder = openDecoder(path, ownError);
    const int picked = chosenChannel(channels, decoder->channels());
    std::vector<float> mono;
    mono.reserve(size_t(framesPerBlock) + 65536);
    To16k to16k(decoder->rate(), -1, framesPerBlock + 65536, process);
    qint64 count = 0;
    while (decoder->next()) {
        const qint64 n = decoder->frames();
        const size_t at = mono.size();
        mono.resize(at + size_t(n));
        decoder->mix(mono.data() + at, picked);
        count += n;
        if (qint64(mono.size()) >= framesPerBlock) {
            to16k.push(mono.data(), qint64(mono.size()));
            mono.clear();
        }
    }
    to16k.push(mono.data(), qint64(mono.size()));
    to16k.finish(count);
    if (count == 0)
        throw ownError; // not a single frame: no recording
    if (decoder->cutShort() && warnings)
        warnings->append(QStringLiteral("\"%1\": the recording is cut short or damaged; the %2 frames "
                                        "that could be decoded are joined.").arg(path).arg(count));
    return count;
}
