#pragma once

#include <QString>
#include <QStringList>

// Small made-up interviews for the batch tests.

// Writes folder/name/: two parts tape_1.{wav,spk,txt} and tape_2.* (a
// quarter and half a second of 16 kHz silence, a few words naming the
// interview) and parts.tsv, which lists them.
void writeInterview(const QString &folder, const QString &name);
// Writes every interview and folder/manifest.tsv, one row for each.
void writeArchive(const QString &folder, const QStringList &names);
