#pragma once

#include "job/correction.h"
#include "job/viewparts.h"

#include <QKeySequence>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <utility>

class FindBar;
class GlueJob;
class PlayerBar;
class QAction;
class QMenu;
class QPlainTextEdit;
class QTabWidget;
class QTableView;
class QUndoStack;
class QWidget;

// The window's Edit menu: undo and redo of every correction (the undo
// stack of CorrectionCommands), the word edits of the word table shown,
// renaming a speaker, Find and Replace, and going to the doubtful words.
// Each runs as a command of the window (its runner: edits written back
// first, errors shown), through the job's correction commands. Glue and
// Save are not on the stack; the stack's clean state is the state Save
// wrote, and the job hears when the person is back at it.
class EditActions : public QObject
{
    Q_OBJECT
public:
    using Runner = std::function<void(const std::function<void(GlueJob &)> &)>;
    // The views the actions work in.
    struct Views
    {
        QTabWidget *tabs = nullptr;
        QTableView *words1 = nullptr; // WordTable::Main
        QTableView *words2 = nullptr; // WordTable::PartTwo
        QTableView *phrases = nullptr;
        QPlainTextEdit *text1 = nullptr;
        QPlainTextEdit *text2 = nullptr;
        PlayerBar *player = nullptr;
    };
    // playWord selects a row of a word table and plays from it. The actions
    // fill menu; their keys work anywhere in window.
    EditActions(GlueJob &job, const Views &views, Runner run, std::function<void(WordTable, int)> playWord,
                QMenu *menu, QWidget *window);

    QMenu *menu() const { return editMenu; }
    FindBar *findBar() const { return bar; }
    QUndoStack *undoStack() const { return stack; }

    // A correction the job made of a cell or a text the person edited goes
    // onto the stack (an empty one does not).
    void record(Correction correction, const QString &what);
    // Glue made a result nobody saved: the stack's clean state is out of reach.
    void glued();
    // Save wrote what the window shows: this is the clean state.
    void saved();
    // A file was opened or the list of parts changed: the corrections
    // before it no longer fit the rows.
    void forgetHistory();
    // A setting changed, which the stack does not take back.
    void settingChanged();
    // Renames a speaker as the rename dialog does: in the part of the word
    // selected, or in every part.
    void renameSpeaker(const QString &from, const QString &to, bool wholeInterview);

private:
    std::optional<std::pair<WordTable, QTableView *>> shownWordTable() const;
    void editWord(const QString &what, const std::function<Correction(GlueJob &, WordTable, int)> &edit,
                  int selectAfter);
    void push(Correction correction, const QString &what);
    // Undo (back) or redo, and the derived views made again.
    void step(bool back);
    void deleteSelected();
    void askRenameSpeaker();
    void find(bool forward);
    void replaceAll();
    void showCounts();
    void goToDoubtful(bool forward);
    QAction *makeAction(const char *name, const QString &text, std::initializer_list<QKeySequence> keys);

    GlueJob &job;
    Views views;
    Runner run;
    std::function<void(WordTable, int)> playWord;
    QUndoStack *stack = nullptr;
    QMenu *editMenu = nullptr;
    FindBar *bar = nullptr;
    QWidget *window = nullptr;
    bool forgetting = false; // the stack is cleared: its clean state says nothing
};
