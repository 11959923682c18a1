#include "formats/karaokebody.h"

#include "base/linewriter.h"
#include "base/timetext.h"
#include "formats/karaokepage.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// Hands the body's lines one by one to put, so the page can be collected
// or written as it is made.
template <typename Put>
void buildBody(std::span<const WordRow> rows, const QString &title, Put &&put)
{
    const QString spanStart = u"     <span class=\"player conf10\" conf=\""_s;
    const QString timestampStart = u"\" timestamp=\""_s;
    const QString paragraphEnd = u"    </p>"_s;
    const QString paragraphStart = u"    <p class=\"transcript\">"_s;

    put(u"<body>"_s);
    put(u"  <div id=\"transcript\" style=\"max-height:500px; overflow-y: scroll;\">"_s);
    put(u"    <h1>Forced Alignment "_s + htmlEscaped(title) + u"</h1>"_s);

    const size_t n = rows.size();
    bool openParagraph = true; // a paragraph is to be opened
    QChar last = u' ';         // last character of the last shown word
    for (size_t r = 0; r < n; ++r) {
        const WordRow &row = rows[r];
        QString word = row.text;

        // A paragraph ends at a silence after a sentence end; the silence
        // itself never shows.
        if (!openParagraph && word == u"SIL" && (last == u'.' || last == u'!' || last == u'?')) {
            put(paragraphEnd);
            word.clear();
            last = u' ';
            openParagraph = true;
        }
        // The heading is the speaker of the row after the opening row: the
        // opening row is usually the silence before the speaker's first word.
        if (openParagraph) {
            const QString speaker = r + 1 < n ? rows[r + 1].speaker : QString();
            if (!speaker.isEmpty())
                put(u"   <h2>"_s + htmlEscaped(speaker) + u"</h2>"_s);
            put(paragraphStart);
            openParagraph = false;
        }
        // The page shows the span's speaker when the mouse is over the word.
        if (!word.isEmpty() && word != u"SIL") {
            const QString speaker = htmlEscaped(row.speaker);
            const QString text = htmlEscaped(word);
            // One allocation per span: the page of a long interview holds a
            // million of them. A start that shows its number is written as
            // seconds directly; a typed one goes through its text.
            QString line;
            line.reserve(spanStart.size() + timestampStart.size() + 32 + speaker.size() + text.size() + 20);
            line.append(spanStart);
            // The confidence as the word table shows it; only a typed one can
            // hold a character to escape.
            if (row.isTyped(WordRow::Confidence))
                line.append(htmlEscaped(row.cell(WordRow::Confidence)));
            else
                line.append(row.cell(WordRow::Confidence));
            line.append(timestampStart);
            if (row.isTyped(WordRow::Start))
                line.append(htmlEscaped(msTextToSeconds(row.cell(WordRow::Start))));
            else
                appendSecondsText(line, row.start);
            line.append(u"\" speaker=\"").append(speaker).append(u"\">").append(text).append(u"</span>");
            put(line);
            last = word.back();
        }
    }
    put(paragraphEnd);
    put(u"   </div>"_s);
}

} // namespace

QString msTextToSeconds(const QString &ms)
{
    // The sign stays in front; the padding and the point go to the digits.
    const bool negative = ms.startsWith(u'-');
    QString s = negative ? ms.mid(1) : ms;
    if (s.size() < 4)
        s.prepend(QString(4 - s.size(), u'0'));
    s.insert(s.size() - 3, u'.');
    return negative ? u'-' + s : s;
}

QStringList karaokeBody(std::span<const WordRow> rows, const QString &title)
{
    QStringList l;
    l.reserve(static_cast<qsizetype>(rows.size()) + 8);
    buildBody(rows, title, [&l](const QString &line) { l << line; });
    return l;
}

QStringList karaokePage(std::span<const WordRow> rows, const QString &title, const QString &audioPath,
                        const KaraokeStyle &style)
{
    QStringList page = karaokeHead(title, style);
    page += karaokeBody(rows, title);
    page += karaokeTail(audioPath, style);
    return page;
}

void writeKaraokePage(AtomicFile &out, std::span<const WordRow> rows, const QString &title,
                      const QString &audioPath, const KaraokeStyle &style)
{
    LineWriter writer(out);
    for (const QString &line : karaokeHead(title, style))
        writer.writeLine(line);
    buildBody(rows, title, [&writer](const QString &line) { writer.writeLine(line); });
    for (const QString &line : karaokeTail(audioPath, style))
        writer.writeLine(line);
    writer.flush();
}
