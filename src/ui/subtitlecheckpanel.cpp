#include "ui/subtitlecheckpanel.h"

#include "ui/subtitleproblemmodel.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

SubtitleCheckPanel::SubtitleCheckPanel(QWidget *parent) : QWidget(parent)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    lbProblems = new QLabel;
    lbProblems->setObjectName(QStringLiteral("lbProblems"));
    lbProblems->setWordWrap(true);
    lbProblems->setContentsMargins(4, 2, 4, 2);
    column->addWidget(lbProblems);
    model = new SubtitleProblemModel(this);
    sgProblems = new QTableView;
    sgProblems->setObjectName(QStringLiteral("sgProblems"));
    sgProblems->setModel(model);
    sgProblems->setWordWrap(false);
    sgProblems->setSelectionBehavior(QAbstractItemView::SelectRows);
    sgProblems->setSelectionMode(QAbstractItemView::SingleSelection);
    sgProblems->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgProblems->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sgProblems->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    sgProblems->verticalHeader()->hide();
    sgProblems->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {60, 100, 140, 80};
    for (int c = 0; c < 4; ++c)
        sgProblems->horizontalHeader()->resizeSection(c, widths[c]);
    column->addWidget(sgProblems, 1);
    const auto choose = [this](const QModelIndex &index) {
        const auto row = static_cast<std::size_t>(index.row());
        if (index.isValid() && row < model->check().problems.size())
            emit cueChosen(model->check().problems[row].start);
    };
    connect(sgProblems, &QAbstractItemView::clicked, this, choose);
    connect(sgProblems, &QAbstractItemView::activated, this, choose);
    showCheck({}, QString());
}

SubtitleCheckPanel::~SubtitleCheckPanel() = default;

void SubtitleCheckPanel::showCheck(CueCheck check, const QString &profileName)
{
    QStringList counts;
    const auto perKind = check.countPerKind();
    for (int k = 0; k < CueProblem::kindCount; ++k)
        if (const std::size_t n = perKind[static_cast<std::size_t>(k)])
            counts << tr("%1: %2").arg(SubtitleProblemModel::kindText(static_cast<CueProblem::Kind>(k))).arg(n);
    if (check.cueCount == 0)
        lbProblems->setText(tr("The subtitles are checked against the profile chosen on \"Settings\" once they are made."));
    else if (check.problems.empty())
        lbProblems->setText(tr("No problems in %n cue(s) under the profile %1.", nullptr, static_cast<int>(check.cueCount))
                                .arg(profileName));
    else
        lbProblems->setText(tr("%n problem(s) in %1 cues under the profile %2: %3. Click a problem to hear its phrase.",
                               nullptr, static_cast<int>(check.problems.size()))
                                .arg(check.cueCount)
                                .arg(profileName, counts.join(QStringLiteral(", "))));
    model->setCheck(std::move(check));
}
