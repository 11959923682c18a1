#include "support/timedwords.h"

#include <QStringList>

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

std::vector<TimedText> timedTexts(const QString &written)
{
    std::vector<TimedText> out;
    for (const QString &item : written.split(u';', Qt::SkipEmptyParts)) {
        const QString t = item.trimmed();
        const qsizetype blank = t.indexOf(u' ');
        const QStringList times = t.first(blank).split(u'-');
        out.push_back({times.at(0).toLongLong(), times.at(1).toLongLong(), t.sliced(blank + 1)});
    }
    return out;
}
