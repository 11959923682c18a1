#include "job/textsearch.h"

namespace {

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c.isMark();
}

} // namespace

qsizetype TextSearch::indexIn(const QString &text, qsizetype from) const
{
    if (what.isEmpty())
        return -1;
    const Qt::CaseSensitivity cs = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (qsizetype at = text.indexOf(what, from, cs); at >= 0; at = text.indexOf(what, at + 1, cs)) {
        if (!wholeWords)
            return at;
        const qsizetype end = at + what.size();
        if ((at == 0 || !isWordCharacter(text[at - 1])) && (end == text.size() || !isWordCharacter(text[end])))
            return at;
    }
    return -1;
}

qsizetype TextSearch::lastIndexIn(const QString &text, qsizetype before) const
{
    qsizetype last = -1;
    for (qsizetype at = indexIn(text); at >= 0 && at < before; at = indexIn(text, at + 1))
        last = at;
    return last;
}

int TextSearch::countIn(const QString &text) const
{
    int count = 0;
    for (qsizetype at = indexIn(text); at >= 0; at = indexIn(text, at + what.size()))
        ++count;
    return count;
}

QString TextSearch::replacedIn(const QString &text, const QString &with) const
{
    QString result;
    qsizetype done = 0;
    for (qsizetype at = indexIn(text); at >= 0; at = indexIn(text, at + what.size())) {
        result += QStringView(text).mid(done, at - done);
        result += with;
        done = at + what.size();
    }
    if (done == 0)
        return text; // no match: the same string, shared
    result += QStringView(text).mid(done);
    return result;
}

int nextRowWhere(int count, int from, bool forward, const std::function<bool(int)> &matches)
{
    if (count <= 0)
        return -1;
    if (from < 0 || from >= count)
        from = forward ? -1 : count;
    for (int step = 1; step <= count; ++step) {
        const int row = ((forward ? from + step : from - step) % count + count) % count;
        if (matches(row))
            return row;
    }
    return -1;
}
