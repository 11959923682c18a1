// The window's part of correcting: the Edit menu and its undo stack, the
// find bar under the tabs, and the word tables' cell edits on the stack.
#include "ui/mainwindow.h"

#include "ui/editactions.h"
#include "ui/findbar.h"
#include "ui/playerbar.h"
#include "ui/tablefollower.h"

#include <QBoxLayout>
#include <QTableView>

void MainWindow::makeEditActions()
{
    EditActions::Views views;
    views.tabs = tcData;
    views.words1 = sgCTM1;
    views.words2 = sgCTM2;
    views.phrases = sgSRT;
    views.text1 = textViews[static_cast<size_t>(TextView::Text1)];
    views.text2 = textViews[static_cast<size_t>(TextView::Text2)];
    views.player = player;
    editActions = new EditActions(
        *theJob, views, [this](const std::function<void(GlueJob &)> &command) { runCommand(command); },
        [this](WordTable table, int row) {
            playRow(followers[table == WordTable::Main ? 0 : 1].get(), row);
        },
        editMenu, this);
    // Under the tabs, above the status lines.
    auto *column = static_cast<QBoxLayout *>(layout());
    column->insertWidget(column->count() - 1, editActions->findBar());
}
