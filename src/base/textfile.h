#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class AtomicFile;

// A text file held as its lines.

// Reads a file as lines. A file that starts with the byte-order mark of UTF-32
// or UTF-16 (LE or BE) is read in that encoding; any other is read as UTF-8
// sequence by sequence, a leading UTF-8 byte-order mark skipped and each byte
// that is not part of a well-formed sequence read as Windows-1252, so no byte
// becomes a replacement character, unless the bytes are not UTF-8 in more
// than a stray byte: then they are read in the encoding guessEncoding finds
// (see TextBytes). Lines end at CR LF, LF or CR. Throws
// "Cannot open file "%s". %s" with the system's reason, and "Cannot open
// file "%s". Not a regular file" for a device, and for a pipe unless kind
// lets pipes in.
enum class FileKind { RegularOnly, PipesToo };
QStringList readTextFile(const QString &path, FileKind kind = FileKind::RegularOnly);

// The same, from bytes already in memory.
QStringList linesFromBytes(const QByteArray &bytes);

// A text file's lines and the encoding they were read in when it is not
// UTF-8 (empty for UTF-8; see TextBytes).
struct TextLines
{
    QStringList lines;
    QString encoding;
};

// The lines of bytes, read in chosenEncoding (a name of Qt's converters;
// empty: found from the bytes) as TextBytes reads them.
TextLines textLinesFromBytes(const QByteArray &bytes, QByteArrayView chosenEncoding);
// The same for a file, read as readFileBytes reads it.
TextLines readTextLines(const QString &path, QByteArrayView chosenEncoding, FileKind kind = FileKind::RegularOnly);

// Reads a whole file into memory. Throws "Cannot open file "%s". %s" with the
// system's reason (a folder too) and "Cannot open file "%s". Not a regular
// file" for a device, and for a pipe (FIFO or socket) unless kind lets pipes
// in: a FIFO or /dev/zero would keep the reader waiting or reading for ever. The check comes before
// any byte is read and opening does not wait for a FIFO's writer.
QByteArray readFileBytes(const QString &path, FileKind kind = FileKind::RegularOnly);

// Throws "Cannot open file "%s". Not a regular file" when path names a pipe,
// a device or a socket; a regular file, a folder or nothing passes.
void refuseSpecialFile(const QString &path);

// Writes the UTF-8 byte-order mark and every line followed by CR LF, atomically
// (see AtomicFile). Throws "Cannot create file "%s". %s".
void writeTextFile(const QString &path, const QStringList &lines);

// The same into file, which the caller commits.
void writeTextLines(AtomicFile &file, const QStringList &lines);

// The bytes writeTextFile writes.
QByteArray bytesFromLines(const QStringList &lines);

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool isValidUtf8(const char *data, qsizetype length);
