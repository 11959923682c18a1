#include "formats/foundwords.h"

#include "base/error.h"
#include "base/numbers.h"
#include "formats/wordfile.h"

#include <algorithm>
#include <cmath>

namespace {

const QString &noSpeaker()
{
    static const QString x = QStringLiteral("X");
    return x;
}

// Shares [from, to] among the words of words[first, last) by their
// characters: a long word takes longer to say than a short one.
void shareByCharacters(std::vector<Word> &words, std::size_t first, std::size_t last, std::int64_t from,
                       std::int64_t to)
{
    if (to < from)
        to = from; // neighbours out of order: the words get no length
    double total = 0;
    for (std::size_t i = first; i < last; ++i)
        total += std::max<qsizetype>(words[i].text.size(), 1);
    const double span = static_cast<double>(to - from);
    double done = 0;
    for (std::size_t i = first; i < last; ++i) {
        words[i].start = from + std::llround(span * done / total);
        done += std::max<qsizetype>(words[i].text.size(), 1);
        words[i].end = from + std::llround(span * done / total);
    }
}

bool endsSentence(const QString &word)
{
    const QStringView w = QStringView(word);
    return w.endsWith(u'.') || w.endsWith(u'?') || w.endsWith(u'!') || w.endsWith(u'\u2026');
}

} // namespace

QStringList blankSeparatedWords(QStringView text)
{
    QStringList out;
    qsizetype i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i].isSpace())
            ++i;
        const qsizetype from = i;
        while (i < text.size() && !text[i].isSpace())
            ++i;
        if (i > from)
            out << text.sliced(from, i - from).toString();
    }
    return out;
}

std::int64_t msOfSeconds(double seconds)
{
    // 1e12 s is more than 30,000 years: no recording; roundHalfEven refuses the rest.
    if (!(std::fabs(seconds) < 1e12))
        throw Error(QStringLiteral("%1 s is not a time in a recording").arg(seconds));
    return roundHalfEven(seconds * 1000.0);
}

const QString &FoundWords::shared(const QString &speaker)
{
    if (speaker.isEmpty())
        return noSpeaker();
    // Speakers repeat from word to word: they share one text.
    if (speaker != lastSpeaker)
        lastSpeaker = speaker;
    return lastSpeaker;
}

void FoundWords::add(const QString &text, std::int64_t start, std::int64_t end, double confidence,
                     const QString &speaker)
{
    Word w;
    w.start = start;
    w.end = end;
    w.text = text;
    w.speaker = shared(speaker);
    // A NaN fails both comparisons and reads as 0.
    w.confidence = confidence >= 1 ? 1.0f : confidence > 0 ? static_cast<float>(confidence) : 0.0f;
    words.push_back(std::move(w));
    untimed.push_back(false);
}

void FoundWords::reserve(std::size_t count)
{
    words.reserve(words.size() + count);
    untimed.reserve(untimed.size() + count);
}

void FoundWords::markUntimed(const QString &text)
{
    if (untimedCount++ == 0)
        firstUntimed = text;
}

void FoundWords::addUntimed(const QString &text, const QString &speaker)
{
    add(text, 0, 0, 0, speaker);
    untimed.back() = true;
    markUntimed(text);
}

void FoundWords::addStretch(QStringView text, std::int64_t start, std::int64_t end, const QString &speaker)
{
    addStretch(blankSeparatedWords(text), start, end, speaker);
}

void FoundWords::addStretch(const QStringList &stretch, std::int64_t start, std::int64_t end, const QString &speaker)
{
    const std::size_t first = words.size();
    for (const QString &word : stretch) {
        add(word, start, end, 0, speaker);
        markUntimed(word);
    }
    shareByCharacters(words, first, words.size(), start, end);
}

void FoundWords::appendToLast(const QString &text)
{
    if (words.empty())
        add(text, 0, 0, 1);
    else
        words.back().text += text;
}

void FoundWords::addLine(QStringView line, const QString &speaker, std::int64_t startMs)
{
    const QString text = line.trimmed().toString();
    if (!text.isEmpty())
        lines.push_back({text, speaker, startMs});
}

void FoundWords::fillUntimed()
{
    // Each run of untimed words lies between the end of the timed word
    // before it (the start of the recording for none) and the start of the
    // one after it (the run's start for none).
    std::size_t i = 0;
    while (i < words.size()) {
        if (!untimed[i]) {
            ++i;
            continue;
        }
        const std::size_t first = i;
        while (i < words.size() && untimed[i])
            ++i;
        const std::int64_t from = first > 0 ? words[first - 1].end : 0;
        const std::int64_t to = i < words.size() ? words[i].start : from;
        shareByCharacters(words, first, i, from, to);
    }
}

void FoundWords::linesFromWords()
{
    QString line;
    QString speaker;
    std::int64_t start = 0;
    auto flush = [&] {
        addLine(line, speaker, start);
        line.clear();
    };
    for (const Word &w : words) {
        const QString &wordSpeaker = w.speaker == noSpeaker() ? QString() : w.speaker;
        if (!line.isEmpty() && wordSpeaker != speaker)
            flush();
        if (line.isEmpty()) {
            speaker = wordSpeaker;
            start = w.start;
        } else {
            line += u' ';
        }
        line += w.text;
        if (endsSentence(w.text))
            flush();
    }
    flush();
}

// The lines in Naadwerk's text conventions: where the speaker changes, a
// start time and a speaker line ("[Speaker: SP_01 NAME]", speakers numbered
// in the order they first speak).
QStringList FoundWords::transcript() const
{
    const bool speakers = std::any_of(lines.cbegin(), lines.cend(), [](const Line &l) { return !l.speaker.isEmpty(); });
    QStringList out;
    QStringList order;
    const QString *previous = nullptr;
    for (const Line &l : lines) {
        if (speakers && (!previous || *previous != l.speaker)) {
            if (!out.isEmpty())
                out << QString();
            qsizetype number = order.indexOf(l.speaker);
            if (number < 0) {
                order << l.speaker;
                number = order.size() - 1;
            }
            out << QStringLiteral("[StartTime: %1 ms]").arg(l.start);
            out << QStringLiteral("[Speaker: SP_%1 %2]")
                       .arg(number + 1, 2, 10, QLatin1Char('0'))
                       .arg(l.speaker.isEmpty() ? QStringLiteral("X") : l.speaker);
        }
        previous = &l.speaker;
        out << l.text;
    }
    return out;
}

void FoundWords::finishInto(WordFileRead &read)
{
    fillUntimed();
    for (std::size_t i = 0; i < words.size(); ++i)
        words[i].line = static_cast<std::int32_t>(std::min<std::size_t>(i + 1, INT32_MAX));
    if (lines.empty() && transcriptInWords)
        linesFromWords();
    read.transcript = transcript();
    read.untimed = untimedCount;
    read.firstUntimed = firstUntimed;
    read.words = std::move(words);
    words.clear();
    untimed.clear();
}
