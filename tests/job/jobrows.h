#pragma once

#include "support/fakeperson.h"

#include <QList>
#include <QStringList>

#include <span>
#include <vector>

// Rows of the job's tables given as the texts of their cells, left to right,
// set as a person typing them would set them (WordRow, PhraseRow).
template <typename Row>
Row rowOf(const QStringList &texts)
{
    Row row;
    for (int column = 0; column < texts.size() && column < Row::columnCount; ++column)
        row.setCell(static_cast<typename Row::Column>(column), texts[column]);
    return row;
}

template <typename Row>
std::vector<Row> rowsOf(const QList<QStringList> &texts)
{
    std::vector<Row> rows;
    for (const QStringList &row : texts)
        rows.push_back(rowOf<Row>(row));
    return rows;
}

// The cells of every row, as the table shows them.
template <typename Row>
QList<QStringList> cellsOf(std::span<const Row> rows)
{
    QList<QStringList> texts;
    for (const Row &row : rows)
        texts << cells(row);
    return texts;
}

template <typename Row>
QList<QStringList> cellsOf(const std::vector<Row> &rows)
{
    return cellsOf(std::span<const Row>(rows));
}
