// The window as a desktop program: dropped files, the Recent list and what
// it remembers between runs.

#include "ui/mainwindow.h"

#include "ui/elidedlabel.h"
#include "ui/filedialogs.h"
#include "ui/interviewfileactions.h"
#include "ui/recentmenu.h"
#include "ui/recoverycopy.h"
#include "ui/settingspanel.h"
#include "ui/statustexts.h"
#include "ui/steprunner.h"
#include "ui/windowmemory.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTabWidget>

#include <algorithm>
#include <utility>

void MainWindow::openInputs(const std::vector<PartFiles> &parts)
{
    // In the order of the Open list: word files, texts, recordings.
    const struct {
        void (GlueJob::*open)(int, const QString &);
        QString PartFiles::*slot;
    } kinds[] = {
        {&GlueJob::openWordFile, &PartFiles::wordFile},
        {&GlueJob::openText, &PartFiles::text},
        {&GlueJob::openRecording, &PartFiles::recording},
    };
    const int placeable = static_cast<int>(std::min<size_t>(parts.size(), 2));
    for (const auto &kind : kinds) {
        for (int part = 1; part <= placeable; ++part) {
            const QString &path = parts[static_cast<size_t>(part - 1)].*kind.slot;
            if (!path.isEmpty())
                runCommand([open = kind.open, part, path](GlueJob &job) { (job.*open)(part, path); });
        }
    }
}

void MainWindow::placeFurtherParts(std::span<const PartFiles> parts)
{
    if (parts.empty())
        return;
    // Parts 1 and 2 went to the six slots; the others join the list of
    // parts, in the order of their numbers. A part that cannot be read stops
    // the adding there, with its message, as Add does.
    runCommand([parts](GlueJob &job) {
        for (const PartFiles &part : parts)
            job.addPart(part);
    });
    tcData->setCurrentIndex(static_cast<int>(Tab::Parts));
}

void MainWindow::receiveDrop(const QStringList &paths, const QStringList &reasons)
{
    if (running)
        return;
    // An interview file opens as Open Interview does.
    if (paths.size() == 1 && paths.front().endsWith(QStringLiteral(".naadwerk"))) {
        openInterview(paths.front());
        return;
    }
    bool mayOpen = false;
    runCommand([&](GlueJob &job) { mayOpen = interviewActions->mayDrop(job); });
    if (!mayOpen)
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

void MainWindow::openInterview(const QString &path)
{
    runCommand([&](GlueJob &job) { interviewActions->open(job, path); });
}

void MainWindow::offerRecovery()
{
    const QString path = recoveryCopy->path();
    if (!QFile::exists(path))
        return;
    const QString when = QLocale().toString(QFileInfo(path).lastModified(), QLocale::ShortFormat);
    if (!chooser->chooseToRestore(when)) {
        recoveryCopy->remove();
        return;
    }
    runCommand([&](GlueJob &job) { interviewActions->openAs(job, path, QString()); });
}

void MainWindow::showOpenedInterview()
{
    // The settings and the status lines show the opened interview.
    settingsPanel->setSettings(&theJob->settings);
    for (ElidedLabel *label : statusLabels)
        label->setFullText(QString());
    for (int part : {1, 2})
        for (PartFile file : {PartFile::WordFile, PartFile::Text, PartFile::Recording})
            if (const auto line = StatusTexts::opened(*theJob, part, file))
                statusLabels[static_cast<std::size_t>(line->first)]->setFullText(line->second);
    if (theJob->isGlued())
        outputsWritten();
}

void MainWindow::reopen(const WindowMemory::Interview &interview)
{
    // An interview saved as a file comes back with its corrections.
    if (!interview.interviewFile.isEmpty() && QFileInfo::exists(interview.interviewFile)) {
        openInterview(interview.interviewFile);
        return;
    }
    bool mayOpen = false;
    runCommand([&](GlueJob &job) { mayOpen = interviewActions->mayDrop(job); });
    if (!mayOpen)
        return;
    QStringList gone;
    const QStringList &inputs = interview.inputs;
    const qsizetype count = std::max<qsizetype>(2, inputs.size() / 3);
    std::vector<PartFiles> parts(static_cast<size_t>(count));
    for (qsizetype i = 0; i < inputs.size() && i < 3 * count; ++i) {
        const QString &path = inputs[i];
        if (path.isEmpty())
            continue;
        if (!QFileInfo::exists(path)) {
            gone << path;
            continue;
        }
        PartFiles &part = parts[static_cast<size_t>(i % count)];
        const qsizetype kind = i / count;
        (kind == 0 ? part.wordFile : kind == 1 ? part.text : part.recording) = path;
    }
    openInputs({parts.begin(), parts.begin() + 2});
    placeFurtherParts(std::span(parts).subspan(2));
    // A glue of parts comes back as one, with its gaps.
    if (!interview.gapsMs.isEmpty())
        runCommand([gaps = interview.gapsMs](GlueJob &job) {
            for (int k = 0; k < job.partCount() && k < gaps.size(); ++k)
                job.setPartGap(k, gaps[k]);
        });
    if (!gone.isEmpty())
        showNotice(QStringLiteral("recentNotice"),
                   QStringLiteral("These inputs are no longer there:\n") + gone.join(u'\n'));
}

void MainWindow::rememberGlued()
{
    if (!theJob->isGlued() && theJob->interviewPath().isEmpty())
        return;
    const GlueJob &job = *theJob;
    const int count = std::max(2, job.partCount());
    WindowMemory::Interview interview;
    interview.inputs.resize(3 * count);
    for (int k = 0; k < count; ++k) {
        const PartFiles &files = job.part(k).files;
        interview.inputs[k] = files.wordFile;
        interview.inputs[count + k] = files.text;
        interview.inputs[2 * count + k] = files.recording;
        if (job.gluesParts())
            interview.gapsMs << job.part(k).gapMs;
    }
    interview.interviewFile = job.interviewPath();
    memory->addRecent(interview);
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
    QWidget *menu = findChild<QWidget *>(QStringLiteral("paCommands"));
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
