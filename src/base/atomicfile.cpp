#include "base/atomicfile.h"

#include "base/error.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr qsizetype bufferSize = 1 << 20;
// The disk is set to work after this many bytes, not only at commit.
constexpr qint64 writebackStep = qint64(8) << 20;

Error createError(const QString &target, int error)
{
    return Error(QStringLiteral("Cannot create file \"%1\". %2")
                     .arg(target, QString::fromLocal8Bit(std::strerror(error))));
}
}

AtomicFile::AtomicFile(const QString &target) : theTarget(target)
{
    if (target.isEmpty())
        fail(ENOENT);
    // Replace the file a link points to, not the link.
    const QFileInfo info(target);
    const QString real = info.isSymLink() && info.exists() ? info.canonicalFilePath() : target;
    realPath = QFile::encodeName(real);

    struct stat st {};
    mode_t mode = 0666;
    if (::stat(realPath.constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            fail(EISDIR);
        mode = st.st_mode & 07777;
    }
    // A unique name in the target's own folder, so rename() stays on one file system.
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        tempPath = realPath + ".naadwerk-" + QByteArray::number(::getpid()) + "-" +
                   QByteArray::number(attempt) + ".tmp";
        fd = ::open(tempPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && errno != EEXIST)
            fail(errno);
    }
    if (fd < 0)
        fail(EEXIST);
    if (mode != 0666)
        (void)::fchmod(fd, mode); // keep the permissions of the file we replace
    buffer.reserve(bufferSize);
}

AtomicFile::~AtomicFile()
{
    if (fd >= 0) {
        ::close(fd);
        ::unlink(tempPath.constData());
    }
}

void AtomicFile::fail(int error)
{
    const int saved = error;
    if (fd >= 0) {
        ::close(fd);
        ::unlink(tempPath.constData());
        fd = -1;
    }
    throw createError(theTarget, saved);
}

void AtomicFile::flush()
{
    const char *p = buffer.constData();
    qint64 rest = buffer.size();
    while (rest > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(rest));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        p += n;
        rest -= n;
    }
    wrote(buffer.size());
    buffer.clear();
}

// commit() waits until the bytes are on the disk: starting their writing
// while the next ones are made leaves it little to wait for.
void AtomicFile::wrote(qint64 length)
{
    if ((unsynced += length) < writebackStep)
        return;
    unsynced = 0;
#ifdef __linux__
    (void)::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE); // a hint: a failure shows at commit
#endif
}

void AtomicFile::write(const char *data, qint64 length)
{
    if (length >= bufferSize) {
        flush();
        buffer = QByteArray::fromRawData(data, length);
        flush();
        buffer = QByteArray();
        buffer.reserve(bufferSize);
        return;
    }
    if (buffer.size() + length > bufferSize)
        flush();
    buffer.append(data, length);
}

void AtomicFile::writeAt(const char *data, qint64 length, qint64 position)
{
    while (length > 0) {
        const ssize_t n = ::pwrite(fd, data, static_cast<size_t>(length), static_cast<off_t>(position));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            // The file stays open: another thread may still be writing it.
            throw createError(theTarget, errno);
        }
        data += n;
        length -= n;
        position += n;
        wrote(n);
    }
}

void AtomicFile::seek(qint64 position)
{
    flush();
    if (::lseek(fd, position, SEEK_SET) < 0)
        fail(errno);
}

void AtomicFile::commit()
{
    flush();
    if (::fsync(fd) != 0)
        fail(errno);
    if (::close(fd) != 0) {
        fd = -1;
        const int error = errno;
        ::unlink(tempPath.constData());
        throw createError(theTarget, error);
    }
    fd = -1;
    if (::rename(tempPath.constData(), realPath.constData()) != 0) {
        const int error = errno;
        ::unlink(tempPath.constData());
        throw createError(theTarget, error);
    }
}
