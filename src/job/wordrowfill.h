#pragma once

#include "formats/word.h"
#include "formats/wordrow.h"

#include <cstdint>
#include <span>

// Fills word table rows from words as read: rows[i] shows words[i] as row
// number firstNumber + i, both times shifted by shift milliseconds. A row
// beyond the last word shows an empty word at the shift. Long lists are
// filled by two threads.
void fillWordRows(std::span<WordRow> rows, std::span<const Word> words, std::int64_t firstNumber,
                  std::int64_t shift);

// A time shifted by the offset of part 2; a time at an end of the 64-bit
// range (nonsense, but a word file can hold it) stays there instead of
// wrapping around to the other side of zero.
std::int64_t shiftedTime(std::int64_t time, std::int64_t shift);

// A row moved by numberShift in the "#" column and by timeShift in both time
// columns; a cell holding typed text keeps that text.
WordRow shiftedRow(const WordRow &row, std::int64_t numberShift, std::int64_t timeShift);

// Fills rows with the rows of from, each moved as shiftedRow moves it; from
// and rows have the same length. Long lists are filled by two threads.
void shiftWordRows(std::span<WordRow> rows, std::span<const WordRow> from, std::int64_t numberShift,
                   std::int64_t timeShift);
