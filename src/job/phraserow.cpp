#include "job/phraserow.h"

#include "base/numbers.h"

#include <cstdint>
#include <limits>

namespace {

// True when text is exactly how decimalText writes a whole number (no sign
// for zero or positive numbers, no leading zeros, no blanks) and the number
// fits in 64 bits; value is that number.
bool isCanonicalNumber(const QString &text, std::int64_t &value)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    const bool negative = n > 0 && text[0] == u'-';
    if (negative)
        i = 1;
    if (i == n)
        return false;
    if (text[i] == u'0')
        return !negative && n == 1 && ((value = 0), true);
    const std::uint64_t limit = negative ? std::uint64_t(std::numeric_limits<std::int64_t>::max()) + 1
                                         : std::uint64_t(std::numeric_limits<std::int64_t>::max());
    std::uint64_t magnitude = 0;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        const unsigned digit = c - u'0';
        if (magnitude > (limit - digit) / 10)
            return false;
        magnitude = magnitude * 10 + digit;
    }
    value = negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
    return true;
}

std::int64_t *numberField(PhraseRow &row, PhraseRow::Column column)
{
    switch (column) {
    case PhraseRow::Number:
        return &row.number;
    case PhraseRow::Start:
        return &row.start;
    case PhraseRow::End:
        return &row.end;
    case PhraseRow::CharCount:
        return &row.charCount;
    case PhraseRow::Text:
        break;
    }
    return nullptr;
}

} // namespace

QString PhraseRow::cell(Column column) const
{
    if (isTyped(column))
        return (*typed)[column];
    switch (column) {
    case Number:
        return decimalText(number);
    case Start:
        return decimalText(start);
    case End:
        return decimalText(end);
    case CharCount:
        return decimalText(charCount);
    case Text:
        return text;
    }
    return QString();
}

void PhraseRow::setCell(Column column, const QString &cellText)
{
    std::int64_t *field = numberField(*this, column);
    if (!field) {
        text = cellText;
        return;
    }
    std::int64_t value = 0;
    if (isCanonicalNumber(cellText, value)) {
        *field = value;
        if (isTyped(column)) {
            auto cells = std::make_shared<TypedCells>(*typed);
            (*cells)[column] = QString();
            bool any = false;
            for (const QString &c : *cells)
                any = any || !c.isNull();
            typed = any ? std::shared_ptr<const TypedCells>(std::move(cells)) : nullptr;
        }
        return;
    }
    // Typed cells are never null, so that an empty text stays apart from "not typed".
    auto cells = typed ? std::make_shared<TypedCells>(*typed) : std::make_shared<TypedCells>();
    (*cells)[column] = cellText.isNull() ? QStringLiteral("") : cellText;
    typed = std::move(cells);
}
