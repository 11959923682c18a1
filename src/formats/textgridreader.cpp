#include "formats/textgridreader.h"

#include "base/error.h"
#include "base/numbers.h"
#include "formats/foundwords.h"
#include "formats/tierchoice.h"
#include "formats/wordreaders.h"

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The values of a TextGrid in order, as Praat reads them.
class Tokens
{
public:
    explicit Tokens(QString text) : text(std::move(text)) {}

    QString string(const char *what)
    {
        const Token t = next(what);
        if (t.kind != Token::Text)
            throw expected(what, t);
        return t.value;
    }

    double number(const char *what)
    {
        const Token t = next(what);
        if (t.kind != Token::Number)
            throw expected(what, t);
        return parseFloat(t.value);
    }

    qsizetype count(const char *what)
    {
        const double n = number(what);
        // Each counted item takes a few characters at least: a larger count is damage.
        if (!(n >= 0 && n <= static_cast<double>(text.size()) && n == static_cast<qsizetype>(n)))
            throw Error(u"line %1: %2 is no count of %3"_s.arg(line).arg(QString::number(n, 'g', 15), QLatin1StringView(what)));
        return static_cast<qsizetype>(n);
    }

    // The next value is <exists>: true; <absent>: false.
    bool flag(const char *what)
    {
        const Token t = next(what);
        if (t.kind != Token::Flag)
            throw expected(what, t);
        return t.value == "<exists>"_L1;
    }

private:
    struct Token
    {
        enum Kind { Number, Text, Flag, End } kind = End;
        QString value;
    };

    Error expected(const char *what, const Token &t) const
    {
        return Error(u"line %1: %2 expected, found %3"_s.arg(line).arg(QLatin1StringView(what),
                                                                    t.kind == Token::End ? u"the end of the file"_s
                                                                                         : u"\"%1\""_s.arg(t.value)));
    }

    static bool isNumber(QStringView word)
    {
        try {
            parseFloat(word);
            return true;
        } catch (const Error &) {
            return false;
        }
    }

    Token next(const char *)
    {
        while (at < text.size()) {
            const QChar c = text[at];
            if (c == u'\n')
                ++line;
            if (c.isSpace()) {
                ++at;
            } else if (c == u'!') {
                while (at < text.size() && text[at] != u'\n')
                    ++at;
            } else if (c == u'"') {
                return quoted();
            } else if (c == u'[') {
                // "[1]:" of the long form: an index, not a value.
                while (at < text.size() && text[at] != u']' && text[at] != u'\n')
                    ++at;
                ++at;
            } else {
                const qsizetype from = at;
                while (at < text.size() && !text[at].isSpace() && text[at] != u'"')
                    ++at;
                const QStringView word = QStringView(text).sliced(from, at - from);
                if (word.startsWith(u'<') && word.endsWith(u'>'))
                    return {Token::Flag, word.toString()};
                if (isNumber(word))
                    return {Token::Number, word.toString()};
            }
        }
        return {Token::End, QString()};
    }

    Token quoted()
    {
        QString value;
        ++at;
        while (at < text.size()) {
            const QChar c = text[at++];
            if (c == u'"') {
                if (at < text.size() && text[at] == u'"') {
                    value += u'"';
                    ++at;
                    continue;
                }
                return {Token::Text, value};
            }
            if (c == u'\n')
                ++line;
            value += c;
        }
        throw Error(u"line %1: a text in quotes is not closed"_s.arg(line));
    }

    QString text;
    qsizetype at = 0;
    qsizetype line = 1;
};

struct Interval
{
    std::int64_t start;
    std::int64_t end;
    QString text;
};

struct Tier
{
    QString name;
    bool intervals = false;
    std::vector<Interval> items;
};

std::vector<Tier> readTiers(Tokens &tokens)
{
    if (tokens.string("the file type") != "ooTextFile"_L1)
        throw Error(u"not a Praat text file"_s);
    if (tokens.string("the object class") != "TextGrid"_L1)
        throw Error(u"a Praat file, but not a TextGrid"_s);
    tokens.number("xmin");
    tokens.number("xmax");
    std::vector<Tier> tiers;
    if (!tokens.flag("<exists>"))
        return tiers;
    const qsizetype size = tokens.count("the number of tiers");
    for (qsizetype k = 0; k < size; ++k) {
        Tier tier;
        const QString kind = tokens.string("the class of a tier");
        tier.intervals = kind == "IntervalTier"_L1;
        tier.name = tokens.string("the name of a tier");
        tokens.number("xmin");
        tokens.number("xmax");
        const qsizetype n = tokens.count("the number of intervals or points");
        for (qsizetype i = 0; i < n; ++i) {
            // A point of a TextTier is one time and its mark.
            const std::int64_t start = msOfSeconds(tokens.number("a time"));
            const std::int64_t end = tier.intervals ? msOfSeconds(tokens.number("a time")) : start;
            QString mark = tokens.string("a text");
            if (tier.intervals)
                tier.items.push_back({start, end, std::move(mark)});
        }
        tiers.push_back(std::move(tier));
    }
    return tiers;
}

} // namespace

bool isTextGrid(const WordSource &source)
{
    return source.utf8.trimmed().startsWith("File type = \"ooTextFile\"");
}

void readTextGrid(const WordSource &source, FoundWords &found)
{
    Tokens tokens(QString::fromUtf8(source.utf8));
    const std::vector<Tier> tiers = readTiers(tokens);
    QStringList names;
    std::vector<bool> timed;
    for (const Tier &tier : tiers) {
        names << tier.name;
        timed.push_back(tier.intervals);
    }
    // One speaker per tier: the words of all in order of start.
    struct Found
    {
        const Interval *interval;
        QString speaker;
    };
    std::vector<Found> words;
    for (const ChosenTier &chosen : chooseWordTiers(names, timed, source.tier))
        for (const Interval &interval : tiers[static_cast<std::size_t>(chosen.index)].items)
            if (!interval.text.trimmed().isEmpty())
                words.push_back({&interval, chosen.speaker});
    std::stable_sort(words.begin(), words.end(),
                     [](const Found &a, const Found &b) { return a.interval->start < b.interval->start; });
    for (const Found &w : words) {
        const QStringList parts = blankSeparatedWords(w.interval->text);
        if (parts.size() == 1)
            found.add(parts.front(), w.interval->start, w.interval->end, 1, w.speaker);
        else // an interval of a phrase tier: its words share its time
            found.addStretch(parts, w.interval->start, w.interval->end, w.speaker);
    }
}
