// Any bytes as the end of an Ogg file: the check of its last page answers
// without reading out of bounds, and a file that is one whole page with the
// end-of-stream flag and its checksum (and no other page inside) is told
// finished, also with a few stray bytes after it.
#include "formats/memorybytesource.h"
#include "formats/oggend.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    oggEndsCleanly(MemoryByteSource(bytes, QStringLiteral("fuzz.ogg")));
    // The same bytes as the body of a last page: 27 header bytes, the
    // lacing values, the body.
    QByteArray page("OggS\0\x04", 6);
    page += QByteArray(20, '\0');
    const qsizetype body = std::min<qsizetype>(bytes.size(), 255 * 255);
    QByteArray lacing;
    for (qsizetype rest = body; rest >= 0; rest -= 255)
        lacing += char(rest >= 255 ? 255 : rest);
    if (lacing.size() > 255)
        return 0;
    page += char(lacing.size());
    page += lacing + bytes.left(body);
    const quint32 checksum = oggPageChecksum(reinterpret_cast<const unsigned char *>(page.constData()), page.size());
    for (int i = 0; i < 4; ++i)
        page[22 + i] = char((checksum >> (8 * i)) & 0xFF);
    // Bytes that hold a page of their own may end the file with it.
    if (page.indexOf("OggS", 1) >= 0)
        return 0;
    if (!oggEndsCleanly(MemoryByteSource(page, QStringLiteral("fuzz.ogg"))))
        __builtin_trap();
    if (!oggEndsCleanly(MemoryByteSource(page + "abc", QStringLiteral("fuzz.ogg"))))
        __builtin_trap();
    return 0;
}
