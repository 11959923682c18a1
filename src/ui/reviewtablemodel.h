#pragma once

#include <QAbstractTableModel>

class GlueJob;

// The review list of the glue job as a view sees it: the job's review rows,
// read only, each cell formatted when a view asks.
class ReviewTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit ReviewTableModel(const GlueJob &job, QObject *parent = nullptr);

    // The job made its review list again.
    void rowsReplaced();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const GlueJob &job;
};
