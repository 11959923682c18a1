#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>

// Writes a file so that it is either complete or not there at all: the bytes
// go to a temporary file beside the target, which replaces the target only on
// commit(). Without commit() (an error, an exception, a killed process) the
// target keeps what it held. Failures throw Error with
// "Cannot create file "%s". %s" and the system's reason.
class AtomicFile
{
public:
    explicit AtomicFile(const QString &target);
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    void write(const char *data, qint64 length);
    void write(const QByteArray &data) { write(data.constData(), data.size()); }
    // Writes length bytes at position, past the buffer of write() and without
    // moving its write position: several threads may write places that do
    // not overlap at once.
    void writeAt(const char *data, qint64 length, qint64 position);
    // Moves the write position (used to fill in a header at the end).
    void seek(qint64 position);
    void commit();

private:
    [[noreturn]] void fail(int error);
    void flush();
    void wrote(qint64 length);

    QString theTarget;      // the path the user named, for messages
    QByteArray realPath;    // the file that is replaced (links resolved)
    QByteArray tempPath;
    int fd = -1;
    QByteArray buffer;
    std::atomic<qint64> unsynced{0}; // bytes written since the disk was last set to work
};
