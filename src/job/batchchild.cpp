#include "job/batchchild.h"

#include "base/error.h"

#include <QProcess>

using namespace Qt::Literals::StringLiterals;

BatchRow glueInChildProcess(const QString &program, const QStringList &arguments, const BatchInterview &interview)
{
    QProcess child;
    child.start(program, arguments + QStringList{u"--run-one"_s, QString::number(interview.place)});
    child.waitForFinished(-1);
    const QStringList out = QString::fromUtf8(child.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    if (child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 && !out.isEmpty()) {
        try {
            return parseReportLine(out.last(), program, static_cast<int>(out.size()));
        } catch (const Error &) {
            // Told below as a child that said nothing useful.
        }
    }
    BatchRow row;
    row.interview = interview.name;
    row.place = interview.place;
    const QString said = QString::fromUtf8(child.readAllStandardError()).trimmed();
    row.message = child.error() == QProcess::FailedToStart
                      ? u"Cannot start \"%1\": %2"_s.arg(program, child.errorString())
                  : child.exitStatus() == QProcess::CrashExit ? u"The glue of this interview crashed."_s
                                                              : u"The glue of this interview ended with code %1."_s.arg(child.exitCode());
    if (!said.isEmpty())
        row.message += u" "_s + said.section(u'\n', -1);
    return row;
}
