#include "formats/recording.h"

#include "base/error.h"
#include "formats/decodedrecording.h"
#include "formats/filebytesource.h"
#include "formats/wavheader.h"
#include "formats/wavstream.h"

#include <optional>

namespace {

// Reads the recording at path with the own reader (own, given the open
// file and its header) or, when the own reader refuses it, with FFmpeg's
// decoders (decoded, given the refusal). A file that cannot be opened or
// read is no refusal: its error is thrown as it is.
template <typename Own, typename Decoded>
auto readRecording(const QString &path, Own own, Decoded decoded)
{
    const FileByteSource source(path);
    std::optional<WavLayout> layout;
    std::optional<Error> refusal;
    try {
        layout = parseWavHeader(source);
    } catch (const Error &e) {
        if (e.message().startsWith(u"Cannot "))
            throw;
        refusal = e;
    }
    if (refusal)
        return decoded(*refusal);
    return own(source, *layout);
}

} // namespace

QString cutShortWarning(const QString &path, qint64 frames)
{
    return QStringLiteral("\"%1\": the recording is cut short or damaged; the %2 frames that could be decoded "
                          "are joined.").arg(path).arg(frames);
}

QString unfinishedHeaderWarning(const QString &path, qint64 frames)
{
    return QStringLiteral("\"%1\": the recording's header was never finished; its length is taken from the "
                          "file's size (%2 frames).").arg(path).arg(frames);
}

RecordingInfo probeRecording(const QString &path)
{
    return readRecording(
        path,
        [](const ByteSource &, const WavLayout &layout) {
            RecordingInfo info;
            info.format = QString::fromLatin1(layout.header.idRIFF, 4); // "RIFF": the own reader takes no other
            info.channels = layout.header.numChannels;
            info.rate = layout.header.sampleRate;
            info.frames = layout.frameCount;
            info.cutShort = layout.cutShort;
            info.headerUnfinished = layout.headerUnfinished;
            return info;
        },
        [&path](const Error &refusal) { return probeDecoded(path, refusal); });
}

qint64 streamRecording(const QString &path, const SampleBlock &process, ChannelChoice channels,
                       QStringList *warnings)
{
    return readRecording(
        path,
        [&](const ByteSource &source, const WavLayout &layout) {
            streamWav(source, layout, process, channels);
            if (warnings && layout.headerUnfinished)
                warnings->append(unfinishedHeaderWarning(path, layout.frameCount));
            if (warnings && layout.cutShort)
                warnings->append(cutShortWarning(path, layout.frameCount));
            return layout.frameCount;
        },
        [&](const Error &refusal) { return streamDecoded(path, refusal, process, channels, warnings); });
}
