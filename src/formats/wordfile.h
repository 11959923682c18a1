#pragma once

#include "formats/word.h"

#include <QByteArray>
#include <QChar>
#include <QStringList>

#include <vector>

// A CTM or SPK word file: one aligned word per line, fields separated by
// separator: file name, channel, start and end in seconds, the word, the
// confidence and, in an SPK file, the speaker. A line with fewer than two
// separators is read from its start (no file name and channel). A last word
// "SIL" is dropped.
//
// Throws "'%s' is not a valid floating point value" for the first line (in
// file order) whose time or confidence is not a number; a line that holds no
// word fails this way too.

// The words of a file's lines, each line trimmed by the caller. Long files
// are parsed by two threads.
std::vector<Word> parseWordLines(const QStringList &trimmedLines, QChar separator);

// The words of a file's bytes, read as readTextFile reads a file (byte-order
// mark, encodings, line ends) and each line trimmed: the same words as
// parseWordLines on those lines, without holding the lines.
std::vector<Word> parseWordFile(const QByteArray &fileBytes, QChar separator);

// The same into words, for a reader that keeps its words from one read to
// the next: words is resized to the number of lines (the words it held below
// that stay) and filled line by line. On an error it keeps that size and
// holds the words parsed before the failing line (of each half, for a long
// file) and, after it, what it held before; the last word is then not
// checked for "SIL".
void parseWordLines(const QStringList &trimmedLines, QChar separator, std::vector<Word> &words);
void parseWordFile(const QByteArray &fileBytes, QChar separator, std::vector<Word> &words);
