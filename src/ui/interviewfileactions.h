#pragma once

#include <QObject>
#include <QString>

#include <functional>

class FileChooser;
class GlueJob;
class QMenu;
class QWidget;

// The interview file in the window: "New Interview", "Open Interview...",
// "Save Interview As..." (Ctrl+Shift+S), the question Save / Discard /
// Cancel before a command drops unsaved corrections, and the window's title
// (the interview's name and the modified mark). The job does the reading
// and writing; this only asks and runs.
class InterviewFileActions : public QObject
{
    Q_OBJECT
public:
    using Command = std::function<void(GlueJob &)>;
    struct Hooks
    {
        std::function<FileChooser &()> chooser;
        // Runs a command inside the window's error boundary.
        std::function<void(const Command &)> run;
        // The window's Save of the results (asks for the SRT's name).
        Command saveResults;
        // After an interview was opened: the window shows what the job holds.
        std::function<void()> opened;
        // Tells the person something that needs no answer.
        std::function<void(const QString &)> notice;
    };

    InterviewFileActions(QWidget *window, Hooks hooks);

    // Adds the items to the Open list.
    void addTo(QMenu *list);

    // True when the job's unsaved corrections may be dropped: there are
    // none, the person saved them, or chose to discard them. Throws what a
    // Save throws.
    bool mayDrop(GlueJob &job);
    // Saves everything: the results after Glue (with the interview file
    // beside them), else the interview file (asking for its name when it
    // has none). Returns false when the person cancelled.
    bool saveAll(GlueJob &job);
    void saveAs(GlueJob &job);
    // Opens the interview file at path, locating moved inputs with the
    // person; asks about unsaved corrections first.
    void open(GlueJob &job, const QString &path);
    // Opens an interview file without asking about unsaved corrections
    // (a recovery copy at start); path names it afterwards (empty: unnamed).
    void openAs(GlueJob &job, const QString &file, const QString &path);
    void startNew(GlueJob &job);

    // "NAME[*] - Naadwerk", or "Naadwerk" for an interview without a name.
    void showTitle(const GlueJob &job);

private:
    QWidget *window;
    Hooks hooks;
};
