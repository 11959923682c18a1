#include "formats/memorybytesource.h"

#include <algorithm>
#include <cstring>

MemoryByteSource::MemoryByteSource(QByteArray bytes, QString name)
    : bytes(std::move(bytes)), theName(std::move(name))
{
}

qint64 MemoryByteSource::readAt(void *out, qint64 n, qint64 position) const
{
    if (n <= 0 || position < 0 || position >= bytes.size())
        return 0;
    const qint64 count = std::min<qint64>(n, bytes.size() - position);
    std::memcpy(out, bytes.constData() + position, static_cast<size_t>(count));
    return count;
}
