#pragma once
// Shared by the fuzz targets that take a word table. Word rows from bytes:
// one row a line, the cells of the columns Start, End, Text, Confidence and
// Speaker separated by tabs, typed into the row as a person would type them;
// the Number column holds the row number, as opening a word file sets it.
#include "base/textfile.h"
#include "formats/wordrow.h"

#include <QByteArray>
#include <QStringTokenizer>

#include <cstddef>
#include <cstdint>
#include <vector>

// The cells of each line: Start, End, Text, Confidence, Speaker; missing
// ones are empty.
inline std::vector<QStringList> wordCellsFromBytes(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    std::vector<QStringList> rows;
    for (const QString &line : linesFromBytes(bytes)) {
        QStringList cells;
        for (const QStringView field : QStringTokenizer(line, u'\t')) {
            if (cells.size() == 5)
                break;
            cells << field.toString();
        }
        while (cells.size() < 5)
            cells << QString();
        rows.push_back(cells);
    }
    return rows;
}

inline std::vector<WordRow> wordRowsFromBytes(const std::uint8_t *data, std::size_t size)
{
    std::vector<WordRow> rows;
    for (const QStringList &cells : wordCellsFromBytes(data, size)) {
        WordRow row;
        row.number = static_cast<std::int64_t>(rows.size()) + 1;
        for (int column = WordRow::Start; column <= WordRow::Speaker; ++column)
            row.setCell(static_cast<WordRow::Column>(column), cells[column - 1]);
        rows.push_back(std::move(row));
    }
    return rows;
}
