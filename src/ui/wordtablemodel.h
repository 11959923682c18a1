#pragma once

#include "formats/wordrow.h"
#include "job/correction.h"
#include "job/viewparts.h"

#include <QAbstractTableModel>
#include <QIcon>

#include <functional>

#include <span>

class GlueJob;

// One word table of the glue job as a view sees it. The rows stay the job's;
// a cell is formatted when a view asks for it, so a million rows cost the
// model nothing. The job's notices come in through rowsReplaced, rowsAppended
// and rowsChanged, each turned into one reset, one insert or one dataChanged.
//
// The model keeps the row count it last announced: a view asks only for rows
// it was told about, also while the job's rows have changed and the notice
// is still on its way.
class WordTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    WordTableModel(GlueJob &job, WordTable table, QObject *parent = nullptr);

    WordTable table() const { return theTable; }
    // Where a cell edit's correction goes (the window's undo stack).
    void setCorrectionSink(std::function<void(Correction)> sink) { corrected = std::move(sink); }
    // Shows the words of one part of the job's list of parts instead of the
    // table (index from 0; -1 shows no rows), and edits go to them.
    void showPart(int index);

    // The job's rows were replaced as a whole.
    void rowsReplaced();
    // count rows were appended from first on.
    void rowsAppended(int first, int count);
    // Rows first .. last changed in place.
    void rowsChanged(int first, int last);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    // A doubtful word (isDoubtful) shows a glyph before its text and says
    // why in its tooltip, not by colour alone.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // An edit goes to the job, which keeps a number typed in its own form as
    // that number and anything else as typed; its notice repaints the row.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::span<const WordRow> rows() const;
    QVariant doubt(const WordRow &row, int role) const;

    GlueJob &job;
    WordTable theTable;
    bool showsPart = false;
    int part = -1;
    int announcedRows = 0;
    std::function<void(Correction)> corrected;
    QIcon doubtGlyph;
};
