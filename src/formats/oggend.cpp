#include "formats/oggend.h"

#include "formats/bytesource.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace {

// A page: 27 header bytes, up to 255 lacing values, up to 255 x 255 bytes.
constexpr qint64 headerBytes = 27;
constexpr qint64 maxPageBytes = headerBytes + 255 + 255 * 255;
// Bytes after the last page that are looked past: room for a tagger's padding.
constexpr qint64 trailingBytes = 64 * 1024;
constexpr unsigned char endOfStream = 0x04;

// The CRC-32 of Ogg pages: polynomial 0x04C11DB7, not reflected, starting at 0.
const std::array<quint32, 256> &crcTable()
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 i = 0; i < 256; ++i) {
            quint32 r = i << 24;
            for (int bit = 0; bit < 8; ++bit)
                r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : r << 1;
            t[i] = r;
        }
        return t;
    }();
    return table;
}

// The size of the whole page at p, or 0 when it is not one: no "OggS", or
// it runs past end, or its checksum is wrong (audio bytes may spell "OggS").
qint64 wholePageAt(const unsigned char *p, qint64 available)
{
    if (available < headerBytes || std::memcmp(p, "OggS", 4) != 0)
        return 0;
    const qint64 segments = p[26];
    if (headerBytes + segments > available)
        return 0;
    qint64 size = headerBytes + segments;
    for (qint64 s = 0; s < segments; ++s)
        size += p[headerBytes + s];
    if (size > available)
        return 0;
    return oggPageChecksum(p, size) == qFromLittleEndian<quint32>(p + 22) ? size : 0;
}

} // namespace

quint32 oggPageChecksum(const unsigned char *page, qint64 size)
{
    const std::array<quint32, 256> &table = crcTable();
    quint32 crc = 0;
    for (qint64 i = 0; i < size; ++i) {
        const unsigned char byte = (i >= 22 && i < 26) ? 0 : page[i];
        crc = (crc << 8) ^ table[((crc >> 24) ^ byte) & 0xFF];
    }
    return crc;
}

bool oggEndsCleanly(const ByteSource &source)
{
    const qint64 size = source.size();
    const qint64 start = std::max<qint64>(0, size - maxPageBytes - trailingBytes);
    std::vector<unsigned char> tail(size_t(size - start));
    const qint64 n = source.readAt(tail.data(), qint64(tail.size()), start);
    const unsigned char *p = tail.data();
    // The last page is the latest whole page; what follows it is no page.
    for (qint64 i = n - headerBytes; i >= 0; --i) {
        if (wholePageAt(p + i, n - i) > 0)
            return (p[i + 5] & endOfStream) != 0;
    }
    return false;
}
