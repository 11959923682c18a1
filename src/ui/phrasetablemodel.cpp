#include "ui/phrasetablemodel.h"

#include "job/gluejob.h"

#include <algorithm>
#include <array>

namespace {

// As the word table names its times.
const std::array<const char *, PhraseRow::columnCount> headers{
    "#", QT_TRANSLATE_NOOP("PhraseTableModel", "Start time"), QT_TRANSLATE_NOOP("PhraseTableModel", "End time"),
    QT_TRANSLATE_NOOP("PhraseTableModel", "Characters"), QT_TRANSLATE_NOOP("PhraseTableModel", "Text")};

} // namespace

PhraseTableModel::PhraseTableModel(GlueJob &job, QObject *parent)
    : QAbstractTableModel(parent), job(job),
      announcedRows(static_cast<int>(job.phraseRows().size()))
{
}

void PhraseTableModel::rowsReplaced()
{
    beginResetModel();
    announcedRows = static_cast<int>(job.phraseRows().size());
    endResetModel();
}

void PhraseTableModel::rowsChanged(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, announcedRows - 1);
    if (first > last)
        return;
    emit dataChanged(index(first, 0), index(last, PhraseRow::columnCount - 1),
                     {Qt::DisplayRole, Qt::EditRole});
}

int PhraseTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : announcedRows;
}

int PhraseTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : PhraseRow::columnCount;
}

QVariant PhraseTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    // A phrase may run over several lines: every cell starts at the top.
    if (role == Qt::TextAlignmentRole)
        return QVariant(Qt::AlignLeft | Qt::AlignTop);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    const std::vector<PhraseRow> &rows = job.phraseRows();
    const auto row = static_cast<size_t>(index.row());
    if (index.row() >= announcedRows || row >= rows.size())
        return QString();
    return rows[row].cell(static_cast<PhraseRow::Column>(index.column()));
}

Qt::ItemFlags PhraseTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // The phrases are made from the words: they are corrected there.
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
}

QVariant PhraseTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < PhraseRow::columnCount
                   ? QVariant(tr(headers[static_cast<size_t>(section)]))
                   : QVariant();
    return section + 1;
}
