#include "ui/wordtablemodel.h"

#include "job/doubtfulwords.h"
#include "job/gluejob.h"

#include <QApplication>
#include <QStyle>

#include <algorithm>
#include <array>

namespace {

const std::array<const char *, WordRow::columnCount> headers{
    "#", QT_TRANSLATE_NOOP("WordTableModel", "Start time"), QT_TRANSLATE_NOOP("WordTableModel", "End time"),
    QT_TRANSLATE_NOOP("WordTableModel", "Transcription"), QT_TRANSLATE_NOOP("WordTableModel", "Confidence"),
    QT_TRANSLATE_NOOP("WordTableModel", "Speaker")};

} // namespace

WordTableModel::WordTableModel(GlueJob &job, WordTable table, QObject *parent)
    : QAbstractTableModel(parent), job(job), theTable(table),
      announcedRows(static_cast<int>(job.wordRows(table).size())),
      doubtGlyph(QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning))
{
}

std::span<const WordRow> WordTableModel::rows() const
{
    return showsPart ? job.partWordRows(part) : job.wordRows(theTable);
}

void WordTableModel::showPart(int index)
{
    showsPart = true;
    part = index;
    rowsReplaced();
}

void WordTableModel::rowsReplaced()
{
    beginResetModel();
    announcedRows = static_cast<int>(rows().size());
    endResetModel();
}

void WordTableModel::rowsAppended(int first, int count)
{
    if (count <= 0)
        return;
    // Rows that do not follow the ones shown: show the table afresh.
    if (first != announcedRows
        || static_cast<size_t>(first) + static_cast<size_t>(count) > rows().size()) {
        rowsReplaced();
        return;
    }
    beginInsertRows(QModelIndex(), first, first + count - 1);
    announcedRows += count;
    endInsertRows();
}

void WordTableModel::rowsChanged(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, announcedRows - 1);
    if (first > last)
        return;
    emit dataChanged(index(first, 0), index(last, WordRow::columnCount - 1),
                     {Qt::DisplayRole, Qt::EditRole});
}

int WordTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : announcedRows;
}

int WordTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : WordRow::columnCount;
}

QVariant WordTableModel::data(const QModelIndex &index, int role) const
{
    const bool mark = index.isValid() && index.column() == WordRow::Text
                      && (role == Qt::DecorationRole || role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole);
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole && !mark))
        return QVariant();
    const std::span<const WordRow> shown = rows();
    const auto row = static_cast<size_t>(index.row());
    if (index.row() >= announcedRows || row >= shown.size())
        return mark ? QVariant() : QVariant(QString());
    if (mark)
        return doubt(shown[row], role);
    return shown[row].cell(static_cast<WordRow::Column>(index.column()));
}

QVariant WordTableModel::doubt(const WordRow &row, int role) const
{
    if (!isDoubtful(row, job.settings))
        return QVariant();
    if (role == Qt::DecorationRole)
        return doubtGlyph;
    if (job.settings.unknownWords.contains(row.text))
        return tr("Doubtful: the aligner did not know this word (F8 goes to the next one).");
    return tr("Doubtful: confidence %1 is below %2 (F8 goes to the next one).")
        .arg(row.cell(WordRow::Confidence))
        .arg(job.settings.lowConfidence, 0, 'f', 2);
}

bool WordTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || index.row() >= announcedRows
        || static_cast<size_t>(index.row()) >= rows().size())
        return false;
    const auto column = static_cast<WordRow::Column>(index.column());
    if (!showsPart) {
        Correction correction = job.correctWordCell(theTable, index.row(), column, value.toString());
        if (corrected)
            corrected(std::move(correction));
    } else
        job.setPartWordCell(part, index.row(), column, value.toString());
    return true;
}

Qt::ItemFlags WordTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

QVariant WordTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < WordRow::columnCount
                   ? QVariant(tr(headers[static_cast<size_t>(section)]))
                   : QVariant();
    return section + 1;
}
