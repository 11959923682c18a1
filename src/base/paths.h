#pragma once

#include <QString>

// File name operations on paths as texts; "/" is the directory separator.

// The part after the last directory separator: "/a/b/talk.ctm" -> "talk.ctm".
QString fileNamePart(const QString &path);

// The part up to the last directory separator, without it: "/a/b/x" -> "/a/b".
// Empty when the path has no separator.
QString folderPart(const QString &path);

// Replaces the extension of the file name part: the text from its last "." on
// is cut and extension appended; a name without "." gets extension appended;
// an empty extension removes the extension.
QString replaceExtension(const QString &path, const QString &extension);

// True when a regular file exists at path, following symbolic links; an empty
// path and a folder never exist.
bool isRegularFile(const QString &path);

// True when both paths name one existing file (the same device and inode,
// following symbolic links), however differently they are spelled: two
// names of a hard link, "a/../b" and "b". False when either does not exist.
bool isSameFile(const QString &a, const QString &b);
