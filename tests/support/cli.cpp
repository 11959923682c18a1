#include "support/cli.h"

#include <QProcess>

CliOutcome runProgramIn(const QString &folder, const QString &program, const QStringList &arguments)
{
    QProcess p;
    if (!folder.isEmpty())
        p.setWorkingDirectory(folder);
    p.start(program, arguments);
    CliOutcome o;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return o;
    o.code = p.exitCode();
    o.out = QString::fromUtf8(p.readAllStandardOutput());
    o.err = QString::fromUtf8(p.readAllStandardError());
    return o;
}

QString cliProgram()
{
    return qEnvironmentVariable("NAADWERK_BINARY_DIR", QStringLiteral(NAADWERK_BINARY_DIR))
           + QStringLiteral("/src/app/naadwerk-cli");
}

CliOutcome runCli(const QString &folder, const QStringList &arguments)
{
    return runProgramIn(folder, cliProgram(), arguments);
}

CliOutcome runGlue(const QString &folder, const QStringList &arguments)
{
    return runCli(folder, QStringList{QStringLiteral("glue")} + arguments);
}
