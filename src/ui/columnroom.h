#pragma once

#include <initializer_list>

class QTableView;

// Gives the room a table has beyond its other columns to the columns named
// (a text, a file name), shared evenly, so they widen with the window. The
// others keep the widths they have and stay resizable by hand. Call it once
// the view has its model.
void giveRoomTo(QTableView *view, std::initializer_list<int> columns);
