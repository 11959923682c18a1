#include "formats/wordrow.h"

#include "base/error.h"
#include "base/numbers.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace {

// Confidences repeat (aligners write two or three decimals), so their texts
// are kept by the float's bits and shared between rows. One table per
// thread, so rows can be shown or written from any thread.
const QString &confidenceText(float confidence)
{
    struct Entry
    {
        std::uint32_t bits = 0;
        QString text;
    };
    thread_local Entry entries[1024];
    std::uint32_t bits;
    std::memcpy(&bits, &confidence, sizeof bits);
    Entry &e = entries[(bits ^ (bits >> 13)) % 1024];
    if (e.text.isNull() || e.bits != bits) {
        e.bits = bits;
        e.text = withDecimals(confidence, 2);
    }
    return e.text;
}

// The number a text is the canonical form of: exactly decimalText(number).
bool canonicalNumber(const QString &text, std::int64_t &number)
{
    // "-" and up to 19 digits; anything longer is no int64 in its own form.
    if (text.isEmpty() || text.size() > 20)
        return false;
    char ascii[20];
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c != u'-' && (c < u'0' || c > u'9'))
            return false;
        ascii[i] = char(c);
    }
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(ascii, ascii + text.size(), value);
    if (ec != std::errc() || end != ascii + text.size())
        return false;
    if (decimalText(value) != text) // "007", "-0"
        return false;
    number = value;
    return true;
}

// The float a confidence text is the canonical form of: exactly the two
// decimals that float shows.
bool canonicalConfidence(const QString &text, float &confidence)
{
    float value;
    try {
        value = static_cast<float>(parseFloat(text));
    } catch (const Error &) {
        return false;
    }
    if (withDecimals(value, 2) != text)
        return false;
    confidence = value;
    return true;
}

} // namespace

QString WordRow::cell(Column column) const
{
    if (isTyped(column))
        return (*typed)[column];
    switch (column) {
    case Number: return decimalText(number);
    case Start: return decimalText(start);
    case End: return decimalText(end);
    case Text: return text;
    case Confidence: return confidenceText(confidence);
    case Speaker: return speaker;
    }
    return QString();
}

void WordRow::setCell(Column column, const QString &value)
{
    bool canonical = true;
    switch (column) {
    case Number: canonical = canonicalNumber(value, number); break;
    case Start: canonical = canonicalNumber(value, start); break;
    case End: canonical = canonicalNumber(value, end); break;
    case Confidence: canonical = canonicalConfidence(value, confidence); break;
    case Text: text = value; return;
    case Speaker: speaker = value; return;
    }
    if (canonical && !isTyped(column))
        return; // the usual case: a number in its own form, nothing typed to forget
    // The typed texts are shared between copies of the row: change a copy.
    // A typed text is never null, since null marks a cell that shows its number.
    auto cells = typed ? std::make_shared<TypedCells>(*typed) : std::make_shared<TypedCells>();
    (*cells)[column] = canonical ? QString() : value.isNull() ? QStringLiteral("") : value;
    if (std::all_of(cells->begin(), cells->end(), [](const QString &s) { return s.isNull(); }))
        typed.reset();
    else
        typed = std::move(cells);
}
