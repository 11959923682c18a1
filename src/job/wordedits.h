#pragma once

#include "formats/wordrow.h"

#include <QString>

#include <vector>

// The rows a word edit makes, from the rows around it. Pure steps: the job
// puts their rows in place and numbers them.

// A new, empty word between two neighbours (either may be missing, not
// both): it starts where the one before ends and ends where the one after
// starts, never before its start. It takes the selected row's speaker and
// is confirmed (confidence 1.00).
WordRow wordBetween(const WordRow *before, const WordRow *after, const QString &speaker);

// A row and the one after it as one word: the texts joined with a blank,
// the start of the first, the end of the second. The person made its text,
// so it is confirmed.
WordRow mergedWords(const WordRow &first, const WordRow &second);

// A row cut at the blanks of its text into one row per piece; the row's
// time is shared by the pieces in proportion to their characters. Throws
// Error when the text has no blank between two pieces.
std::vector<WordRow> splitWord(const WordRow &row);

// A row whose text the person changed: its confidence becomes 1.00, as
// shown, written and judged from then on.
void confirmWord(WordRow &row);
