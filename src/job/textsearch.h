#pragma once

#include <QString>

#include <functional>

// What Find looks for: a text, as a whole word or anywhere, in its case or
// in any. A whole word has no letter, digit or "_" right before or after it.
struct TextSearch
{
    QString what;
    bool wholeWords = false;
    bool matchCase = false;

    // Where the next match in text starts at from or later; -1 when none
    // (or when what is empty).
    qsizetype indexIn(const QString &text, qsizetype from = 0) const;
    // Where the last match in text starts before before; -1 when none.
    qsizetype lastIndexIn(const QString &text, qsizetype before) const;
    // How often what occurs in text, matches not overlapping.
    int countIn(const QString &text) const;
    // text with every match replaced by with.
    QString replacedIn(const QString &text, const QString &with) const;
};

// How often a search matched in each place Find looks.
struct MatchCounts
{
    int words = 0;   // in the word rows' texts, every part
    int texts = 0;   // in the transcripts' lines, every part
    int phrases = 0; // in the phrase rows' texts
    int total() const { return words + texts + phrases; }
};

// The next row of count rows after from (forward) or before it, wrapping
// round the end, for which matches is true; -1 when none is. from may be -1
// (nothing selected: the search starts at an end).
int nextRowWhere(int count, int from, bool forward, const std::function<bool(int)> &matches);
