#pragma once

#include "ui/windowmemory.h"

#include <QMenu>

#include <functional>

// The "Recent interviews" list of the Open list: the recently glued
// interviews, newest first, each named by its recordings (or word files) and
// folder, with every path in its tooltip; choosing one opens its inputs again.
class RecentMenu : public QMenu
{
    Q_OBJECT
public:
    using Reopen = std::function<void(const WindowMemory::Interview &)>;

    RecentMenu(QWidget *parent, Reopen reopen);

    // Shows the list again.
    void showInterviews(const QList<WindowMemory::Interview> &interviews);

    // "interview_1.wav + interview_2.wav": how an entry names its interview.
    static QString nameOf(const WindowMemory::Interview &interview);
    // The folder of its first input, "~" for the home folder: what tells two
    // interviews with the same file names apart.
    static QString folderOf(const WindowMemory::Interview &interview);

private:
    Reopen reopen;
};
