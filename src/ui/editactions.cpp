#include "ui/editactions.h"

#include "job/doubtfulwords.h"
#include "job/gluejob.h"
#include "ui/correctioncommand.h"
#include "ui/findbar.h"
#include "ui/playerbar.h"
#include "ui/windowparts.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTextCursor>
#include <QTimer>
#include <QUndoStack>

#include <algorithm>

namespace {

// Selects the next match in a text view after its selection (or the last
// before it), wrapping round; false when the text has none.
bool findInText(QPlainTextEdit *edit, const TextSearch &search, bool forward)
{
    const QString all = edit->document()->toPlainText();
    QTextCursor cursor = edit->textCursor();
    qsizetype at = forward ? search.indexIn(all, cursor.selectionEnd())
                           : search.lastIndexIn(all, cursor.selectionStart());
    if (at < 0)
        at = forward ? search.indexIn(all) : search.lastIndexIn(all, all.size() + 1);
    if (at < 0)
        return false;
    cursor.setPosition(static_cast<int>(at));
    cursor.setPosition(static_cast<int>(at + search.what.size()), QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
    return true;
}

void selectCell(QTableView *view, int row, int column)
{
    const QModelIndex index = view->model()->index(row, column);
    view->setCurrentIndex(index);
    view->scrollTo(index);
}

} // namespace

EditActions::EditActions(GlueJob &job, const Views &views, Runner run, std::function<void(WordTable, int)> playWord,
                         QMenu *menu, QWidget *window)
    : QObject(window), job(job), views(views), run(std::move(run)), playWord(std::move(playWord)), window(window)
{
    stack = new QUndoStack(this);
    stack->setObjectName(QStringLiteral("undoStack"));
    bar = new FindBar;
    editMenu = menu;
    editMenu->setObjectName(QStringLiteral("mnEdit"));

    QAction *undoAction = makeAction("miUndo", tr("&Undo"), {QKeySequence::Undo});
    QAction *redoAction = makeAction("miRedo", tr("&Redo"),
                                     {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    undoAction->setEnabled(false);
    redoAction->setEnabled(false);
    connect(stack, &QUndoStack::canUndoChanged, undoAction, &QAction::setEnabled);
    connect(stack, &QUndoStack::canRedoChanged, redoAction, &QAction::setEnabled);
    connect(stack, &QUndoStack::undoTextChanged, undoAction, [undoAction](const QString &what) {
        undoAction->setText(what.isEmpty() ? tr("&Undo") : tr("&Undo %1").arg(what));
    });
    connect(stack, &QUndoStack::redoTextChanged, redoAction, [redoAction](const QString &what) {
        redoAction->setText(what.isEmpty() ? tr("&Redo") : tr("&Redo %1").arg(what));
    });
    connect(undoAction, &QAction::triggered, this, [this] { step(true); });
    connect(redoAction, &QAction::triggered, this, [this] { step(false); });
    // Back at what Save wrote: nothing is unsaved.
    connect(stack, &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (clean && !forgetting)
            this->job.returnToSaved();
    });
    editMenu->addSeparator();

    // The edits of the word selected: the action, its key, the step's name
    // on the stack, the edit, and the row opened for typing after it.
    using WordEdit = std::function<Correction(GlueJob &, WordTable, int)>;
    const auto toPlayer = [this](WordRow::Column column) -> WordEdit {
        return [this, column](GlueJob &j, WordTable t, int row) {
            return j.correctWordCell(t, row, column, QString::number(this->views.player->position()));
        };
    };
    const struct
    {
        const char *name;
        QString text;
        QKeySequence key;
        QString what;
        WordEdit edit;
        int selectAfter;
    } wordEdits[] = {
        {"miInsertWordBefore", tr("Insert a word &before"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I),
         tr("Insert a word"), [](GlueJob &j, WordTable t, int row) { return j.insertWord(t, row, false); }, 0},
        {"miInsertWordAfter", tr("&Insert a word after"), QKeySequence(Qt::CTRL | Qt::Key_I), tr("Insert a word"),
         [](GlueJob &j, WordTable t, int row) { return j.insertWord(t, row, true); }, 1},
        {"miMergeWord", tr("&Merge with the next word"), QKeySequence(Qt::CTRL | Qt::Key_M), tr("Merge words"),
         [](GlueJob &j, WordTable t, int row) { return j.mergeWithNext(t, row); }, 0},
        {"miSplitWord", tr("S&plit the word at its blanks"), QKeySequence(Qt::CTRL | Qt::Key_K), tr("Split a word"),
         [](GlueJob &j, WordTable t, int row) { return j.splitWordAtBlanks(t, row); }, 0},
        {"miSetStart", tr("Set the &start to the player's position"), QKeySequence(Qt::CTRL | Qt::Key_BracketLeft),
         tr("Set a start"), toPlayer(WordRow::Start), -1},
        {"miSetEnd", tr("Set the &end to the player's position"), QKeySequence(Qt::CTRL | Qt::Key_BracketRight),
         tr("Set an end"), toPlayer(WordRow::End), -1},
    };
    for (const auto &e : wordEdits)
        connect(makeAction(e.name, e.text, {e.key}), &QAction::triggered, this,
                [this, what = e.what, edit = e.edit, select = e.selectAfter] { editWord(what, edit, select); });
    connect(makeAction("miDeleteWord", tr("&Delete the words selected"), {QKeySequence(Qt::CTRL | Qt::Key_Delete)}),
            &QAction::triggered, this, &EditActions::deleteSelected);
    connect(makeAction("miRenameSpeaker", tr("Re&name the speaker..."), {}), &QAction::triggered, this,
            &EditActions::askRenameSpeaker);
    editMenu->addSeparator();

    connect(makeAction("miFind", tr("&Find..."), {QKeySequence::Find}), &QAction::triggered, this,
            [this] { bar->open(false); });
    connect(makeAction("miFindNext", tr("Find ne&xt"), {QKeySequence(Qt::Key_F3)}), &QAction::triggered, this,
            [this] { find(true); });
    connect(makeAction("miFindPrevious", tr("Find pre&vious"), {QKeySequence(Qt::SHIFT | Qt::Key_F3)}),
            &QAction::triggered, this, [this] { find(false); });
    connect(makeAction("miReplace", tr("Rep&lace..."), {QKeySequence(Qt::CTRL | Qt::Key_H)}), &QAction::triggered,
            this, [this] { bar->open(true); });
    connect(bar, &FindBar::searchChanged, this, &EditActions::showCounts);
    connect(bar, &FindBar::findNext, this, [this] { find(true); });
    connect(bar, &FindBar::findPrevious, this, [this] { find(false); });
    connect(bar, &FindBar::replaceAll, this, &EditActions::replaceAll);
    connect(stack, &QUndoStack::indexChanged, this, &EditActions::showCounts);
    editMenu->addSeparator();

    connect(makeAction("miNextDoubtful", tr("Next &doubtful word"), {QKeySequence(Qt::Key_F8)}), &QAction::triggered,
            this, [this] { goToDoubtful(true); });
    connect(makeAction("miPreviousDoubtful", tr("Previous doubtful w&ord"), {QKeySequence(Qt::SHIFT | Qt::Key_F8)}),
            &QAction::triggered, this, [this] { goToDoubtful(false); });
}

QAction *EditActions::makeAction(const char *name, const QString &text, std::initializer_list<QKeySequence> keys)
{
    auto *action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcuts(QList<QKeySequence>(keys));
    action->setShortcutContext(Qt::WindowShortcut);
    window->addAction(action);
    editMenu->addAction(action);
    return action;
}

// --- The stack ---------------------------------------------------------------------

void EditActions::push(Correction correction, const QString &what)
{
    if (!correction.isEmpty())
        stack->push(new CorrectionCommand(job, std::move(correction), what));
}

void EditActions::record(Correction correction, const QString &what)
{
    push(std::move(correction), what);
}

void EditActions::step(bool back)
{
    bool moved = false;
    run([this, back, &moved](GlueJob &) {
        if (back ? !stack->canUndo() : !stack->canRedo())
            return;
        if (back)
            stack->undo();
        else
            stack->redo();
        moved = true;
    });
    // The tables answer at once; the derived views (phrases, subtitles,
    // transcript: long for a long interview) are made again once the
    // window has shown the rows. Save makes them first if still stale.
    if (moved)
        QTimer::singleShot(0, this, [this] { run([](GlueJob &j) { j.rebuildDerived(); }); });
}

void EditActions::glued()
{
    stack->resetClean();
}

void EditActions::saved()
{
    stack->setClean();
}

void EditActions::forgetHistory()
{
    forgetting = true;
    stack->clear();
    if (job.hasUnsavedWork())
        stack->resetClean();
    forgetting = false;
}

void EditActions::settingChanged()
{
    if (job.hasUnsavedWork())
        stack->resetClean();
}

// --- Word edits --------------------------------------------------------------------

std::optional<std::pair<WordTable, QTableView *>> EditActions::shownWordTable() const
{
    const int tab = views.tabs->currentIndex();
    if (tab == static_cast<int>(Tab::WordTable1))
        return std::pair{WordTable::Main, views.words1};
    if (tab == static_cast<int>(Tab::WordTable2))
        return std::pair{WordTable::PartTwo, views.words2};
    return std::nullopt;
}

// Runs edit on the selected row of the word table shown; selectAfter (0 the
// row, 1 the row after it) opens the text of that row for typing.
void EditActions::editWord(const QString &what, const std::function<Correction(GlueJob &, WordTable, int)> &edit,
                           int selectAfter)
{
    const auto shown = shownWordTable();
    if (!shown || shown->second->currentIndex().row() < 0) {
        views.player->say(tr("Select a word in \"CTM (1)\" or \"CTM (2)\" first."));
        return;
    }
    const auto [table, view] = *shown;
    const int row = view->currentIndex().row();
    bool done = false;
    run([&](GlueJob &j) {
        push(edit(j, table, row), what);
        j.rebuildDerived();
        done = true;
    });
    if (done && selectAfter >= 0 && row + selectAfter < view->model()->rowCount())
        selectCell(view, row + selectAfter, WordRow::Text);
}

void EditActions::deleteSelected()
{
    const auto shown = shownWordTable();
    if (!shown || shown->second->currentIndex().row() < 0) {
        views.player->say(tr("Select a word in \"CTM (1)\" or \"CTM (2)\" first."));
        return;
    }
    const auto [table, view] = *shown;
    int first = view->currentIndex().row(), last = first;
    for (const QModelIndex &index : view->selectionModel()->selectedIndexes()) {
        first = std::min(first, index.row());
        last = std::max(last, index.row());
    }
    run([&](GlueJob &j) {
        push(j.deleteWords(table, first, last - first + 1), tr("Delete words"));
        j.rebuildDerived();
    });
    if (view->model()->rowCount() > 0)
        selectCell(view, std::min(first, view->model()->rowCount() - 1), WordRow::Text);
}

void EditActions::renameSpeaker(const QString &from, const QString &to, bool wholeInterview)
{
    const auto shown = shownWordTable();
    int part = -1;
    if (!wholeInterview) {
        if (!shown || shown->second->currentIndex().row() < 0)
            return;
        part = static_cast<int>(job.partRowOf(shown->first, shown->second->currentIndex().row()).first);
    }
    run([&](GlueJob &j) {
        push(j.renameSpeaker(from, to, part), tr("Rename a speaker"));
        j.rebuildDerived();
    });
}

void EditActions::askRenameSpeaker()
{
    const auto shown = shownWordTable();
    if (!shown || shown->second->currentIndex().row() < 0) {
        views.player->say(tr("Select a word of the speaker in \"CTM (1)\" or \"CTM (2)\" first."));
        return;
    }
    const QString from = job.wordRows(shown->first)[static_cast<std::size_t>(shown->second->currentIndex().row())].speaker;
    QDialog dialog(window);
    dialog.setObjectName(QStringLiteral("dlRenameSpeaker"));
    dialog.setWindowTitle(tr("Rename the speaker"));
    auto *form = new QFormLayout(&dialog);
    auto *name = new QLineEdit(from);
    name->setObjectName(QStringLiteral("leSpeakerName"));
    form->addRow(tr("Rename \"%1\" to:").arg(from), name);
    auto *inPart = new QRadioButton(tr("In the part of the word selected"));
    inPart->setObjectName(QStringLiteral("rbInPart"));
    auto *inAll = new QRadioButton(tr("In the whole interview"));
    inAll->setObjectName(QStringLiteral("rbInInterview"));
    inAll->setChecked(true);
    form->addRow(inPart);
    form->addRow(inAll);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() == QDialog::Accepted && !name->text().trimmed().isEmpty())
        renameSpeaker(from, name->text().trimmed(), inAll->isChecked());
}

// --- Find and replace -------------------------------------------------------------

void EditActions::showCounts()
{
    if (bar->isVisible())
        bar->showCounts(job.countMatches(bar->search()));
}

void EditActions::find(bool forward)
{
    const TextSearch search = bar->search();
    if (search.what.isEmpty()) {
        bar->open(false);
        return;
    }
    const int tab = views.tabs->currentIndex();
    bool found = false;
    if (tab == static_cast<int>(Tab::Text1) || tab == static_cast<int>(Tab::Text2)) {
        found = findInText(tab == static_cast<int>(Tab::Text1) ? views.text1 : views.text2, search, forward);
    } else if (tab == static_cast<int>(Tab::Phrases)) {
        const auto &rows = job.phraseRows();
        const int row = nextRowWhere(static_cast<int>(rows.size()), views.phrases->currentIndex().row(), forward,
                                     [&](int r) { return search.indexIn(rows[static_cast<std::size_t>(r)].text) >= 0; });
        if ((found = row >= 0))
            selectCell(views.phrases, row, PhraseRow::Text);
    } else {
        // Anywhere else Find looks in the words: the main table.
        auto shown = shownWordTable();
        if (!shown) {
            views.tabs->setCurrentIndex(static_cast<int>(Tab::WordTable1));
            shown = std::pair{WordTable::Main, views.words1};
        }
        const auto rows = job.wordRows(shown->first);
        const int row = nextRowWhere(static_cast<int>(rows.size()), shown->second->currentIndex().row(), forward,
                                     [&](int r) { return search.indexIn(rows[static_cast<std::size_t>(r)].text) >= 0; });
        if ((found = row >= 0))
            selectCell(shown->second, row, WordRow::Text);
    }
    if (!found)
        bar->say(tr("\"%1\" is not found in this tab.").arg(search.what));
    else
        showCounts();
}

void EditActions::replaceAll()
{
    const TextSearch search = bar->search();
    if (search.what.isEmpty())
        return;
    const QString with = bar->replacement();
    MatchCounts replaced;
    run([&](GlueJob &j) {
        replaced = j.countMatches(search);
        push(j.replaceAll(search, with), tr("Replace \"%1\"").arg(search.what));
        j.rebuildDerived();
    });
    bar->say(tr("Replaced %1 in words and %2 in texts.").arg(replaced.words).arg(replaced.texts));
}

// --- Doubtful words ----------------------------------------------------------------

void EditActions::goToDoubtful(bool forward)
{
    auto shown = shownWordTable();
    if (!shown) {
        views.tabs->setCurrentIndex(static_cast<int>(Tab::WordTable1));
        shown = std::pair{WordTable::Main, views.words1};
    }
    const auto [table, view] = *shown;
    const int row = nextDoubtfulRow(job.wordRows(table), view->currentIndex().row(), forward, job.settings);
    if (row < 0) {
        views.player->say(tr("No doubtful word in this table."));
        return;
    }
    selectCell(view, row, WordRow::Text);
    view->setFocus();
    playWord(table, row);
}
