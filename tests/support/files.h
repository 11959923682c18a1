#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// Files, programs and errors in the tests.

// Writes bytes to path; throws std::runtime_error when it cannot.
void writeBytes(const QString &path, const QByteArray &bytes);
// Lines joined with LF and a final LF, as UTF-8.
void writeLines(const QString &path, const QStringList &lines);
// The whole file; empty when it cannot be read.
QByteArray readBytes(const QString &path);
// A text as Windows editors save "Unicode": a byte-order mark and UTF-16 LE.
QByteArray utf16le(const QString &text);
// True when writing succeeded (for tests that check it themselves).
bool tryWriteBytes(const QString &path, const QByteArray &bytes);

// Runs a program to its end; empty on success, otherwise what went wrong.
QString runProgram(const QString &program, const QStringList &arguments, QByteArray *output = nullptr);
bool hasProgram(const QString &program);
// What soxi says about a file (one of -s, -c, -r, -b), as a number; -1 when it cannot.
qint64 soxi(const QString &option, const QString &path);

// The message of the Error that action throws, or "(no error)".
QString errorMessage(const std::function<void()> &action);

// The refusal of a file neither the WAV reader nor FFmpeg reads, with
// FFmpeg's reason (its own text, which differs between its versions) as "...";
// withoutFfmpegReason turns a message into that form.
QString refusedRecording(const QString &path, const QString &wavReason);
QString withoutFfmpegReason(const QString &message);

// Runs action in a child process that has given up root, so that folder
// permissions apply, and returns what it returns. Without root it runs here.
QString withoutRoot(const std::function<QString()> &action);

// Gives this test program a settings store of its own, in a temporary folder
// removed at its end: test programs run side by side, and the window writes
// what it remembers when it closes.
void useOwnSettingsStore();
