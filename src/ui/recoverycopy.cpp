#include "ui/recoverycopy.h"

#include "base/atomicfile.h"
#include "base/error.h"
#include "formats/interviewfile.h"
#include "job/gluejob.h"

#include <QDir>
#include <QFile>
#include <QMetaObject>
#include <QStandardPaths>

#include <memory>
#include <new>

RecoveryCopy::RecoveryCopy(GlueJob &job, const QString &folder, QObject *parent)
    : QObject(parent), job(job), folder(folder)
{
    timer.setInterval(60 * 1000);
    connect(&timer, &QTimer::timeout, this, &RecoveryCopy::writeNow);
}

RecoveryCopy::~RecoveryCopy()
{
    waitForWriting();
}

QString RecoveryCopy::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString RecoveryCopy::path() const
{
    return folder + QStringLiteral("/recovery.naadwerk");
}

void RecoveryCopy::setFolder(const QString &newFolder)
{
    waitForWriting();
    folder = newFolder;
}

void RecoveryCopy::unsavedChanged(bool unsaved)
{
    if (unsaved) {
        if (!timer.isActive())
            timer.start();
        return;
    }
    timer.stop();
    remove();
}

void RecoveryCopy::writeNow()
{
    if (!job.hasUnsavedWork())
        return;
    // A copy still being written is left to end; the next tick writes again.
    if (writer.joinable())
        waitForWriting();
    timer.start(); // the next copy a full interval after this one
    // Only the copy of the rows is made here, on the window's thread: the
    // job may change as soon as this returns. Paths stay absolute, so the
    // copy opens wherever it lies.
    auto snapshot = std::make_shared<InterviewFile>();
    try {
        *snapshot = job.interviewSnapshot(QString(), true);
    } catch (const std::bad_alloc &) {
        emit failed(tr("Not enough memory to keep a recovery copy."));
        return;
    }
    const QString target = path();
    QDir().mkpath(folder);
    writer = std::thread([this, snapshot, target] {
        QString message;
        try {
            AtomicFile out(target);
            writeInterviewFile(out, *snapshot, [&](std::size_t part) {
                return InterviewRows{snapshot->parts[part].rows, 0};
            });
            out.commit();
        } catch (const Error &e) {
            message = e.message();
        } catch (const std::bad_alloc &) {
            message = tr("Not enough memory to keep a recovery copy.");
        }
        QMetaObject::invokeMethod(this, [this, message] {
            if (message.isEmpty())
                emit written();
            else
                emit failed(message);
        }, Qt::QueuedConnection);
    });
}

void RecoveryCopy::waitForWriting()
{
    if (writer.joinable())
        writer.join();
}

void RecoveryCopy::remove()
{
    // A copy being written would come back after the removal.
    waitForWriting();
    QFile::remove(path());
}
