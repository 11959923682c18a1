#pragma once

#include <QString>
#include <QStringList>

// naadwerk-cli run as a program by the tests.
struct CliOutcome
{
    int code = -1; // -1: it did not end normally within a minute
    QString out;
    QString err;
};

// Runs naadwerk-cli (of the build in $NAADWERK_BINARY_DIR) with arguments in folder.
CliOutcome runCli(const QString &folder, const QStringList &arguments);
