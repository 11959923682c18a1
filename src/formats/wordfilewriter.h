#pragma once

#include "formats/word.h"
#include "formats/wordrow.h"

#include <QChar>
#include <QString>

#include <cstdint>
#include <span>

class AtomicFile;

// Writing a word table as a CTM or SPK word file: one line per row,
// "name<sep>1<sep>start<sep>end<sep>word<sep>confidence" with the times in
// seconds with three decimals, and "<sep>speaker" after it in an SPK file.
// In the NIST layout the line is "name 1 start duration word confidence",
// fields apart by one blank, without a speaker, as NIST tools read it.
// The times are read from the Start and End cells as whole milliseconds:
// a cell whose text is not a 32-bit whole number fails with
// "'%s' is not a valid integer value", the first such cell in row order (a
// row's start before its end).

// Writes the lines to out as writeTextFile would (UTF-8 byte-order mark, CR
// LF after each line), line by line. Does not commit out: a failure leaves
// it uncommitted.
void writeWordFile(AtomicFile &out, std::span<const WordRow> rows, const QString &baseName,
                   QChar separator, bool withSpeaker, WordFileLayout layout = WordFileLayout::Aligner);

// Checks every time cell first, so a bad cell is reported before the file
// is created; then writes the file at path and commits it. Throws
// "Cannot create file "%s". %s" too.
void writeWordFile(const QString &path, std::span<const WordRow> rows, const QString &baseName,
                   QChar separator, bool withSpeaker, WordFileLayout layout = WordFileLayout::Aligner);

// The whole milliseconds of a Start or End cell, read as its text would be
// read; throws as writeWordFile does for a cell that is no such number.
std::int32_t wordRowMs(const WordRow &row, WordRow::Column column);

// Throws the error writeWordFile would throw for a time cell, if any.
void checkWordFileTimes(std::span<const WordRow> rows);
