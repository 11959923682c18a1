#include "formats/oggend.h"

#include "formats/bytesource.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// A page: 27 header bytes, up to 255 lacing values, up to 255 x 255 bytes.
constexpr qint64 headerBytes = 27;
constexpr qint64 maxPageBytes = headerBytes + 255 + 255 * 255;
constexpr unsigned char endOfStream = 0x04;

} // namespace

bool oggEndsCleanly(const ByteSource &source)
{
    const qint64 size = source.size();
    const qint64 start = std::max<qint64>(0, size - maxPageBytes);
    std::vector<unsigned char> tail(size_t(size - start));
    const qint64 n = source.readAt(tail.data(), qint64(tail.size()), start);
    const unsigned char *p = tail.data();
    // The last page is the latest "OggS" whose page ends exactly at the end
    // of the file.
    for (qint64 i = n - headerBytes; i >= 0; --i) {
        if (std::memcmp(p + i, "OggS", 4) != 0)
            continue;
        const qint64 segments = p[i + 26];
        if (i + headerBytes + segments > n)
            continue;
        qint64 body = 0;
        for (qint64 s = 0; s < segments; ++s)
            body += p[i + headerBytes + s];
        if (i + headerBytes + segments + body == n)
            return (p[i + 5] & endOfStream) != 0;
    }
    return false;
}
