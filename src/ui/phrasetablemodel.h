#pragma once

#include <QAbstractTableModel>

class GlueJob;

// The phrase table of the glue job as a view sees it: the job's phrase rows,
// each cell formatted when a view asks, shown top-left in its cell. Like
// WordTableModel it turns the job's notices into one reset or one dataChanged
// and keeps the row count it last announced.
class PhraseTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit PhraseTableModel(GlueJob &job, QObject *parent = nullptr);

    // The job's phrase rows were replaced as a whole.
    void rowsReplaced();
    // Rows first .. last changed in place.
    void rowsChanged(int first, int last);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // Read only: the phrases are made from the words, corrected there.
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    GlueJob &job;
    int announcedRows = 0;
};
