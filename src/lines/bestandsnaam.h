#pragma once

#include <QString>

// File name operations on paths as texts; "/" is the directory separator.

// The part after the last directory separator: "/a/b/talk.ctm" -> "talk.ctm".
QString naamDeel(const QString &pad);

// The part up to the last directory separator, without it: "/a/b/x" -> "/a/b".
// Empty when the path has no separator.
QString mapDeel(const QString &pad);

// Replaces the extension of the file name part: the text from its last "." on
// is cut and ext appended; a name without "." gets ext appended; an empty ext
// removes the extension.
QString vervangExtensie(const QString &pad, const QString &ext);

// True when a regular file exists at pad, following symbolic links; an empty
// path and a folder never exist.
bool bestandBestaat(const QString &pad);
