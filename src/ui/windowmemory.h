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
    // The inputs of an interview of N parts (N >= 2), in the order of the
    // Open list: the N word files, the N texts, the N recordings; a missing
    // one is empty. For two parts, the six of the Open list.
    using Interview = QStringList;
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
