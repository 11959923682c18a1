#include "ui/tablefollower.h"

#include <QAbstractItemModel>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>

TableFollower::TableFollower(QTableView *view, std::function<TimeIndex()> make, QObject *parent)
    : QObject(parent), theView(view), makeIndex(std::move(make))
{
    QAbstractItemModel *model = view->model();
    const auto changed = [this] { stale = true; };
    connect(model, &QAbstractItemModel::modelReset, this, changed);
    connect(model, &QAbstractItemModel::rowsInserted, this, changed);
    connect(model, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(model, &QAbstractItemModel::dataChanged, this, changed);
    // Actions are what a person does to a scroll bar (drag, click, wheel);
    // scrolling a row into view only sets its value.
    for (QScrollBar *bar : {view->verticalScrollBar(), view->horizontalScrollBar()})
        connect(bar, &QScrollBar::actionTriggered, this, [this] { emit scrolledByHand(); });
}

const TimeIndex &TableFollower::index()
{
    if (stale) {
        rows = makeIndex();
        stale = false;
        selected = -1;
    }
    return rows;
}

std::int64_t TableFollower::startOf(int row)
{
    return index().startOf(row);
}

int TableFollower::rowAt(std::int64_t ms)
{
    return index().rowAt(ms);
}

void TableFollower::follow(std::int64_t ms)
{
    const TimeIndex &timed = index();
    const int row = timed.rowAt(ms);
    if (row < 0)
        return;
    // A row chosen among words of one start stays chosen while they play.
    if (selected >= 0 && timed.startOf(selected) == timed.startOf(row)
        && theView->currentIndex().row() == selected)
        return;
    select(row);
}

void TableFollower::select(int row)
{
    QAbstractItemModel *model = theView->model();
    // An open cell editor (the one widget a view shows in a cell) would be
    // closed by a new current row.
    if (!model || row < 0 || row >= model->rowCount() || theView->indexWidget(theView->currentIndex()))
        return;
    selected = row;
    const QModelIndex current = model->index(row, std::max(theView->currentIndex().column(), 0));
    if (theView->currentIndex() != current || !theView->selectionModel()->isRowSelected(row))
        theView->selectionModel()->setCurrentIndex(
            current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    // The row playing stays in the middle third of the view, so the words
    // to come show below it; a row at either end of the table stays where
    // the table can scroll it.
    const QRect place = theView->visualRect(current);
    const int height = theView->viewport()->height();
    if (place.top() < height / 3 || place.bottom() > 2 * height / 3)
        theView->scrollTo(current, QAbstractItemView::PositionAtCenter);
}
