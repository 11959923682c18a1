#include "formats/wavwriter.h"

#include "base/atomicfile.h"
#include "base/error.h"

#include <QString>
#include <QtEndian>

#include <cstring>
#include <vector>

namespace {

// RIFF sizes are unsigned 32-bit: the RIFF size counts the file minus its
// first 8 bytes, and the data comes after a 44-byte header.
constexpr qint64 maxDataBytes = 0xFFFFFFFFLL - 36;

void putLe16(char *p, quint16 w) { qToLittleEndian(w, p); }
void putLe32(char *p, quint32 w) { qToLittleEndian(w, p); }

} // namespace

void writeWavHeader(AtomicFile &out, quint16 channels, quint16 bits, quint32 rate, qint64 frames)
{
    const qint64 blockAlign = qint64(channels) * (bits / 8);
    const qint64 dataBytes = frames * blockAlign;
    if (dataBytes < 0 || dataBytes > maxDataBytes)
        throw Error(QStringLiteral("The joined recording would be larger than 4 GB, "
                                   "more than a WAV file can hold"));
    char header[44];
    std::memcpy(header, "RIFF", 4);
    putLe32(header + 4, quint32(dataBytes + 36));
    std::memcpy(header + 8, "WAVE", 4);
    std::memcpy(header + 12, "fmt ", 4);
    putLe32(header + 16, 16);
    putLe16(header + 20, 1);
    putLe16(header + 22, channels);
    putLe32(header + 24, rate);
    putLe32(header + 28, quint32(rate * blockAlign));
    putLe16(header + 32, quint16(blockAlign));
    putLe16(header + 34, bits);
    std::memcpy(header + 36, "data", 4);
    putLe32(header + 40, quint32(dataBytes));
    out.write(header, sizeof header);
}

void writeSamples(AtomicFile &out, std::span<const qint16> block)
{
    if constexpr (Q_BYTE_ORDER == Q_BIG_ENDIAN) {
        std::vector<qint16> le(block.begin(), block.end());
        for (qint16 &s : le)
            s = qToLittleEndian(s);
        out.write(reinterpret_cast<const char *>(le.data()), qint64(le.size()) * 2);
    } else {
        out.write(reinterpret_cast<const char *>(block.data()), qint64(block.size()) * 2);
    }
}
