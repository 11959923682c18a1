#include "formats/cuelines.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace {

// The costs of a layout, in an order that no sum of lower ones outweighs:
// a line too long, more lines, a short word alone, a break not after
// punctuation, and last the balance (the squares of the line lengths).
constexpr double perOverflowChar = 1e13;
constexpr double perLine = 1e12;
constexpr double shortAlone = 1e8;
constexpr double unpunctuatedBreak = 1e6;
// A line ending in "the", "my" or "and" reads as cut off: a break after a
// short word costs what 12 characters of imbalance cost.
constexpr double afterShortWord = 300;
constexpr int shortWord = 3; // "a", "I", "the", "and": too short to stand alone

// The length of a word without the punctuation it ends with: "Yes," is as
// short as "Yes".
qsizetype letters(QStringView word)
{
    qsizetype n = word.size();
    while (n > 0 && word[n - 1].isPunct())
        --n;
    return n;
}

} // namespace

bool endsClause(QStringView word)
{
    qsizetype i = word.size();
    while (i > 0 && (word[i - 1] == u'"' || word[i - 1] == u'\'' || word[i - 1] == u')' || word[i - 1] == u'\u201D'
                     || word[i - 1] == u'\u2019' || word[i - 1] == u']'))
        --i;
    if (i == 0)
        return false;
    const QChar c = word[i - 1];
    return c == u',' || c == u';' || c == u':' || c == u'.' || c == u'!' || c == u'?' || c == u'\u2014'
        || c == u'\u2013' || c == u'\u2026' || c == u'-';
}

QString layOutCueLines(std::span<const QStringView> words, std::span<const int> lengths, int lineChars, int maxLines)
{
    const std::size_t m = words.size();
    if (m == 0)
        return {};
    // The words i..j-1 on one line, with their blanks.
    std::vector<int> before(m + 1, 0);
    for (std::size_t k = 0; k < m; ++k)
        before[k + 1] = before[k] + lengths[k] + 1;
    const auto width = [&](std::size_t i, std::size_t j) { return before[j] - before[i] - 1; };
    if (width(0, m) <= lineChars || maxLines <= 1) {
        QString text;
        for (std::size_t w = 0; w < m; ++w) {
            if (w > 0)
                text += u' ';
            text += words[w];
        }
        return text;
    }
    const auto lineCost = [&](std::size_t i, std::size_t j) {
        const double w = width(i, j);
        double cost = perLine + w * w;
        if (w > lineChars)
            cost += perOverflowChar * (w - lineChars);
        if (j - i == 1 && m > 1 && letters(words[i]) <= shortWord)
            cost += shortAlone;
        return cost;
    };
    // best[i]: the cheapest layout of words i.. with lines left, by lines;
    // next[k][i] the start of the line after the one that starts at i.
    const std::size_t lines = static_cast<std::size_t>(std::max(1, maxLines));
    constexpr double none = std::numeric_limits<double>::infinity();
    // One block each, row k at k * (m + 1): a cue is cut a hundred thousand
    // times in a long interview, and small allocations would dominate.
    std::vector<double> bestAll((lines + 1) * (m + 1), none);
    std::vector<std::size_t> nextAll((lines + 1) * (m + 1), m);
    const auto best = [&](std::size_t k) { return bestAll.data() + k * (m + 1); };
    const auto next = [&](std::size_t k) { return nextAll.data() + k * (m + 1); };
    best(0)[m] = 0;
    for (std::size_t k = 1; k <= lines; ++k) {
        best(k)[m] = 0;
        for (std::size_t i = m; i-- > 0;) {
            for (std::size_t j = i + 1; j <= m; ++j) {
                if (best(k - 1)[j] == none)
                    continue;
                double cost = lineCost(i, j) + best(k - 1)[j];
                if (j < m && !endsClause(words[j - 1]))
                    cost += unpunctuatedBreak + (letters(words[j - 1]) <= shortWord ? afterShortWord : 0);
                if (cost < best(k)[i]) {
                    best(k)[i] = cost;
                    next(k)[i] = j;
                }
            }
        }
    }
    QString text;
    text.reserve(before[m] + 1);
    std::size_t i = 0;
    for (std::size_t k = lines; i < m; --k) {
        const std::size_t j = next(k)[i];
        if (i > 0)
            text += u'|';
        for (std::size_t w = i; w < j; ++w) {
            if (w > i)
                text += u' ';
            text += words[w];
        }
        i = j;
    }
    return text;
}
