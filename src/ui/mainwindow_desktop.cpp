// The window as a desktop program: dropped files, the Recent list and what
// it remembers between runs.

#include "ui/mainwindow.h"

#include "ui/filedialogs.h"
#include "ui/pathchooser.h"
#include "ui/recentmenu.h"
#include "ui/steprunner.h"
#include "ui/windowmemory.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QRadioButton>

#include <utility>

void MainWindow::openInputs(const std::vector<DropPlan::Part> &parts)
{
    // In the order of the Open list: word files, texts, recordings.
    const struct {
        void (GlueJob::*open)(int);
        QString DropPlan::Part::*slot;
    } kinds[] = {
        {&GlueJob::openWordFile, &DropPlan::Part::wordFile},
        {&GlueJob::openText, &DropPlan::Part::text},
        {&GlueJob::openRecording, &DropPlan::Part::recording},
    };
    const int placeable = static_cast<int>(std::min<size_t>(parts.size(), 2));
    for (const auto &kind : kinds) {
        for (int part = 1; part <= placeable; ++part) {
            const QString &path = parts[static_cast<size_t>(part - 1)].*kind.slot;
            if (path.isEmpty())
                continue;
            PathChooser answer(path, *chooser);
            FileChooser *previous = std::exchange(chooser, &answer);
            runCommand([open = kind.open, part](GlueJob &job) { (job.*open)(part); });
            chooser = previous;
        }
    }
}

QString MainWindow::placeFurtherParts(std::span<const DropPlan::Part> parts)
{
    if (parts.empty())
        return QString();
    return (parts.size() == 1 ? QStringLiteral("Part 3") : QStringLiteral("Parts 3 to %1").arg(parts.size() + 2))
           + QStringLiteral(": this window glues two parts.");
}

void MainWindow::receiveDrop(const QStringList &paths, const QStringList &reasons)
{
    if (running)
        return;
    const DropPlan plan(paths);
    QStringList unplaced = reasons + plan.reasons();
    openInputs(plan.parts());
    if (plan.parts().size() > 2) {
        const QString line = placeFurtherParts(std::span(plan.parts()).subspan(2));
        if (!line.isEmpty())
            unplaced << line;
    }
    if (!unplaced.isEmpty())
        showNotice(QStringLiteral("dropNotice"),
                   QStringLiteral("Not every dropped file has a place:\n") + unplaced.join(u'\n'));
}

void MainWindow::reopen(const QStringList &interview)
{
    QStringList gone;
    std::vector<DropPlan::Part> parts(2);
    for (qsizetype i = 0; i < interview.size() && i < 6; ++i) {
        const QString &path = interview[i];
        if (path.isEmpty())
            continue;
        if (!QFileInfo::exists(path)) {
            gone << path;
            continue;
        }
        DropPlan::Part &part = parts[static_cast<size_t>(i % 2)];
        (i < 2 ? part.wordFile : i < 4 ? part.text : part.recording) = path;
    }
    openInputs(parts);
    if (!gone.isEmpty())
        showNotice(QStringLiteral("recentNotice"),
                   QStringLiteral("These inputs are no longer there:\n") + gone.join(u'\n'));
}

void MainWindow::rememberGlued()
{
    if (!theJob->isGlued())
        return;
    const GlueJob &job = *theJob;
    memory->addRecent({job.wordFilePath1, job.wordFilePath2, job.textPath1, job.textPath2, job.recordingPath1,
                       job.recordingPath2});
    recentList->showInterviews(memory->recent());
}

void MainWindow::restoreMemory()
{
    memory = std::make_unique<WindowMemory>();
    memory->readSettings(theJob->settings);
    // The separator is the window's own control; the job follows it.
    (theJob->settings.tabSeparated ? rbTab : rbSpace)->setChecked(true);
    dialogs->setFolders(memory->folders());
    const QByteArray geometry = memory->geometry();
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
    recentList->showInterviews(memory->recent());
}

void MainWindow::keepMemory()
{
    if (!memory || !theJob)
        return;
    memory->writeSettings(theJob->settings);
    memory->setFolders(dialogs->folders());
    memory->setGeometry(saveGeometry());
}

void MainWindow::showNotice(const QString &name, const QString &message)
{
    QMessageBox box(QMessageBox::Information, windowTitle(), message, QMessageBox::Ok, this);
    box.setObjectName(name);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void MainWindow::runLongStep(const QString &what, const std::function<void(Progress &)> &work)
{
    StepRunner runner(this, what);
    step = &runner;
    struct Restore
    {
        MainWindow *window;
        ~Restore() { window->step = nullptr; }
    } restore{this};
    // No command, setting or edit while the step runs: the views may be
    // drawn, never changed.
    QWidget *menu = findChild<QWidget *>(QStringLiteral("mmMenu"));
    QWidget *tabs = findChild<QWidget *>(QStringLiteral("tcData"));
    menu->setEnabled(false);
    tabs->setEnabled(false);
    struct Enable
    {
        QWidget *menu, *tabs;
        ~Enable()
        {
            menu->setEnabled(true);
            tabs->setEnabled(true);
        }
    } enable{menu, tabs};
    runner.run(work);
}

bool MainWindow::askToCancelStep()
{
    QMessageBox box(QMessageBox::Question, windowTitle(),
                    QStringLiteral("A step is still running. Cancel it and close Naadwerk?"),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setObjectName(QStringLiteral("cancelStep"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
