#pragma once

#include "formats/bytesource.h"

#include <QByteArray>

// Bytes held in memory: for a reader fed by a fuzzer or a test, or bytes that
// came from somewhere other than a file.
class MemoryByteSource : public ByteSource
{
public:
    explicit MemoryByteSource(QByteArray bytes, QString name = QString());

    qint64 size() const override { return bytes.size(); }
    qint64 readAt(void *out, qint64 n, qint64 position) const override;
    QString name() const override { return theName; }

private:
    QByteArray bytes;
    QString theName;
};
