#pragma once

#include "ui/windowmemory.h"

#include <QMenu>

#include <functional>

// The "Recent" list of the Open list: the recently glued interviews, newest
// first, each named by its recordings (or word files); choosing one opens
// its inputs again.
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

private:
    Reopen reopen;
};
