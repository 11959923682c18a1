#pragma once

#include "formats/wordrow.h"

#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

// A glued interview as the annotation files (ELAN, Praat, Naadwerk JSON)
// hold it: the joined words, the phrases made of them, where the parts
// start, and the joined recording.

// A phrase and the word rows it was made from.
struct AnnotatedPhrase
{
    std::size_t firstWord = 0; // both rows belong to it
    std::size_t lastWord = 0;
    QString text;
};

struct AnnotatedInterview
{
    // Every Start and End cell a 32-bit whole number of ms (checkWordFileTimes).
    std::span<const WordRow> words;
    // In order; firstWord <= lastWord < words.size().
    std::vector<AnnotatedPhrase> phrases;
    // Each part's first row (part 1's: 0) and its start in the recording.
    std::vector<std::size_t> partFirstWords{0};
    std::vector<std::int64_t> partStartsMs{0};
    std::int64_t lengthMs = 0; // of the joined recording
    QString recordingPath;

    std::int64_t startMs(std::size_t row) const;
    std::int64_t endMs(std::size_t row) const;
    // The part a row belongs to, counted from 0.
    std::size_t partOf(std::size_t row) const;
    // The speakers of the rows that hold words, in the order they first
    // speak; "X" (no speaker named) among them when such a row holds a word.
    std::vector<QString> speakers() const;
};

// A speaker's name, or "X" (and empty) where the word file named none.
bool namesSpeaker(const QString &speaker);

// A row that holds a word: not empty and not the silence token "SIL".
bool holdsWord(const WordRow &row);

// Lays out timed items as the intervals of one tier, in the order given:
// an item starts no earlier than the one before it ended (nor before the
// tier's start) and lasts a millisecond at least. Items that overlap (two
// speakers at once, a hand-edited time) are moved later as little as that
// takes; items in order keep their times.
class TierLayout
{
public:
    explicit TierLayout(std::int64_t from = 0) : lastEnd(from) {}
    // The start and end the item gets.
    std::pair<std::int64_t, std::int64_t> place(std::int64_t start, std::int64_t end);
    std::int64_t end() const { return lastEnd; }

private:
    std::int64_t lastEnd;
};
