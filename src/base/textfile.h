#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A text file held as its lines.

// Reads a file as lines. A leading UTF-8 byte-order mark is skipped; lines end
// at CR LF, LF or CR. Valid UTF-8 is read as UTF-8; anything else is read as
// Windows-1252, so no byte becomes a replacement character. Throws
// "Cannot open file "%s". %s" with the system's reason.
QStringList readTextFile(const QString &path);

// The same, from bytes already in memory.
QStringList linesFromBytes(const QByteArray &bytes);

// Reads a whole file into memory. Throws "Cannot open file "%s". %s" with the
// system's reason (a folder too).
QByteArray readFileBytes(const QString &path);

// Writes the UTF-8 byte-order mark and every line followed by CR LF, atomically
// (see AtomicFile). Throws "Cannot create file "%s". %s".
void writeTextFile(const QString &path, const QStringList &lines);

// The bytes writeTextFile writes.
QByteArray bytesFromLines(const QStringList &lines);

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool isValidUtf8(const char *data, qsizetype length);
