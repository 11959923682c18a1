#pragma once

#include <QWidget>

#include <cstddef>
#include <memory>

class GlueJob;
class QPushButton;
class QTableView;
class ReviewTableModel;

// The "Review" tab: the job's review list (see job/reviewlist.h), one row
// per doubtful spot, sorted by time, and the button that fills unknown
// words from the transcript. Enter or a double-click on a spot chooses its
// word row.
class ReviewPanel : public QWidget
{
    Q_OBJECT
public:
    explicit ReviewPanel(QWidget *parent = nullptr);
    ~ReviewPanel() override;

    // The job to show; nullptr lets go of it.
    void setJob(const GlueJob *job);
    // The job made its review list again: shown afresh.
    void jobChanged();
    // The tab's caption: "Review (N)".
    QString caption() const;
    QTableView *table() const { return sgReview; }
    QPushButton *fillButton() const { return pbFillUnknown; }

signals:
    // The person chose the spot at the word table's row (from 0).
    void wordRowChosen(std::size_t row);
    void fillRequested();

private:
    const GlueJob *job = nullptr;
    std::unique_ptr<ReviewTableModel> model;
    QTableView *sgReview = nullptr;
    QPushButton *pbFillUnknown = nullptr;
};
