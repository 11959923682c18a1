#pragma once

#include "job/progress.h"
#include "job/viewparts.h"

#include <QString>

#include <functional>

// How the glue job reaches the person: notices of what changed so that a
// front end can show it again, and the long part of a command. The job keeps
// every piece of state itself; a notice carries no data a front end must
// keep. The job asks no questions: its commands take the paths a front end
// asked for.
class Person
{
public:
    virtual ~Person() = default;

    // A line was appended to the result log.
    virtual void lineLogged(const QString &line) { (void)line; }
    // A file of part number part (from 1) was opened: its path and what was
    // read of it are the part's now.
    virtual void fileOpened(int part, PartFile file) { (void)part; (void)file; }
    // Glue wrote the joined recording, or Save its files: the names in
    // GlueJob::outputs() are what they wrote.
    virtual void outputsWritten() {}
    // Glue ran to its end.
    virtual void glued() {}
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
    // The review list was made again with the derived views, or dropped
    // (GlueJob::review).
    virtual void reviewChanged() {}

    // Whether there is unsaved work changed (GlueJob::hasUnsavedWork).
    virtual void unsavedWorkChanged(bool unsaved) { (void)unsaved; }

    // The job was opened from an interview file or saved to one: its name
    // (GlueJob::interviewPath) may have changed.
    virtual void interviewNamed() {}

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
