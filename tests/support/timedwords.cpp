#include "support/timedwords.h"

std::vector<WordRow> wordsEvery(int count, std::int64_t stepMs)
{
    std::vector<WordRow> rows(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        WordRow &r = rows[static_cast<size_t>(i)];
        r.number = i + 1;
        r.start = i * stepMs;
        r.end = r.start + stepMs;
        r.text = QStringLiteral("w%1").arg(i);
        r.speaker = QStringLiteral("X");
    }
    return rows;
}
