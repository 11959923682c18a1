#pragma once

#include "job/timeindex.h"

#include <QObject>

#include <cstdint>
#include <functional>

class QTableView;

// Keeps a table of timed rows on the word or phrase a recording plays: the
// row playing is selected and, when asked, scrolled into view. The rows'
// starts are indexed once and again only after the table's rows changed, so
// following costs a binary search per position. A row whose cell a person
// edits is left alone while the editor is open.
class TableFollower : public QObject
{
    Q_OBJECT
public:
    // makeIndex indexes the rows the view's model shows.
    TableFollower(QTableView *view, std::function<TimeIndex()> makeIndex, QObject *parent = nullptr);

    QTableView *view() const { return theView; }
    // Selects the row playing at ms and keeps it in view.
    void follow(std::int64_t ms);
    // Selects row (a row the person chose to play from) and keeps it in view.
    void select(int row);
    // Where the row starts, TimeIndex::noTime if it has no time.
    std::int64_t startOf(int row);
    int rowAt(std::int64_t ms);

signals:
    // The person scrolled the table (scroll bar, wheel), not the follower.
    void scrolledByHand();

private:
    const TimeIndex &index();

    QTableView *theView;
    std::function<TimeIndex()> makeIndex;
    TimeIndex rows;
    bool stale = true;
    int selected = -1; // the row the follower selected last
};
