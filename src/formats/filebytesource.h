#pragma once

#include "formats/bytesource.h"

// A file open for reading; closed again however the read ends.
class FileByteSource : public ByteSource
{
public:
    // Throws "Cannot open file "%s". %s" with the system's reason (a folder
    // and an empty path too).
    explicit FileByteSource(const QString &path);
    ~FileByteSource() override;
    FileByteSource(const FileByteSource &) = delete;
    FileByteSource &operator=(const FileByteSource &) = delete;

    qint64 size() const override { return fileSize; }
    // Throws "Cannot read file "%s". %s".
    qint64 readAt(void *out, qint64 n, qint64 position) const override;
    QString name() const override { return path; }

private:
    QString path;
    int fd = -1;
    qint64 fileSize = 0;
};
