#include "formats/wordfilewriter.h"

#include "base/atomicfile.h"
#include "base/linewriter.h"
#include "base/numbers.h"
#include "base/timetext.h"

#include <algorithm>
#include <limits>

namespace {

std::int32_t cellMs(const WordRow &row, WordRow::Column column, std::int64_t value)
{
    // A cell that shows its number needs no reading unless the number lies
    // outside 32 bits, where the text fails as before.
    if (row.isTyped(column))
        return parseInt(row.cell(column));
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return parseInt(decimalText(value));
    return static_cast<std::int32_t>(value);
}

} // namespace

std::int32_t wordRowMs(const WordRow &row, WordRow::Column column)
{
    return cellMs(row, column, column == WordRow::Start ? row.start : row.end);
}

void checkWordFileTimes(std::span<const WordRow> rows)
{
    for (const WordRow &row : rows) {
        cellMs(row, WordRow::Start, row.start);
        cellMs(row, WordRow::End, row.end);
    }
}

void writeWordFile(AtomicFile &out, std::span<const WordRow> rows, const QString &baseName,
                   QChar separator, bool withSpeaker, WordFileLayout layout)
{
    const bool nist = layout == WordFileLayout::Nist;
    if (nist) {
        separator = u' ';
        withSpeaker = false;
    }
    LineWriter writer(out);
    const QString head = baseName + separator + u'1' + separator;
    QString line; // one buffer for every line
    for (const WordRow &row : rows) {
        const std::int32_t start = cellMs(row, WordRow::Start, row.start);
        const std::int32_t end = cellMs(row, WordRow::End, row.end);
        line.resize(0);
        line.append(head);
        appendSecondsText(line, start);
        line.append(separator);
        // A duration beyond 32 bits cannot come from two 32-bit times of a
        // sane file; it is kept inside the range.
        appendSecondsText(line, nist ? static_cast<std::int32_t>(std::clamp<std::int64_t>(
                                           std::int64_t(end) - start, std::numeric_limits<std::int32_t>::min(),
                                           std::numeric_limits<std::int32_t>::max()))
                                     : end);
        line.append(separator).append(row.text).append(separator).append(row.cell(WordRow::Confidence));
        if (withSpeaker)
            line.append(separator).append(row.speaker);
        writer.writeLine(line);
    }
    writer.flush();
}

void writeWordFile(const QString &path, std::span<const WordRow> rows, const QString &baseName,
                   QChar separator, bool withSpeaker, WordFileLayout layout)
{
    checkWordFileTimes(rows);
    AtomicFile out(path);
    writeWordFile(out, rows, baseName, separator, withSpeaker, layout);
    out.commit();
}
