#pragma once

#include "formats/wordfile.h"

#include <QByteArray>
#include <QString>

// Reading a Naadwerk JSON file (docs/naadwerk-json.md) back as a word file.

// True when bytes open as a Naadwerk JSON file does: a JSON object (after
// an optional UTF-8 byte-order mark and blanks) that names the format
// "naadwerk" within its first 4 KiB. Looks at nothing else.
bool looksLikeNaadwerkJson(const QByteArray &bytes);

// The words of a Naadwerk JSON file: each word's text, start and end (seconds,
// to whole ms), confidence (missing: 1) and speaker (null or missing: "X");
// a word's line is its number in the list, from 1. Throws
// "\"FILE\": not a valid Naadwerk JSON file (...)" saying what is wrong and
// where, and "\"FILE\" was written by a newer Naadwerk (JSON version N);
// this one reads version 1 and older." An empty list gives no words.
WordFileRead parseNaadwerkJson(const QByteArray &bytes, const QString &fileName);
