#pragma once

#include "job/gluesettings.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <memory>

class QSettings;

// What the window remembers between runs, in the user's settings of
// Naadwerk (QSettings): every setting the table of settings marks as
// remembered, under its key (job/settingstable.h), the last folder of
// each kind of file question, the window's size and place, and the recently
// glued interviews. Only the window uses it: the command line always starts
// from the start-up settings.
class WindowMemory
{
public:
    // An interview of N parts (N >= 2): its inputs in the order of the Open
    // list, the N word files, the N texts, the N recordings (a missing one is
    // empty; for two parts, the six of the Open list), and for a glue of
    // parts the gap after each part (empty for a classic glue); and the
    // interview file that keeps its corrections, once it was saved as one.
    struct Interview
    {
        QStringList inputs;
        QList<qint64> gapsMs;
        QString interviewFile;
        bool operator==(const Interview &) const = default;
    };
    static constexpr int recentCount = 8;

    WindowMemory();
    ~WindowMemory();

    // The remembered settings over the start-up values of settings.
    void readSettings(GlueSettings &settings) const;
    void writeSettings(const GlueSettings &settings);

    QMap<QString, QString> folders() const;
    void setFolders(const QMap<QString, QString> &folders);

    QByteArray geometry() const;
    void setGeometry(const QByteArray &geometry);

    // Newest first.
    QList<Interview> recent() const;
    // Puts interview at the top, once, and keeps the newest recentCount.
    void addRecent(const Interview &interview);

    // Forgets everything (tests start from the start-up state with it).
    static void forget();

private:
    std::unique_ptr<QSettings> store;
};
