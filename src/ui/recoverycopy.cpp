#include "ui/recoverycopy.h"

#include "base/atomicfile.h"
#include "base/error.h"
#include "formats/interviewfile.h"
#include "job/gluejob.h"

#include <QDir>
#include <QFile>
#include <QMetaObject>
#include <QStandardPaths>

#include <algorithm>
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
    if (!job.hasUnsavedWork() || copy)
        return; // nothing to keep, or a copy under way keeps it
    timer.start(); // the next copy a full interval after this one
    startCopy();
}

void RecoveryCopy::startCopy()
{
    // Paths stay absolute, so the copy opens wherever it lies.
    copy = std::make_shared<InterviewFile>(job.interviewSnapshot(QString(), false));
    sources.clear();
    for (std::size_t k = 0; k < job.interviewPartCount(); ++k)
        sources.push_back(job.interviewRows(k));
    copyPart = copyRow = 0;
    copyShare();
}

void RecoveryCopy::copyShare()
{
    if (!job.hasUnsavedWork()) { // saved meanwhile
        copy.reset();
        return;
    }
    // Rows replaced, moved or glued since the copy started: start again.
    bool same = sources.size() == job.interviewPartCount();
    for (std::size_t k = 0; same && k < sources.size(); ++k) {
        const InterviewRows now = job.interviewRows(k);
        same = now.rows.data() == sources[k].rows.data() && now.rows.size() == sources[k].rows.size()
            && now.shiftMs == sources[k].shiftMs;
    }
    if (!same) {
        startCopy();
        return;
    }
    constexpr std::size_t share = 20000; // a few ms of the window's time each
    try {
        std::size_t copied = 0;
        while (copyPart < sources.size() && copied < share) {
            const InterviewRows &from = sources[copyPart];
            std::vector<WordRow> &to = copy->parts[copyPart].rows;
            const std::size_t end = std::min(from.rows.size(), copyRow + (share - copied));
            to.reserve(from.rows.size());
            for (; copyRow < end; ++copyRow, ++copied) {
                to.push_back(from.rows[copyRow]);
                to.back().start -= from.shiftMs;
                to.back().end -= from.shiftMs;
            }
            if (copyRow == from.rows.size()) {
                ++copyPart;
                copyRow = 0;
            }
        }
    } catch (const std::bad_alloc &) {
        copy.reset();
        emit failed(tr("Not enough memory to keep a recovery copy."));
        return;
    }
    if (copyPart < sources.size())
        QTimer::singleShot(0, this, &RecoveryCopy::copyShare);
    else
        startWriter();
}

void RecoveryCopy::startWriter()
{
    waitForWriting(); // the copy before has long ended: its thread is only joined
    std::shared_ptr<InterviewFile> snapshot = std::move(copy);
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
    // A copy being made or written would come back after the removal.
    copy.reset();
    waitForWriting();
    QFile::remove(path());
}
