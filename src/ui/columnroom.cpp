#include "ui/columnroom.h"

#include <QHeaderView>
#include <QTableView>

void giveRoomTo(QTableView *view, std::initializer_list<int> columns)
{
    QHeaderView *header = view->horizontalHeader();
    header->setStretchLastSection(false);
    // Stretching sections are laid out from the header's width alone: no
    // row is measured, so a million rows cost nothing here.
    for (int column : columns)
        header->setSectionResizeMode(column, QHeaderView::Stretch);
}
