#include "formats/subtitlereader.h"

#include "base/text.h"
#include "base/timetext.h"

#include <limits>

namespace {

// True when one of the clean-up's patterns occurs in r: "<br>" or a blank
// before ",", ".", "?", "!" or another blank. Most lines hold none.
bool needsCleaning(const QString &r)
{
    const QStringView c = r;
    for (qsizetype i = 0; i + 1 < c.size(); ++i) {
        if (c[i] == u' ') {
            const QChar next = c[i + 1];
            if (next == u',' || next == u'.' || next == u'?' || next == u'!' || next == u' ')
                return true;
        } else if (c[i] == u'<' && c.sliced(i).startsWith(u"<br>")) {
            return true;
        }
    }
    return false;
}

// The replacements run one after the other, each over the whole line.
QString cleanLine(QString r)
{
    if (needsCleaning(r)) {
        r.replace(QStringLiteral("<br>"), QStringLiteral(" "));
        r.replace(QStringLiteral(" ,"), QStringLiteral(", "));
        r.replace(QStringLiteral(" ."), QStringLiteral(". "));
        r.replace(QStringLiteral(" ?"), QStringLiteral("? "));
        r.replace(QStringLiteral(" !"), QStringLiteral("! "));
        // Exactly two passes: five blanks become two, not one.
        r.replace(QStringLiteral("  "), QStringLiteral(" "));
        r.replace(QStringLiteral("  "), QStringLiteral(" "));
    }
    return trimmed(r);
}

// text := trim(text + " " + line), without copying text: text is already
// trimmed, so only the end of line can be trimmed away.
void appendLine(QString &text, const QString &line)
{
    if (text.isEmpty()) {
        text = trimmed(line);
        return;
    }
    qsizetype e = line.size();
    while (e > 0 && line.at(e - 1).unicode() <= 0x20)
        --e;
    if (e == 0)
        return;
    text.append(u' ');
    text.append(QStringView(line).first(e));
}

} // namespace

QStringList normaliseSubtitleLines(QStringList lines, qsizetype n)
{
    // One pass builds the new list; nothing is inserted into or deleted from
    // the middle of a list. The steps, in the order they act on a line:
    //
    // Empty cues. The walk visits the positions 0 to n - 1 of the growing list
    // (with one empty line appended): each marked cue inserts a line, so the last
    // lines of the file can fall beyond the walk. After a hit the two lines
    // that follow ("[empty cue]" and the new empty line) can never be a hit,
    // so the walk jumps past them.
    //
    // Empty runs. Every run of empty lines shrinks to one; the list keeps its
    // last empty line. Emptiness is judged before the clean-up: a line that
    // the clean-up empties ("<br>") stays.
    //
    // Clean-up. The replacements and the trim of cleanLine.
    static const QString emptyCue = QStringLiteral("[empty cue]");
    QStringList out;
    out.reserve(lines.size() + 1);
    bool previousEmpty = false;
    auto add = [&](QString line) {
        const bool empty = line.isEmpty();
        if (empty && previousEmpty)
            return;
        previousEmpty = empty;
        out << cleanLine(std::move(line));
    };

    lines.append(QString());
    qsizetype j = 0; // the next line of the file
    for (qsizetype pos = 0; pos < n && j < lines.size();) {
        if (lines[j].contains(u"--> ") && j + 1 < lines.size() && lines[j + 1].isEmpty()) {
            add(std::move(lines[j]));
            add(emptyCue);
            add(QString());
            j += 2;
            pos += 3;
        } else {
            add(std::move(lines[j]));
            ++j;
            ++pos;
        }
    }
    for (; j < lines.size(); ++j)
        add(std::move(lines[j]));
    return out;
}

std::vector<Cue> parseCues(const QStringList &normalisedLines)
{
    const QStringList &lines = normalisedLines;
    std::vector<Cue> cues;
    for (qsizetype r = 0; r < lines.size(); ++r) {
        const QString &line = lines.at(r);
        if (!line.contains(u" --> "))
            continue;
        const QStringView start = trimmedView(QStringView(line).first(line.indexOf(u' ') + 1));
        const QStringView end = trimmedView(QStringView(line).sliced(line.indexOf(u"> ") + 2));
        // Normalised lines end in an empty line; the bound guards lines that
        // were not normalised.
        QString text;
        for (qsizetype k = r + 1; k < lines.size() && !lines.at(k).isEmpty(); ++k)
            appendLine(text, lines.at(k));
        Cue cue;
        cue.start = parseTimeText(start);
        cue.end = parseTimeText(end);
        cue.number = static_cast<std::int32_t>(cues.size() + 1);
        cue.text = std::move(text);
        cues.push_back(std::move(cue));
    }
    return cues;
}

std::vector<Cue> parseSubtitleLines(const QStringList &fileLines)
{
    if (fileLines.isEmpty())
        return {};
    QStringList lines;
    lines.reserve(fileLines.size());
    for (const QString &line : fileLines)
        lines << trimmed(line);
    // A count beyond 32 bits would be misread; a line list cannot hold that many.
    const qsizetype n = std::min<qsizetype>(lines.size(), std::numeric_limits<std::int32_t>::max());
    return parseCues(normaliseSubtitleLines(std::move(lines), n));
}
