#include "ui/steprunner.h"

#include "base/cancelled.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <QWidget>

#include <exception>
#include <thread>

namespace {

constexpr int steps = 1000; // the dialog's scale: tenths of a percent

} // namespace

StepRunner::StepRunner(QWidget *window, const QString &what) : window(window), what(what) {}

void StepRunner::report(qint64 done, qint64 total)
{
    doneUnits = done;
    totalUnits = total;
    if (cancelled)
        throw Cancelled();
}

void StepRunner::run(const std::function<void(Progress &)> &work)
{
    QProgressDialog dialog(what + QStringLiteral("..."), QStringLiteral("Cancel"), 0, steps, window);
    dialog.setObjectName(QStringLiteral("stepProgress"));
    dialog.setWindowTitle(QStringLiteral("Naadwerk"));
    dialog.setWindowModality(Qt::WindowModal);
    // A short step passes without a dialog flashing up.
    dialog.setMinimumDuration(300);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    QObject::connect(&dialog, &QProgressDialog::canceled, [this] { cancel(); });

    QEventLoop loop;
    std::exception_ptr failure;
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        try {
            work(*this);
        } catch (...) {
            failure = std::current_exception();
        }
        finished = true;
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (dialog.wasCanceled())
            cancel();
        // A total not known yet (a compressed recording being decoded)
        // shows a busy bar.
        const qint64 total = totalUnits;
        dialog.setMaximum(total > 0 ? steps : 0);
        dialog.setValue(total > 0 ? static_cast<int>(doneUnits * steps / total) : 0);
    });
    ticker.start(50);
    // A worker done before the loop runs has its quit waiting in the queue.
    loop.exec();
    worker.join();
    ticker.stop();
    if (failure)
        std::rethrow_exception(failure);
}
