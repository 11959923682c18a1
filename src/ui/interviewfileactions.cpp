#include "ui/interviewfileactions.h"

#include "base/paths.h"
#include "job/gluejob.h"
#include "job/interviewinputs.h"
#include "ui/filechooser.h"

#include <QAction>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QStringList>
#include <QWidget>

InterviewFileActions::InterviewFileActions(QWidget *window, Hooks hooks)
    : QObject(window), window(window), hooks(std::move(hooks))
{
}

void InterviewFileActions::addTo(QMenu *list)
{
    const auto item = [&](const char *name, const QString &text, const QKeySequence &key, Command command) {
        auto *action = list->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        // The window's other keys are its own; these reach it from any child.
        action->setShortcutContext(Qt::WindowShortcut);
        window->addAction(action);
        connect(action, &QAction::triggered, this, [this, command = std::move(command)] { hooks.run(command); });
    };
    item("miNewInterview", tr("&New Interview"), QKeySequence::New, [this](GlueJob &job) { startNew(job); });
    // Ctrl+O opens the Open list itself.
    item("miOpenInterview", tr("Open &Interview..."), QKeySequence(), [this](GlueJob &job) {
        if (!mayDrop(job))
            return;
        const QString path = hooks.chooser().chooseFileToOpen(OpenFilter::Interview);
        if (!path.isEmpty())
            openAs(job, path, path);
    });
    item("miSaveInterviewAs", tr("Save Interview &As..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
         [this](GlueJob &job) { saveAs(job); });
}

bool InterviewFileActions::mayDrop(GlueJob &job)
{
    if (!job.hasUnsavedWork())
        return true;
    switch (hooks.chooser().chooseForUnsavedWork()) {
    case UnsavedChoice::Cancel:
        return false;
    case UnsavedChoice::Save:
        return saveAll(job); // a failure throws: nothing is dropped
    case UnsavedChoice::Discard:
        break;
    }
    return true;
}

bool InterviewFileActions::saveAll(GlueJob &job)
{
    if (job.isGlued())
        hooks.saveResults(job);
    else if (!job.interviewPath().isEmpty())
        job.saveInterview(job.interviewPath());
    else
        saveAs(job);
    return !job.hasUnsavedWork(); // false: a dialog was cancelled
}

void InterviewFileActions::saveAs(GlueJob &job)
{
    // The proposal: the interview's own name, else the joined recording's,
    // else part 1's word file's, in its folder.
    QString proposal = job.interviewPath();
    if (proposal.isEmpty() && job.isGlued())
        proposal = job.proposedInterviewPath();
    if (proposal.isEmpty() && !job.part(0).files.wordFile.isEmpty())
        proposal = replaceExtension(job.part(0).files.wordFile, QStringLiteral(".naadwerk"));
    const QString path =
        hooks.chooser().chooseFileToSave(SaveFilter::Interview, folderPart(proposal), fileNamePart(proposal));
    job.saveInterview(path); // an empty path (a cancel) saves nothing
}

void InterviewFileActions::open(GlueJob &job, const QString &path)
{
    if (mayDrop(job))
        openAs(job, path, path);
}

void InterviewFileActions::openAs(GlueJob &job, const QString &file, const QString &path)
{
    // Read whole before anything changes: a file that is no interview
    // leaves the job as it was.
    InterviewFile interview = readInterview(file);
    // A moved input may be located; a changed one is named. The corrections
    // the interview holds are kept either way.
    QStringList changed;
    for (const InterviewInputProblem &problem : inputProblems(interview)) {
        if (problem.kind == InterviewInputProblem::Changed) {
            changed << problem.message();
            continue;
        }
        static const OpenFilter filters[] = {OpenFilter::WordFile, OpenFilter::Text, OpenFilter::Recording};
        const QString located = hooks.chooser().locateMovedInput(problem.message(), filters[problem.file]);
        if (!located.isEmpty())
            interview.parts[problem.part].inputs[problem.file].path = located;
    }
    job.openInterview(std::move(interview), path, path.isEmpty() ? GlueJob::OpenedAs::Recovered : GlueJob::OpenedAs::Saved);
    hooks.opened();
    if (!changed.isEmpty())
        hooks.notice(tr("The interview keeps its corrections; these inputs changed since it was saved:\n")
                     + changed.join(u'\n'));
}

void InterviewFileActions::startNew(GlueJob &job)
{
    if (mayDrop(job)) {
        job.openInterview(InterviewFile(), QString());
        hooks.opened();
    }
}

void InterviewFileActions::showTitle(const GlueJob &job)
{
    const QString name = QFileInfo(job.interviewPath()).completeBaseName();
    if (name.isEmpty())
        window->setWindowTitle(job.hasUnsavedWork() ? QStringLiteral("Naadwerk[*]") : QStringLiteral("Naadwerk"));
    else
        window->setWindowTitle(tr("%1[*] - Naadwerk").arg(name));
    window->setWindowModified(job.hasUnsavedWork());
}
