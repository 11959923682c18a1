#include "lines/bestandsnaam.h"

#include <QFileInfo>

QString naamDeel(const QString &pad)
{
    return pad.mid(pad.lastIndexOf(u'/') + 1);
}

QString mapDeel(const QString &pad)
{
    const qsizetype slash = pad.lastIndexOf(u'/');
    if (slash < 0)
        return QString();
    return slash == 0 ? QStringLiteral("/") : pad.left(slash);
}

QString vervangExtensie(const QString &pad, const QString &ext)
{
    const qsizetype slash = pad.lastIndexOf(u'/');
    const qsizetype punt = pad.lastIndexOf(u'.');
    if (punt > slash)
        return pad.left(punt) + ext;
    return pad + ext;
}

bool bestandBestaat(const QString &pad)
{
    if (pad.isEmpty())
        return false;
    const QFileInfo info(pad);
    return info.exists() && info.isFile();
}
