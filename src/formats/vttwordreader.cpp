#include "formats/vttwordreader.h"

#include "base/error.h"
#include "base/numbers.h"
#include "formats/foundwords.h"
#include "formats/wordreaders.h"

#include <QRegularExpression>

#include <vector>

using namespace Qt::StringLiterals;

namespace {

// "hh:mm:ss.ttt" or "mm:ss.ttt" in ms; nothing for another text.
std::optional<std::int64_t> vttTime(QStringView text)
{
    const QList<QStringView> parts = text.trimmed().split(u':');
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    try {
        std::int64_t ms = 0;
        for (qsizetype i = 0; i + 1 < parts.size(); ++i)
            ms = ms * 60 + parseInt(parts[i]);
        return ms * 60000 + secondsToMs(parts.back());
    } catch (const Error &) {
        return std::nullopt;
    }
}

// A run of text starting at a time of its own.
struct Stretch
{
    std::int64_t start;
    QString text;
};

struct Line
{
    std::vector<Stretch> stretches;
    bool timed = false; // holds word times
    QString plain;      // the text without tags, simplified
};

QString decodeEntities(const QString &text)
{
    if (!text.contains(u'&'))
        return text;
    QString out = text;
    out.replace("&lt;"_L1, "<"_L1).replace("&gt;"_L1, ">"_L1).replace("&nbsp;"_L1, " "_L1);
    out.replace("&lrm;"_L1, QString()).replace("&rlm;"_L1, QString()).replace("&quot;"_L1, "\""_L1);
    out.replace("&apos;"_L1, "'"_L1).replace("&amp;"_L1, "&"_L1);
    return out;
}

// "Name: " or "[SPEAKER_01]: " before a line's text: a name of a few words
// starting with capitals (and the particles of Dutch, German, French and
// Italian names: "Piet de Vries"), or anything in brackets.
const QRegularExpression speakerPrefix(
    u"^(?:\\[([^\\]]{1,40})\\]|(\\p{Lu}[\\w.'-]*(?: (?:\\p{Lu}[\\w.'-]*|van|de|der|den|ter|von|da|di|du|le|la)){0,3})): "_s);

// Splits a cue's line at its time tags, dropping the other tags; a <v Name>
// span names the speaker.
Line splitLine(QStringView text, std::int64_t cueStart, QString &speaker)
{
    Line line;
    Stretch current{cueStart, QString()};
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] != u'<') {
            const qsizetype next = text.indexOf(u'<', i);
            current.text += text.sliced(i, (next < 0 ? text.size() : next) - i);
            i = next < 0 ? text.size() : next;
            continue;
        }
        const qsizetype close = text.indexOf(u'>', i);
        if (close < 0)
            break; // a tag not closed is dropped with what follows
        const QStringView tag = text.sliced(i + 1, close - i - 1);
        i = close + 1;
        if (tag.startsWith(u"v ") || tag.startsWith(u"v.")) {
            const qsizetype blank = tag.indexOf(u' ');
            if (blank > 0)
                speaker = decodeEntities(tag.sliced(blank + 1).trimmed().toString());
        } else if (const auto time = vttTime(tag)) {
            line.stretches.push_back(std::move(current));
            current = {*time, QString()};
            line.timed = true;
        }
    }
    line.stretches.push_back(std::move(current));
    for (Stretch &s : line.stretches) {
        s.text = decodeEntities(s.text);
        line.plain += s.text;
    }
    line.plain = line.plain.simplified();
    return line;
}

struct Cue
{
    std::int64_t start = 0, end = 0;
    QStringList lines;
};

std::vector<Cue> cuesOf(const QString &text)
{
    std::vector<Cue> cues;
    const QStringList lines = QString(text).replace("\r\n"_L1, "\n"_L1).replace(u'\r', u'\n').split(u'\n');
    Cue *cue = nullptr;
    for (const QString &line : lines) {
        // Only an empty line ends a cue: video sites write lines of one blank.
        if (line.isEmpty()) {
            cue = nullptr;
            continue;
        }
        if (cue) {
            cue->lines << line;
            continue;
        }
        const qsizetype arrow = line.indexOf("-->"_L1);
        if (arrow < 0)
            continue; // the header, a cue's id, NOTE, STYLE and REGION blocks
        const auto start = vttTime(QStringView(line).first(arrow));
        QStringView rest = QStringView(line).sliced(arrow + 3).trimmed();
        const qsizetype blank = rest.indexOf(u' ');
        const auto end = vttTime(blank < 0 ? rest : rest.first(blank));
        if (!start || !end)
            throw Error(u"\"%1\" is not a cue's timing"_s.arg(line.trimmed()));
        cues.push_back({*start, *end, {}});
        cue = &cues.back();
    }
    return cues;
}

void addStretch(FoundWords &found, const Stretch &s, std::int64_t end, const QString &speaker)
{
    const QStringList words = blankSeparatedWords(s.text);
    if (words.size() == 1)
        found.add(words.front(), s.start, end, 1, speaker);
    else if (!words.isEmpty())
        found.addStretch(words, s.start, end, speaker);
}

} // namespace

bool isWordVtt(const WordSource &source)
{
    return source.utf8.trimmed().startsWith("WEBVTT");
}

void readWordVtt(const WordSource &source, FoundWords &found)
{
    const std::vector<Cue> cues = cuesOf(QString::fromUtf8(source.utf8));
    // Only a file with word times repeats its text; in plain subtitles two
    // cues may well say the same.
    QString speaker;
    bool wordTimes = false;
    for (const Cue &cue : cues)
        for (const QString &text : cue.lines)
            wordTimes = wordTimes || splitLine(text, cue.start, speaker).timed;
    speaker.clear();
    QString readLast; // the plain text of the line read last
    for (const Cue &cue : cues) {
        for (const QString &text : cue.lines) {
            Line line = splitLine(text, cue.start, speaker);
            if (line.plain.isEmpty() || (wordTimes && !line.timed && line.plain == readLast))
                continue;
            Stretch &first = line.stretches.front();
            if (const auto named = speakerPrefix.match(first.text.trimmed()); named.hasMatch()) {
                speaker = named.captured(1).isEmpty() ? named.captured(2) : named.captured(1);
                first.text = first.text.trimmed().sliced(named.capturedLength());
            }
            for (std::size_t s = 0; s < line.stretches.size(); ++s) {
                const std::int64_t end = s + 1 < line.stretches.size() ? line.stretches[s + 1].start : cue.end;
                addStretch(found, line.stretches[s], end, speaker);
            }
            readLast = line.plain;
        }
    }
    found.holdsTranscript();
}
