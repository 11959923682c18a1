#pragma once

#include <QAbstractTableModel>

class GlueJob;

// The job's list of parts as a view sees it: one row a part, the cells of
// PartRow. The gap after a part is edited in place; everything else changes
// through the job's commands.
class PartTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit PartTableModel(GlueJob &job, QObject *parent = nullptr);

    // The job's parts changed: a new count resets the model, the same count
    // repaints every row.
    void refresh();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    GlueJob &job;
    int announcedRows = 0;
};
