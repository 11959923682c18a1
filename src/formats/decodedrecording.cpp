#include "formats/decodedrecording.h"

#include "base/error.h"
#include "formats/audiodecoder.h"
#include "formats/filebytesource.h"
#include "formats/to16k.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// Decoders hand out small frames (1152 of MP3): they are gathered into
// blocks of this many, so that each step downstream works on many at once.
constexpr qint64 framesPerBlock = (1 << 20) / 4;

// Whether the file starts as text does: words apart by blanks or lines, and
// no control characters other than those in its first bytes (a recording's
// header has them), or a UTF-16 byte-order mark.
bool looksLikeText(const QString &path)
{
    const FileByteSource source(path);
    std::vector<unsigned char> start(64 * 1024);
    const qint64 n = source.readAt(start.data(), qint64(start.size()), 0);
    if (n >= 2 && ((start[0] == 0xFF && start[1] == 0xFE) || (start[0] == 0xFE && start[1] == 0xFF)))
        return true;
    const auto control = [](unsigned char c) {
        return (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f') || c == 0x7F;
    };
    const auto apart = [](unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    return std::any_of(start.begin(), start.begin() + n, apart)
           && std::none_of(start.begin(), start.begin() + n, control);
}

// Neither the own reader (its refusal own) nor FFmpeg (its reason) reads
// the file at path: both reasons, so a person can tell what is wrong.
Error refusal(const QString &path, const Error &own, const QString &reason)
{
    if (looksLikeText(path))
        return Error(QStringLiteral("\"%1\" is a text file, not a recording").arg(path));
    QString ownReason = own.message();
    const QString named = QStringLiteral("\"%1\": ").arg(path);
    if (ownReason.startsWith(named))
        ownReason.remove(0, named.size());
    return Error(QStringLiteral("\"%1\": not a recording Naadwerk can read (WAV reader: %2; FFmpeg: %3)")
                     .arg(path, ownReason, reason));
}

const QString noFrame = QStringLiteral("not a single frame decodes");

std::unique_ptr<AudioDecoder> openDecoder(const QString &path, const Error &ownError)
{
    try {
        return std::make_unique<AudioDecoder>(path);
    } catch (const Error &e) {
        throw refusal(path, ownError, e.message());
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
        throw refusal(path, ownError, noFrame);
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
        throw refusal(path, ownError, noFrame);
    if (decoder->cutShort() && warnings)
        warnings->append(cutShortWarning(path, count));
    return count;
}
