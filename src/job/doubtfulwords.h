#pragma once

#include "formats/wordrow.h"
#include "job/gluesettings.h"

#include <span>

// A word the aligner doubted: its confidence lies below the settings' mark
// (lowConfidence; 0 marks none) or it is an unknown-word token
// (unknownWords, "<unk>" and the like). The table marks it and F8 goes to it.
bool isDoubtful(const WordRow &row, const GlueSettings &settings);

// The next doubtful row after from (forward) or before it (backward),
// wrapping round the end; -1 when no row is doubtful. from may be -1.
int nextDoubtfulRow(std::span<const WordRow> rows, int from, bool forward, const GlueSettings &settings);
