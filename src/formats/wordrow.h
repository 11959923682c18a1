#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <memory>

// One row of a word table: an aligned word as the tables show it. Times are
// whole milliseconds and the confidence is the aligner's float, so a million
// rows stay small. A person may type any text into a cell; a number cell typed
// in a form that is not its number's own ("1.5" or "12x" in a millisecond
// column, "1" for a confidence that shows as "1.00") keeps that text, so Save
// writes, and a failing step quotes, exactly what was typed.
struct WordRow
{
    enum Column { Number, Start, End, Text, Confidence, Speaker };
    static constexpr int columnCount = 6;

    std::int64_t number = 0; // the "#" column
    std::int64_t start = 0;  // ms
    std::int64_t end = 0;    // ms, under the caption "End time"
    float confidence = 0;    // shown with two decimals
    QString text;            // the word
    QString speaker;         // "X" when the word file names none

    // Typed texts of the number columns, indexed by Column; a null text where
    // the cell shows its number. Null for the rows nobody edited (nearly all).
    using TypedCells = std::array<QString, columnCount>;
    std::shared_ptr<const TypedCells> typed;

    // The text the table shows in a column.
    QString cell(Column column) const;
    // What a person typed into a column: a number column takes the number
    // when the text is its canonical form, and keeps the text otherwise.
    void setCell(Column column, const QString &text);
    // True when the number column holds typed text instead of its number.
    bool isTyped(Column column) const { return typed && !(*typed)[column].isNull(); }
};
