#pragma once

#include <span>

// The width of the phrase table's Text column when phrases are made: what the
// table leaves beside the other columns, less 10, but never under 50, so the
// text stays in view without a horizontal scroll.
constexpr int narrowestPhraseTextColumn = 50;
int phraseTextColumnWidth(int tableWidth, std::span<const int> otherColumnWidths);
