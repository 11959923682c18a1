#include "formats/wavheader.h"

#include "base/error.h"
#include "formats/bytesource.h"

#include <QString>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {

// RIFF sizes are unsigned 32-bit: the RIFF size counts the file minus its
// first 8 bytes.
constexpr qint64 maxFileSize = 0xFFFFFFFFLL + 8;

const char *const truncated = "Truncated WAV header";

bool isId(const char *id, const char (&expected)[5])
{
    return std::memcmp(id, expected, 4) == 0;
}

quint16 le16(const unsigned char *p) { return qFromLittleEndian<quint16>(p); }
quint32 le32(const unsigned char *p) { return qFromLittleEndian<quint32>(p); }

// The "fmt " chunk of the given size whose body starts at position.
void readFmt(const ByteSource &source, qint64 position, quint32 size, WavLayout &layout)
{
    // 16 bytes for PCM and float, 40 for WAVE_FORMAT_EXTENSIBLE; more is never needed.
    unsigned char f[40] = {};
    const qint64 needed = std::min<qint64>(size, sizeof f);
    if (source.readAt(f, needed, position) < needed)
        throw Error(truncated);
    if (size < 16)
        throw Error("Unknown format");

    WavHeader &h = layout.header;
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
    layout.format = format;
}

// Walks the chunks up to the first data byte. Chunks before "fmt " and
// between "fmt " and "data" ("bext", "JUNK", "fact", "LIST", ...) are skipped
// by their size plus the pad byte that follows an odd size.
WavLayout walkWavHeader(const ByteSource &source)
{
    WavLayout layout;
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
    std::memcpy(layout.header.idRIFF, riff, 4);
    layout.header.riffSize = le32(riff + 4);
    std::memcpy(layout.header.idWAVE, riff + 8, 4);

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
            std::memcpy(layout.chunk.idData, id, 4);
            layout.chunk.dataSize = size;
            layout.dataStart = position;
            // A recorder that stopped without closing its file leaves a size
            // of 0, or one that runs past the end: take the whole frames
            // that are there.
            const qint64 after = std::max<qint64>(0, source.size() - position);
            layout.headerUnfinished = size == 0 && after > 0;
            layout.cutShort = size > after && size != 0xFFFFFFFFu;
            const qint64 present = layout.headerUnfinished ? after : std::min<qint64>(size, after);
            layout.frameCount = present / layout.frameSize();
            return layout;
        }
        if (isId(id, "fmt ") && !fmtRead) {
            readFmt(source, position, size, layout);
            fmtRead = true;
        }
        position += qint64(size) + (size & 1);
        if (position > source.size())
            throw Error(truncated);
    }
}

} // namespace

int WavLayout::frameSize() const
{
    return int(header.numChannels) * (header.bitsPerSample / 8);
}

// A header error of a named source names it: the person may have given
// several recordings.
WavLayout parseWavHeader(const ByteSource &source)
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
