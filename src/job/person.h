#pragma once

#include "job/progress.h"
#include "job/viewparts.h"

#include <QString>

#include <functional>

// What a person answers when work is about to be closed unsaved.
enum class UnsavedChoice { Save, Discard, Cancel };

// The questions the glue job asks a person: which file to open, under which
// name to save, and what to do with unsaved work. The window answers with
// dialogs, the command line from its arguments, the tests from a queue. An
// empty file answer is a cancel.
class FileChooser
{
public:
    virtual ~FileChooser() = default;

    virtual QString chooseFileToOpen(OpenFilter filter) = 0;
    // folder and proposal start the dialog: an initial folder (empty keeps the
    // dialog's own) and a proposed file name.
    virtual QString chooseFileToSave(SaveFilter filter, const QString &folder,
                                     const QString &proposal) = 0;
    // A glued result or edits since are not saved and the program is asked
    // to close. A chooser that cannot ask keeps the work (Cancel).
    virtual UnsavedChoice chooseForUnsavedWork() { return UnsavedChoice::Cancel; }
};

// How the glue job reaches the person: the questions, and notices of what
// changed so that a front end can show it again. The job keeps every piece of
// state itself; a notice carries no data a front end must keep.
class Person : public FileChooser
{
public:
    // A line was appended to the result log.
    virtual void lineLogged(const QString &line) { (void)line; }
    // A status line got a new text.
    virtual void statusSet(StatusLine line, const QString &text) { (void)line; (void)text; }
    virtual void tabSelected(Tab tab) { (void)tab; }
    // The lines of a text view were replaced or extended (not the result
    // log: that one reports each line through lineLogged).
    virtual void textChanged(TextView view) { (void)view; }

    // The rows of a word table were replaced as a whole, rows were appended
    // (first .. first + count - 1), or rows first .. last changed in place.
    virtual void wordRowsReplaced(WordTable table) { (void)table; }
    virtual void wordRowsAppended(WordTable table, int first, int count) { (void)table; (void)first; (void)count; }
    virtual void wordRowsChanged(WordTable table, int first, int last) { (void)table; (void)first; (void)last; }
    // The phrase rows were replaced as a whole, or rows first .. last changed.
    virtual void phraseRowsReplaced() {}
    virtual void phraseRowsChanged(int first, int last) { (void)first; (void)last; }

    // Whether there is unsaved work changed (GlueJob::hasUnsavedWork).
    virtual void unsavedWorkChanged(bool unsaved) { (void)unsaved; }

    // Exit ran: the window should close.
    virtual void closeRequested() {}

    // The list of parts changed: a part came, went or moved, its words or
    // text were replaced, or Glue placed the parts in the joined recording.
    virtual void partsChanged() {}

    // Runs the long part of a command: work only reads inputs and writes
    // files of its own (never the job's rows or texts), so a front end may
    // run it on another thread and keep its window turning, with progress
    // and a Cancel that makes work's report() throw Cancelled. Exceptions of
    // work reach the caller. By default it runs here and now.
    virtual void runLongStep(const QString &what, const std::function<void(Progress &)> &work)
    {
        (void)what;
        NoProgress progress;
        work(progress);
    }
};
