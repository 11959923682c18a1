#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

// One row of the phrase table. Start and end are the texts of the word
// table's time cells (a "." shown as ","), held as milliseconds where that
// text is a plain whole number; a cell typed or derived in another form keeps
// its text, as in WordRow, so the SRT step fails on it exactly as on the text.
struct PhraseRow
{
    enum Column { Number, Start, End, CharCount, Text };
    static constexpr int columnCount = 5;

    std::int64_t number = 0;
    std::int64_t start = 0;     // ms
    std::int64_t end = 0;       // ms
    std::int64_t charCount = 0; // "#Chars": length of the text before its clean-up
    QString text;
    // The word rows it was made from, both included: from the row its start
    // cell belongs to up to the row of its end cell.
    std::size_t firstWord = 0;
    std::size_t lastWord = 0;

    using TypedCells = std::array<QString, columnCount>;
    std::shared_ptr<const TypedCells> typed;

    QString cell(Column column) const;
    void setCell(Column column, const QString &text);
    bool isTyped(Column column) const { return typed && !(*typed)[column].isNull(); }
};
