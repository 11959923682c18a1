#pragma once

#include <QString>
#include <QStringList>

// The entries of the open and save dialogs' filters, in their order.
enum class OpenFilter { WordFile = 1, Text = 2, Recording = 3, AnyFile = 4, Interview = 5 };
enum class SaveFilter { Srt = 1, WebVtt = 2, Recording = 3, AnyFile = 4, Interview = 5 };

// What a person answers when work is about to be closed unsaved.
enum class UnsavedChoice { Save, Discard, Cancel };

// The questions the window asks a person before a command: which file to
// open, under which name to save, and what to do with unsaved work. The
// window answers with dialogs, its tests from a queue. An empty file answer
// is a cancel.
class FileChooser
{
public:
    virtual ~FileChooser() = default;

    virtual QString chooseFileToOpen(OpenFilter filter) = 0;
    // folder and proposal start the dialog: an initial folder (empty keeps the
    // dialog's own) and a proposed file name.
    virtual QString chooseFileToSave(SaveFilter filter, const QString &folder,
                                     const QString &proposal) = 0;
    // Corrections or a glued result are not saved and a command would drop
    // them (Exit, an Open, New, removing a part). A chooser that cannot ask
    // keeps the work (Cancel).
    virtual UnsavedChoice chooseForUnsavedWork() { return UnsavedChoice::Cancel; }
    // Save would replace these files, which exist: true to go on. The save
    // dialog leaves this question to the window, which knows every file
    // Save writes. A chooser that cannot ask replaces nothing (false).
    virtual bool confirmReplace(const QStringList &paths)
    {
        Q_UNUSED(paths);
        return false;
    }
    // An input of an interview being opened is no longer where it was
    // (problem says which): the file in its new place, or empty to open the
    // interview without it.
    virtual QString locateMovedInput(const QString &problem, OpenFilter filter)
    {
        (void)problem;
        (void)filter;
        return {};
    }
    // A recovery copy of corrections never saved was found at start
    // (written at when): true restores it, false drops it.
    virtual bool chooseToRestore(const QString &when)
    {
        (void)when;
        return false;
    }
};
