// The window's part of listening: which recording the player has, the tables
// that follow it, and playing from a word or a phrase.
#include "ui/mainwindow.h"

#include "base/timetext.h"
#include "job/timeindex.h"
#include "ui/partspanel.h"
#include "ui/playerbar.h"
#include "ui/reviewpanel.h"
#include "ui/subtitlecheckpanel.h"
#include "ui/tablefollower.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QShortcut>
#include <QTabWidget>
#include <QTableView>

void MainWindow::connectPlayer()
{
    GlueJob &job = *theJob;
    followers[0] = std::make_unique<TableFollower>(
        sgCTM1, [&job] { return TimeIndex::ofWords(job.wordRows(WordTable::Main)); });
    followers[1] = std::make_unique<TableFollower>(
        sgCTM2, [&job] { return TimeIndex::ofWords(job.wordRows(WordTable::PartTwo)); });
    followers[2] = std::make_unique<TableFollower>(
        sgSRT, [&job] { return TimeIndex::ofPhrases(job.phraseRows()); });

    for (const auto &follower : followers) {
        TableFollower *f = follower.get();
        QTableView *view = f->view();
        // Scrolling a table that follows, by hand, holds following.
        connect(f, &TableFollower::scrolledByHand, this, [this, f] {
            if (follows(f) && player->isPlaying())
                player->holdFollowing();
        });
        // Space plays and pauses in a table (a cell editor keeps its blanks).
        new QShortcut(QKeySequence(Qt::Key_Space), view, player, &PlayerBar::togglePlay, Qt::WidgetShortcut);
        view->addAction(player->playFromHereAction());
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint &at) {
            const QModelIndex index = view->indexAt(at);
            if (!index.isValid())
                return;
            view->setCurrentIndex(index);
            QMenu menu;
            menu.addAction(player->playFromHereAction());
            menu.exec(view->viewport()->mapToGlobal(at));
        });
    }
    // A click on a row's number plays the word; the cells stay editable.
    for (size_t i = 0; i < 2; ++i) {
        QHeaderView *numbers = followers[i]->view()->verticalHeader();
        numbers->show();
        numbers->setToolTip(tr("Click to play from this word"));
        connect(numbers, &QHeaderView::sectionClicked, this,
                [this, f = followers[i].get()](int row) { playRow(f, row); });
    }
    // The phrases are read only: a double-click plays.
    connect(sgSRT, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &index) { playRow(followers[2].get(), index.row()); });
    connect(player->playFromHereAction(), &QAction::triggered, this, [this] {
        if (TableFollower *f = followerOf(QApplication::focusWidget()))
            playRow(f, f->view()->currentIndex().row());
    });
    // A spot of the review list: its word row is selected and plays.
    connect(reviewPanel, &ReviewPanel::wordRowChosen, this,
            [this](std::size_t row) { playRow(followers[0].get(), static_cast<int>(row)); });
    // The phrase playing plays again from its start: after Glue a phrase,
    // before it the word playing in its part's table.
    connect(player->replayPhraseAction(), &QAction::triggered, this, [this] {
        TableFollower *f = theJob->isGlued() ? followers[2].get()
                           : playerPart <= 2 ? followers[static_cast<std::size_t>(playerPart - 1)].get()
                                             : nullptr;
        const int row = f ? f->rowAt(player->position()) : -1;
        if (row < 0) {
            player->say(QStringLiteral("Nothing plays here to replay."));
            return;
        }
        playRow(f, row);
    });
    // A problem of the subtitles: the phrase its cue shows is selected and plays.
    connect(checkPanel, &SubtitleCheckPanel::cueChosen, this, [this](std::int64_t ms) {
        const int row = theJob->phraseShowing(ms);
        if (row >= 0)
            playRow(followers[2].get(), row);
    });
    connect(player, &PlayerBar::positionChanged, this, [this](qint64 ms) { followPlayer(ms); });
    connect(tcData, &QTabWidget::currentChanged, this, [this] { choosePlayerRecording(); });
    connect(partsPanel, &PartsPanel::selectedPartChanged, this, [this] { choosePlayerRecording(); });
    choosePlayerRecording();
}

void MainWindow::choosePlayerRecording()
{
    if (!player || !theJob)
        return;
    const GlueJob &job = *theJob;
    player->setSeams(job.partStartsMs());
    if (job.isGlued()) {
        // The joined recording is 16 kHz and ends with its last part.
        const std::vector<JoinPart> &placed = job.placedParts();
        const std::int64_t frames = placed.empty() ? 0 : placed.back().firstFrame + placed.back().joinedFrames;
        player->setRecording(job.outputs().recording, {}, frames / 16);
        return;
    }
    // Another tab leaves the part last shown; the Parts tab plays the part
    // it shows.
    if (tcData->currentIndex() == static_cast<int>(Tab::WordTable1))
        playerPart = 1;
    else if (tcData->currentIndex() == static_cast<int>(Tab::WordTable2))
        playerPart = 2;
    else if (tcData->currentIndex() == static_cast<int>(Tab::Parts) && partsPanel->selectedPart() >= 0)
        playerPart = partsPanel->selectedPart() + 1;
    if (playerPart > std::max(2, job.partCount())) {
        player->setRecording({}, tr("No recording opened for part %1.").arg(playerPart));
        return;
    }
    const Part &part = job.part(playerPart - 1);
    player->setRecording(part.files.recording, tr("No recording opened for part %1.").arg(playerPart),
                         msOfFrames(part.frames, part.rate));
}

bool MainWindow::follows(const TableFollower *follower) const
{
    // After Glue the joined list alone follows the joined recording, and the
    // phrases made from it; before Glue the table of the part playing.
    const bool glued = theJob->isGlued();
    if (glued)
        return follower == followers[0].get() || follower == followers[2].get();
    return playerPart <= 2 && follower == followers[static_cast<std::size_t>(playerPart - 1)].get();
}

void MainWindow::followPlayer(std::int64_t ms)
{
    if (!player->isFollowing())
        return;
    for (const auto &follower : followers)
        if (follows(follower.get()))
            follower->follow(ms);
}

void MainWindow::playRow(TableFollower *follower, int row)
{
    if (row < 0)
        return;
    const std::int64_t start = follower->startOf(row);
    if (start == TimeIndex::noTime) {
        player->say(tr("Row %1 has no start time to play from.").arg(row + 1));
        return;
    }
    // Before Glue a table plays its own part's recording.
    if (!theJob->isGlued() && follower != followers[2].get()) {
        const int part = follower == followers[0].get() ? 1 : 2;
        if (part != playerPart) {
            playerPart = part;
            choosePlayerRecording();
        }
    }
    player->playFrom(start);
    follower->select(row);
}

TableFollower *MainWindow::followerOf(const QWidget *focus) const
{
    for (const auto &follower : followers)
        if (focus && (focus == follower->view() || follower->view()->isAncestorOf(focus)))
            return follower.get();
    return nullptr;
}
