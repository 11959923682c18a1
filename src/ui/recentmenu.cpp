#include "ui/recentmenu.h"

#include <QFileInfo>

RecentMenu::RecentMenu(QWidget *parent, Reopen reopen)
    : QMenu(QStringLiteral("&Recent"), parent), reopen(std::move(reopen))
{
    setObjectName(QStringLiteral("mnRecent"));
    menuAction()->setObjectName(QStringLiteral("miRecent"));
    showInterviews({});
}

QString RecentMenu::nameOf(const WindowMemory::Interview &interview)
{
    // The recordings name an interview best, then the word files, the texts.
    for (int first : {4, 0, 2}) {
        QStringList names;
        for (int i = first; i < first + 2 && i < interview.size(); ++i)
            if (!interview[i].isEmpty())
                names << QFileInfo(interview[i]).fileName();
        if (!names.isEmpty())
            return names.join(QStringLiteral(" + "));
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
        QString name = nameOf(interview);
        name.replace(u'&', QStringLiteral("&&"));
        QAction *entry = addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        entry->setObjectName(QStringLiteral("miRecent%1").arg(i + 1));
        entry->setToolTip(interview.join(u'\n'));
        connect(entry, &QAction::triggered, this, [this, interview] { reopen(interview); });
    }
}
