#include "formats/wordvttwriter.h"

#include "base/utf8writer.h"
#include "formats/annotatedinterview.h"
#include "formats/cuelist.h"

#include <QStringTokenizer>

#include <algorithm>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

// How far past the last row found a cue's word is looked for: the rows a
// cue leaves out are few, and a word the cue changed must not make the
// search run away from the rows still to come.
constexpr std::size_t searchRows = 16;

// A speaker's name inside "<v ...>", which ends at ">".
QString voiceName(const QString &speaker)
{
    QString name = speaker;
    return name.replace(u'&', u"&amp;"_s).replace(u'>', u"&gt;"_s);
}

// Finds the rows of the words of cue texts, in order.
class RowFinder
{
public:
    explicit RowFinder(std::span<const WordRow> words) : words(words) {}

    const WordRow *find(QStringView word)
    {
        const std::size_t end = std::min(words.size(), next + searchRows);
        for (std::size_t r = next; r < end; ++r) {
            if (QStringView(words[r].text).trimmed() == word) {
                next = r + 1;
                return &words[r];
            }
        }
        return nullptr;
    }

private:
    std::span<const WordRow> words;
    std::size_t next = 0;
};

} // namespace

void writeWordTimedVtt(AtomicFile &out, std::span<const Cue> cues, std::span<const WordRow> words, CueMarkup markup)
{
    Utf8Writer w(out);
    w << "WEBVTT\n";
    RowFinder finder(words);
    QString speaker = u"X"_s; // carried over: a cue's first word may be found in no row
    QString text;
    for (const Cue &cue : cues) {
        text.resize(0);
        std::int64_t last = cue.start;
        bool open = false;
        bool firstWord = true;
        // Lines apart by "|", words by blanks; a span closes before the
        // blank or line end that follows its last word.
        QStringView separator;
        for (const QStringView line : QStringTokenizer(cue.text, u'|')) {
            if (!firstWord)
                separator = u"\n";
            for (const QStringView word : QStringTokenizer(line, u' ', Qt::SkipEmptyParts)) {
                const WordRow *row = finder.find(word);
                if (row && (firstWord || row->speaker != speaker)) {
                    if (open)
                        text += u"</v>";
                    open = false;
                    speaker = row->speaker;
                }
                text += separator;
                separator = u" ";
                if (!open && namesSpeaker(speaker)) {
                    text += u"<v "_s + voiceName(speaker) + u'>';
                    open = true;
                }
                if (row && !firstWord) {
                    last = std::clamp(row->start, last, std::max(last, cue.end));
                    text += u'<' + webVttTimeText(last) + u'>';
                }
                text += markup == CueMarkup::Srt ? srtTextAsWebVtt(word.toString()) : word.toString();
                firstWord = false;
            }
        }
        if (open)
            text += u"</v>";
        w << "\n" << webVttTimeLine(cue) << "\n" << text << "\n";
    }
    w.flush();
}
