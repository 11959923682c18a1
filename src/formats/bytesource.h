#pragma once

#include <QString>
#include <QtGlobal>

// Bytes a reader takes from wherever they are, by position: a file read piece
// by piece (a recording is never held whole) or bytes in memory.
class ByteSource
{
public:
    virtual ~ByteSource() = default;

    // The number of bytes.
    virtual qint64 size() const = 0;
    // Reads up to n bytes at position into out; fewer only where the bytes
    // end. Throws Error when they cannot be read.
    virtual qint64 readAt(void *out, qint64 n, qint64 position) const = 0;
    // What messages call the bytes: a file's path.
    virtual QString name() const = 0;
};
