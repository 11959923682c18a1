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
#include <QTabWidget>

#include <algorithm>
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

void MainWindow::placeFurtherParts(std::span<const DropPlan::Part> parts)
{
    if (parts.empty())
        return;
    // Parts 1 and 2 went to the six slots; the others join the list of
    // parts, in the order of their numbers. A part that cannot be read stops
    // the adding there, with its message, as Add does.
    runCommand([parts](GlueJob &job) {
        for (const DropPlan::Part &part : parts)
            job.addPart(part.wordFile, part.text, part.recording);
    });
    tcData->setCurrentIndex(static_cast<int>(Tab::Parts));
}

void MainWindow::receiveDrop(const QStringList &paths, const QStringList &reasons)
{
    if (running)
        return;
    const DropPlan plan(paths);
    QStringList unplaced = reasons + plan.reasons();
    openInputs(plan.parts());
    if (plan.parts().size() > 2)
        placeFurtherParts(std::span(plan.parts()).subspan(2));
    if (!unplaced.isEmpty())
        showNotice(QStringLiteral("dropNotice"),
                   QStringLiteral("Not every dropped file has a place:\n") + unplaced.join(u'\n'));
}

void MainWindow::reopen(const QStringList &interview)
{
    QStringList gone;
    const qsizetype count = std::max<qsizetype>(2, interview.size() / 3);
    std::vector<DropPlan::Part> parts(static_cast<size_t>(count));
    for (qsizetype i = 0; i < interview.size() && i < 3 * count; ++i) {
        const QString &path = interview[i];
        if (path.isEmpty())
            continue;
        if (!QFileInfo::exists(path)) {
            gone << path;
            continue;
        }
        DropPlan::Part &part = parts[static_cast<size_t>(i % count)];
        const qsizetype kind = i / count;
        (kind == 0 ? part.wordFile : kind == 1 ? part.text : part.recording) = path;
    }
    openInputs({parts.begin(), parts.begin() + 2});
    placeFurtherParts(std::span(parts).subspan(2));
    if (!gone.isEmpty())
        showNotice(QStringLiteral("recentNotice"),
                   QStringLiteral("These inputs are no longer there:\n") + gone.join(u'\n'));
}

void MainWindow::rememberGlued()
{
    if (!theJob->isGlued())
        return;
    const GlueJob &job = *theJob;
    const int count = job.gluesParts() ? job.partCount() : 2;
    if (count <= 2) {
        memory->addRecent({job.wordFilePath1, job.wordFilePath2, job.textPath1, job.textPath2,
                           job.recordingPath1, job.recordingPath2});
    } else {
        WindowMemory::Interview interview(3 * count);
        for (int k = 0; k < count; ++k) {
            const PartRow row = job.partRow(k);
            interview[k] = row.wordFilePath;
            interview[count + k] = row.textPath;
            interview[2 * count + k] = row.recordingPath;
        }
        memory->addRecent(interview);
    }
    recentList->showInterviews(memory->recent());
}

void MainWindow::restoreMemory()
{
    memory = std::make_unique<WindowMemory>();
    memory->readSettings(theJob->settings);
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
