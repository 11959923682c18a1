#pragma once

#include "job/reviewlist.h"
#include "job/textwords.h"

#include <cstdint>
#include <vector>

// How one part's word rows pair with the words of its transcript. Silence
// rows, and rows and transcript words of punctuation alone, take no part.
struct RowPairing
{
    std::vector<std::uint32_t> rowOf;   // the row of each word taking part
    std::vector<std::int32_t> wordKeys; // unknownKey for an unknown-word token
    std::vector<TextWord> text;         // the transcript's words taking part
    std::vector<std::int32_t> textKeys;
    std::vector<std::int32_t> pairing;  // per word taking part: its text word, or -1

    static constexpr std::int32_t unknownKey = -1;
    // Paired with a text word of its own key.
    bool matched(std::size_t w) const
    {
        return pairing[w] >= 0 && wordKeys[w] >= 0 && wordKeys[w] == textKeys[static_cast<std::size_t>(pairing[w])];
    }
};

RowPairing pairRowsWithText(std::span<const WordRow> rows, const QStringList &text, const QStringList &unknownWords);

// The review of one part's word rows against the words of its transcript
// (see reviewlist.h): unknown words, filled ones, skipped transcript words
// and words the transcript does not have; and the unknown words the
// transcript fills without doubt: an unknown word alone between two rows
// paired with their own words, with exactly one transcript word between
// those two.
void reviewAgainstText(const PartUnderReview &part, int number, const GlueSettings &settings, ReviewList &list);
