#include "support/files.h"

#include "base/error.h"

#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <stdexcept>

#include <sys/wait.h>
#include <unistd.h>

bool tryWriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    if (!tryWriteBytes(path, bytes))
        throw std::runtime_error("cannot write test file " + path.toStdString());
}

void writeLines(const QString &path, const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + '\n';
    writeBytes(path, bytes);
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray utf16le(const QString &text)
{
    QByteArray bytes("\xFF\xFE");
    for (QChar c : text) {
        bytes += char(c.unicode() & 0xFF);
        bytes += char(c.unicode() >> 8);
    }
    return bytes;
}

QString runProgram(const QString &program, const QStringList &arguments, QByteArray *output)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(60000))
        return program + " did not finish: " + p.errorString();
    if (output)
        *output = p.readAllStandardOutput();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return program + " " + arguments.join(' ') + " failed: " + QString::fromLocal8Bit(p.readAllStandardError());
    return {};
}

bool hasProgram(const QString &program)
{
    return !QStandardPaths::findExecutable(program).isEmpty();
}

qint64 soxi(const QString &option, const QString &path)
{
    QByteArray output;
    if (!runProgram("soxi", {option, path}, &output).isEmpty())
        return -1;
    bool ok = false;
    const qint64 n = output.trimmed().toLongLong(&ok);
    return ok ? n : -1;
}

QString errorMessage(const std::function<void()> &action)
{
    try {
        action();
    } catch (const Error &e) {
        return e.message();
    }
    return QStringLiteral("(no error)");
}

QString withoutRoot(const std::function<QString()> &action)
{
    if (::geteuid() != 0)
        return action();
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return QStringLiteral("pipe failed");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        QByteArray message = "could not give up root";
        if (::setgid(65534) == 0 && ::setuid(65534) == 0)
            message = action().toUtf8();
        (void)!::write(pipeEnds[1], message.constData(), size_t(message.size()));
        ::_exit(0); // no destructors: the parent's temporary folder stays
    }
    ::close(pipeEnds[1]);
    QByteArray out;
    char buf[4096];
    ssize_t n;
    while ((n = ::read(pipeEnds[0], buf, sizeof buf)) > 0)
        out.append(buf, n);
    ::close(pipeEnds[0]);
    ::waitpid(child, nullptr, 0);
    return QString::fromUtf8(out);
}

void useOwnSettingsStore()
{
    QStandardPaths::setTestModeEnabled(true);
    static QTemporaryDir folder;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
}

QString refusedRecording(const QString &path, const QString &wavReason)
{
    return QStringLiteral("\"%1\": not a recording Naadwerk can read (WAV reader: %2; FFmpeg: ...)").arg(path, wavReason);
}

QString withoutFfmpegReason(const QString &message)
{
    const qsizetype at = message.indexOf(u"; FFmpeg: ");
    if (at < 0 || !message.contains(u": not a recording Naadwerk can read (WAV reader: "))
        return message;
    const qsizetype end = message.lastIndexOf(u')');
    return message.left(at) + QStringLiteral("; FFmpeg: ...") + message.mid(end);
}
