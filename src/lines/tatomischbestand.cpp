#include "lines/tatomischbestand.h"

#include "lines/efout.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr qsizetype bufferGrootte = 1 << 20;
}

TAtomischBestand::TAtomischBestand(const QString &doel) : hetDoel(doel)
{
    if (doel.isEmpty())
        faal(ENOENT);
    // Replace the file a link points to, not the link.
    const QFileInfo info(doel);
    const QString echt = info.isSymLink() && info.exists() ? info.canonicalFilePath() : doel;
    hetEcht = QFile::encodeName(echt);

    struct stat st {};
    mode_t modus = 0666;
    if (::stat(hetEcht.constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            faal(EISDIR);
        modus = st.st_mode & 07777;
    }
    // A unique name in the target's own folder, so rename() stays on one file system.
    for (int poging = 0; poging < 100 && fd < 0; ++poging) {
        hetTijdelijk = hetEcht + ".naadwerk-" + QByteArray::number(::getpid()) + "-" +
                       QByteArray::number(poging) + ".tmp";
        fd = ::open(hetTijdelijk.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, modus);
        if (fd < 0 && errno != EEXIST)
            faal(errno);
    }
    if (fd < 0)
        faal(EEXIST);
    if (modus != 0666)
        (void)::fchmod(fd, modus); // keep the permissions of the file we replace
    deBuffer.reserve(bufferGrootte);
}

TAtomischBestand::~TAtomischBestand()
{
    if (fd >= 0) {
        ::close(fd);
        ::unlink(hetTijdelijk.constData());
    }
}

void TAtomischBestand::faal(int fout)
{
    const int bewaard = fout;
    if (fd >= 0) {
        ::close(fd);
        ::unlink(hetTijdelijk.constData());
        fd = -1;
    }
    throw EFout(QStringLiteral("Cannot create file \"%1\". %2")
                    .arg(hetDoel, QString::fromLocal8Bit(std::strerror(bewaard))));
}

void TAtomischBestand::spoel()
{
    const char *p = deBuffer.constData();
    qint64 rest = deBuffer.size();
    while (rest > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(rest));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            faal(errno);
        }
        p += n;
        rest -= n;
    }
    deBuffer.clear();
}

void TAtomischBestand::schrijf(const char *data, qint64 lengte)
{
    if (lengte >= bufferGrootte) {
        spoel();
        deBuffer = QByteArray::fromRawData(data, lengte);
        spoel();
        deBuffer = QByteArray();
        deBuffer.reserve(bufferGrootte);
        return;
    }
    if (deBuffer.size() + lengte > bufferGrootte)
        spoel();
    deBuffer.append(data, lengte);
}

void TAtomischBestand::zoek(qint64 positie)
{
    spoel();
    if (::lseek(fd, positie, SEEK_SET) < 0)
        faal(errno);
}

void TAtomischBestand::commit()
{
    spoel();
    if (::fsync(fd) != 0)
        faal(errno);
    if (::close(fd) != 0) {
        fd = -1;
        const int fout = errno;
        ::unlink(hetTijdelijk.constData());
        throw EFout(QStringLiteral("Cannot create file \"%1\". %2")
                        .arg(hetDoel, QString::fromLocal8Bit(std::strerror(fout))));
    }
    fd = -1;
    if (::rename(hetTijdelijk.constData(), hetEcht.constData()) != 0) {
        const int fout = errno;
        ::unlink(hetTijdelijk.constData());
        throw EFout(QStringLiteral("Cannot create file \"%1\". %2")
                        .arg(hetDoel, QString::fromLocal8Bit(std::strerror(fout))));
    }
}
