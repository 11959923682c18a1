#include "job/textwords.h"

namespace {

// "[laughs]" in a line, or a marker line as a whole.
bool isNote(QStringView word)
{
    return word.startsWith(u'[') && word.endsWith(u']');
}

} // namespace

std::vector<TextWord> wordsOfText(const QStringList &lines)
{
    std::vector<TextWord> words;
    for (qsizetype l = 0; l < lines.size(); ++l) {
        const QString &line = lines[l];
        if (isNote(QStringView(line).trimmed()))
            continue;
        qsizetype i = 0;
        const qsizetype n = line.size();
        while (i < n) {
            while (i < n && line[i].isSpace())
                ++i;
            const qsizetype from = i;
            while (i < n && !line[i].isSpace())
                ++i;
            if (i > from && !isNote(QStringView(line).mid(from, i - from)))
                words.push_back({static_cast<std::int32_t>(l), static_cast<std::int32_t>(from),
                                 static_cast<std::int32_t>(i - from)});
        }
    }
    return words;
}

QString foldedWord(QStringView word)
{
    QString folded;
    folded.reserve(word.size());
    // A character outside the basic plane is kept whole, as its two halves.
    for (const QChar c : word)
        if (c.isLetterOrNumber() || c.isMark() || c.isSurrogate())
            folded.append(c);
    return folded.toCaseFolded();
}

std::int32_t WordKeys::keyOf(QStringView word)
{
    QString folded = foldedWord(word);
    if (folded.isEmpty())
        return -1;
    const auto found = keys.constFind(folded);
    if (found != keys.cend())
        return found.value();
    const auto key = static_cast<std::int32_t>(keys.size());
    keys.insert(std::move(folded), key);
    return key;
}
