#include "ui/phrasecolumnwidth.h"

int phraseTextColumnWidth(int tableWidth, std::span<const int> otherColumnWidths)
{
    long long width = static_cast<long long>(tableWidth) - 10;
    for (int column : otherColumnWidths)
        width -= column;
    return width < narrowestPhraseTextColumn ? narrowestPhraseTextColumn : static_cast<int>(width);
}
