#include "ui/parttablemodel.h"

#include "job/gluejob.h"

PartTableModel::PartTableModel(GlueJob &job, QObject *parent)
    : QAbstractTableModel(parent), job(job), announcedRows(job.partCount())
{
}

void PartTableModel::refresh()
{
    if (job.partCount() != announcedRows) {
        beginResetModel();
        announcedRows = job.partCount();
        endResetModel();
    } else if (announcedRows > 0) {
        emit dataChanged(index(0, 0), index(announcedRows - 1, PartRow::columnCount - 1));
    }
}

int PartTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : announcedRows;
}

int PartTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : PartRow::columnCount;
}

QVariant PartTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= announcedRows)
        return QVariant();
    const PartRow row = job.partRow(index.row());
    const auto column = static_cast<PartRow::Column>(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return row.cell(column);
    case Qt::ToolTipRole: // the whole path of a file
        return column == PartRow::WordFile ? row.files.wordFile
               : column == PartRow::Text   ? row.files.text
               : column == PartRow::Recording ? row.files.recording
                                              : QVariant();
    default:
        return QVariant();
    }
}

bool PartTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || index.column() != PartRow::Gap || index.row() >= announcedRows)
        return false;
    bool ok = false;
    const qlonglong ms = value.toString().trimmed().toLongLong(&ok);
    if (!ok || ms < 0)
        return false;
    job.setPartGap(index.row(), ms);
    return true;
}

Qt::ItemFlags PartTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    return index.column() == PartRow::Gap ? flags | Qt::ItemIsEditable : flags;
}

QVariant PartTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= PartRow::columnCount)
        return QVariant();
    return PartRow::caption(static_cast<PartRow::Column>(section));
}
