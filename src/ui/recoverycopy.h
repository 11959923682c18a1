#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <thread>

class GlueJob;

// The recovery copy: while the job has unsaved corrections, an interview
// file in the window's data folder, written at most once a minute and at
// each Glue, atomically and on a thread of its own (the window copies the
// rows, the thread writes them). A save or a normal exit removes it, so one
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
    GlueJob &job;
    QString folder;
    QTimer timer;
    std::thread writer;
};
