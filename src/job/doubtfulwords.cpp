#include "job/doubtfulwords.h"

#include "job/textsearch.h"

bool isDoubtful(const WordRow &row, const GlueSettings &settings)
{
    return (settings.lowConfidence > 0 && row.confidence < settings.lowConfidence)
           || settings.unknownWords.contains(row.text);
}

int nextDoubtfulRow(std::span<const WordRow> rows, int from, bool forward, const GlueSettings &settings)
{
    return nextRowWhere(static_cast<int>(rows.size()), from, forward,
                        [&](int row) { return isDoubtful(rows[static_cast<std::size_t>(row)], settings); });
}
