#include "support/wordlisting.h"

#include "base/numbers.h"

QString wordListing(const std::vector<Word> &words)
{
    QStringList lines;
    for (const Word &w : words)
        lines << QStringLiteral("%1 %2 %3 %4 %5").arg(w.text).arg(w.start).arg(w.end).arg(withDecimals(w.confidence, 2), w.speaker);
    return lines.join(u'\n');
}

WordFileRead readWordBytes(const QByteArray &bytes, WordFileKind kind, const QString &tier, const QString &fileName)
{
    WordFileFormat format;
    format.kind = kind;
    format.tier = tier;
    return loadWordFile(bytes, format, fileName);
}
