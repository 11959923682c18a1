#include "ui/reviewtablemodel.h"

#include "job/gluejob.h"

ReviewTableModel::ReviewTableModel(const GlueJob &job, QObject *parent) : QAbstractTableModel(parent), job(job) {}

void ReviewTableModel::rowsReplaced()
{
    beginResetModel();
    endResetModel();
}

int ReviewTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(job.review().rows.size());
}

int ReviewTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ReviewRow::columnCount;
}

QVariant ReviewTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole)
        return job.review().rows[static_cast<std::size_t>(index.row())].cell(static_cast<ReviewRow::Column>(index.column()));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignTop);
    return {};
}

QVariant ReviewTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= ReviewRow::columnCount)
        return {};
    QString name = ReviewRow::columnName(static_cast<ReviewRow::Column>(section));
    name[0] = name[0].toUpper();
    return name;
}
