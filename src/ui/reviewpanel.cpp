#include "ui/reviewpanel.h"

#include "job/gluejob.h"
#include "ui/reviewtablemodel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

ReviewPanel::ReviewPanel(QWidget *parent) : QWidget(parent)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(4, 2, 4, 2);
    pbFillUnknown = new QPushButton;
    pbFillUnknown->setObjectName(QStringLiteral("pbFillUnknown"));
    buttons->addWidget(pbFillUnknown);
    buttons->addStretch();
    column->addLayout(buttons);
    sgReview = new QTableView;
    sgReview->setObjectName(QStringLiteral("sgReview"));
    sgReview->setWordWrap(false);
    sgReview->setSelectionBehavior(QAbstractItemView::SelectRows);
    sgReview->setSelectionMode(QAbstractItemView::SingleSelection);
    sgReview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgReview->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sgReview->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    sgReview->verticalHeader()->hide();
    sgReview->horizontalHeader()->setStretchLastSection(true);
    column->addWidget(sgReview, 1);
    // Enter and a double-click activate a spot.
    connect(sgReview, &QAbstractItemView::activated, this, [this](const QModelIndex &index) {
        if (job && index.isValid() && static_cast<std::size_t>(index.row()) < job->review().rows.size())
            emit wordRowChosen(job->review().rows[static_cast<std::size_t>(index.row())].row);
    });
    connect(pbFillUnknown, &QPushButton::clicked, this, &ReviewPanel::fillRequested);
    jobChanged();
}

ReviewPanel::~ReviewPanel()
{
    setJob(nullptr);
}

void ReviewPanel::setJob(const GlueJob *newJob)
{
    sgReview->setModel(nullptr);
    model.reset();
    job = newJob;
    if (job) {
        model = std::make_unique<ReviewTableModel>(*job);
        sgReview->setModel(model.get());
        const int widths[ReviewRow::columnCount] = {40, 90, 60, 110, 250, 250};
        for (int c = 0; c < ReviewRow::columnCount; ++c)
            sgReview->horizontalHeader()->resizeSection(c, widths[c]);
    }
    jobChanged();
}

void ReviewPanel::jobChanged()
{
    if (model)
        model->rowsReplaced();
    const std::size_t fills = job ? job->review().fills.size() : 0;
    pbFillUnknown->setText(QStringLiteral("Fill %1 unknown words from the transcript").arg(fills));
    pbFillUnknown->setEnabled(fills > 0);
}

QString ReviewPanel::caption() const
{
    return QStringLiteral("Review (%1)").arg(job ? job->review().rows.size() : 0);
}
