#include "formats/filebytesource.h"

#include "base/error.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void fileError(const char *what, const QString &path, int error)
{
    throw Error(QStringLiteral("Cannot %1 file \"%2\". %3")
                    .arg(QLatin1StringView(what), path, QString::fromLocal8Bit(std::strerror(error))));
}

} // namespace

FileByteSource::FileByteSource(const QString &path) : path(path)
{
    const QByteArray encoded = QFile::encodeName(path);
    // Without O_NONBLOCK, opening a FIFO waits for a writer.
    fd = path.isEmpty() ? -1 : ::open(encoded.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        fileError("open", path, path.isEmpty() ? ENOENT : errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int error = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        fileError("open", path, error);
    }
    if (!S_ISREG(st.st_mode)) {
        // A FIFO or a device has no size to seek in and may never end.
        ::close(fd);
        throw Error(QStringLiteral("Cannot open file \"%1\". Not a regular file").arg(path));
    }
    fileSize = st.st_size;
    (void)::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
}

FileByteSource::~FileByteSource()
{
    ::close(fd);
}

qint64 FileByteSource::readAt(void *out, qint64 n, qint64 position) const
{
    char *p = static_cast<char *>(out);
    qint64 done = 0;
    while (done < n) {
        const ssize_t k = ::pread(fd, p + done, static_cast<size_t>(n - done), static_cast<off_t>(position + done));
        if (k < 0) {
            if (errno == EINTR)
                continue;
            fileError("read", path, errno);
        }
        if (k == 0)
            break;
        done += k;
    }
    return done;
}
