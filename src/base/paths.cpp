#include "base/paths.h"

#include <QFileInfo>

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
