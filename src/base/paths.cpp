#include "base/paths.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

QString fileNamePart(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QString folderPart(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return QString();
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

QString replaceExtension(const QString &path, const QString &extension)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot > slash)
        return path.left(dot) + extension;
    return path + extension;
}

bool isRegularFile(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

bool isSameFile(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    struct stat sa, sb;
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0
        || ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}
