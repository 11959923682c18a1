#pragma once

#include <QString>
#include <QStringList>

// Programs run by the tests, naadwerk-cli above all.
struct CliOutcome
{
    int code = -1; // -1: it did not end normally within a minute
    QString out;
    QString err;
};

// Runs program with arguments in folder (empty: the test's own folder).
CliOutcome runProgramIn(const QString &folder, const QString &program, const QStringList &arguments);
// The naadwerk-cli of this build: in $NAADWERK_BINARY_DIR, else in the build
// folder the tests were configured in.
QString cliProgram();
// Runs naadwerk-cli with arguments in folder.
CliOutcome runCli(const QString &folder, const QStringList &arguments);
// Runs naadwerk-cli glue with arguments in folder.
CliOutcome runGlue(const QString &folder, const QStringList &arguments);
