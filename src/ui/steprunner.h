#pragma once

#include "job/progress.h"

#include <QString>

#include <atomic>
#include <functional>

class QWidget;

// Runs the long part of a command on a thread of its own while the window's
// event loop keeps turning: the window redraws, and a progress dialog over
// it shows how far the step is and offers Cancel. The dialog is window
// modal, so no command, setting or edit of the window starts meanwhile.
class StepRunner : public Progress
{
public:
    StepRunner(QWidget *window, const QString &what);

    // Runs work to its end and returns then; throws what work threw, and
    // Cancelled when the person cancelled before work finished.
    void run(const std::function<void(Progress &)> &work);
    // Asks the step to stop at its next report.
    void cancel() { cancelled = true; }

    // Progress, called by work on its thread.
    void report(qint64 done, qint64 total) override;

private:
    QWidget *window;
    QString what;
    std::atomic<qint64> doneUnits{0};
    std::atomic<qint64> totalUnits{0};
    std::atomic<bool> cancelled{false};
};
