#pragma once

#include "formats/cuecheck.h"

#include <QAbstractTableModel>

// The problems of the subtitles under a profile as a view sees them: cue,
// start, kind, value and limit, read only, each cell formatted when a view
// asks.
class SubtitleProblemModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Shows check instead of the problems shown so far.
    void setCheck(CueCheck check);
    const CueCheck &check() const { return shown; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // A kind of problem as the window names it.
    static QString kindText(CueProblem::Kind kind);

private:
    CueCheck shown;
};
