#pragma once

#include "formats/interviewfile.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <thread>
#include <vector>

class GlueJob;

// The recovery copy: while the job has unsaved corrections, an interview
// file in the window's data folder, written at most once a minute and at
// each Glue, atomically and on a thread of its own. The window copies the
// rows a share at a time between its events (a copy of a million rows at
// once would hold it up for most of a second); a list of rows replaced
// meanwhile starts the copy again, an edit in place is copied as it stands. A save or a normal exit removes it, so one
// found at start means the last window was killed or crashed.
class RecoveryCopy : public QObject
{
    Q_OBJECT
public:
    // folder: where the copy is kept, made when first needed.
    RecoveryCopy(GlueJob &job, const QString &folder, QObject *parent = nullptr);
    ~RecoveryCopy() override;

    // The window's data folder (QStandardPaths::AppDataLocation).
    static QString defaultFolder();
    QString path() const;
    void setFolder(const QString &folder);
    // The least time between two copies while there are unsaved corrections.
    void setInterval(int ms) { timer.setInterval(ms); }

    // The job's unsaved corrections came or went.
    void unsavedChanged(bool unsaved);
    // Writes a copy now (at Glue), when there is anything unsaved.
    void writeNow();
    // Waits for a copy being written.
    void waitForWriting();
    // Removes the copy (a save, a normal exit).
    void remove();

signals:
    // A copy was written completely (path()), or failed with message.
    void written();
    void failed(const QString &message);

private:
    void startCopy();
    void copyShare();
    void startWriter();

    GlueJob &job;
    QString folder;
    QTimer timer;
    std::thread writer;
    // The copy being made: what it holds so far, where each part's rows
    // were when it started, and how far it got.
    std::shared_ptr<InterviewFile> copy;
    std::vector<InterviewRows> sources;
    std::size_t copyPart = 0, copyRow = 0;
};
