#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A Line list on disk: a text file held as its lines.

// Reads a file as lines. A leading UTF-8 byte-order mark is skipped; lines end
// at CR LF, LF or CR. Valid UTF-8 is read as UTF-8; anything else is read as
// Windows-1252, so no byte becomes a replacement character. Throws
// "Cannot open file "%s". %s" with the system's reason.
QStringList leesRegellijst(const QString &pad);

// The same, from bytes already in memory.
QStringList regelsUitBytes(const QByteArray &bytes);

// Writes the UTF-8 byte-order mark and every line followed by CR LF, atomically
// (see TAtomischBestand). Throws "Cannot create file "%s". %s".
void bewaarRegellijst(const QString &pad, const QStringList &regels);

// The bytes bewaarRegellijst writes.
QByteArray regellijstNaarBytes(const QStringList &regels);

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool isGeldigUtf8(const char *data, qsizetype lengte);
