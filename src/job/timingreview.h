#pragma once

#include "job/reviewlist.h"

#include <vector>

// The review of one part's word rows by their times and confidences (see
// reviewlist.h): stacked words, words of zero length, long words, long gaps
// inside a speaker's turn, runs of low confidence, backwards times and words
// beyond the recording. Rows of one kind in a row make one review row. A row
// whose time a person typed in another form than a number is not judged.
void reviewTimes(const PartUnderReview &part, int number, const GlueSettings &settings, std::vector<ReviewRow> &rows);
