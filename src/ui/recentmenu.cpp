#include "ui/recentmenu.h"

#include <QDir>
#include <QFileInfo>

RecentMenu::RecentMenu(QWidget *parent, Reopen reopen)
    : QMenu(tr("Recent interview&s"), parent), reopen(std::move(reopen))
{
    setObjectName(QStringLiteral("mnRecent"));
    // An entry's tooltip names every input with its folder.
    setToolTipsVisible(true);
    menuAction()->setObjectName(QStringLiteral("miRecent"));
    showInterviews({});
}

QString RecentMenu::nameOf(const WindowMemory::Interview &entry)
{
    const QStringList &interview = entry.inputs;
    // The recordings name an interview best, then the word files, the texts;
    // of many parts the first and the last, and how many.
    const qsizetype parts = interview.size() / 3;
    for (qsizetype first : {2 * parts, qsizetype(0), parts}) {
        QStringList names;
        for (qsizetype i = first; i < first + parts && i < interview.size(); ++i)
            if (!interview[i].isEmpty())
                names << QFileInfo(interview[i]).fileName();
        if (names.size() > 2)
            return QStringLiteral("%1 ... %2 (%3 parts)").arg(names.first(), names.last()).arg(parts);
        if (!names.isEmpty())
            return names.join(QStringLiteral(" + "));
    }
    return QString();
}

QString RecentMenu::folderOf(const WindowMemory::Interview &entry)
{
    for (const QString &path : entry.inputs) {
        if (path.isEmpty())
            continue;
        const QString folder = QFileInfo(path).absolutePath();
        const QString home = QDir::homePath();
        if (folder == home || folder.startsWith(home + u'/'))
            return QDir::toNativeSeparators(u'~' + folder.mid(home.size()));
        return QDir::toNativeSeparators(folder);
    }
    return QString();
}

void RecentMenu::showInterviews(const QList<WindowMemory::Interview> &interviews)
{
    clear();
    menuAction()->setEnabled(!interviews.isEmpty());
    for (qsizetype i = 0; i < interviews.size(); ++i) {
        const WindowMemory::Interview interview = interviews[i];
        // "&1 ...": the number is the entry's key; a name's own "&" stays a character.
        // Two interviews whose files have the same names differ by their folder.
        QString name = tr("%1 in %2").arg(nameOf(interview), folderOf(interview));
        name.replace(u'&', QStringLiteral("&&"));
        QAction *entry = addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        entry->setObjectName(QStringLiteral("miRecent%1").arg(i + 1));
        QStringList paths = interview.inputs;
        paths.removeAll(QString());
        entry->setToolTip(paths.join(u'\n'));
        connect(entry, &QAction::triggered, this, [this, interview] { reopen(interview); });
    }
}
