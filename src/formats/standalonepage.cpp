#include "formats/standalonepage.h"

#include "base/error.h"
#include "base/linewriter.h"
#include "base/timetext.h"
#include "formats/karaokebody.h"
#include "formats/karaokepage.h"

#include <QFile>

using namespace Qt::Literals::StringLiterals;

namespace {

// A name that stands for "no speaker": the word file named none.
bool isSpeaker(const QString &speaker)
{
    return !speaker.isEmpty() && speaker != u"X";
}

} // namespace

// The script and the style are kept as resources of this library and copied
// into every page; they hold no text of a word file.
static QStringList resourceLines(const QString &path)
{
    Q_INIT_RESOURCE(standalonepage);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(u"The page resource "_s + path + u" is missing."_s);
    QString text = QString::fromUtf8(file.readAll());
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text.split(u'\n');
}

template <typename Put>
void StandalonePage::build(std::span<const WordRow> rows, const QString &title, const QString &audioPath,
                           Put &&put) const
{
    static const QStringList script = resourceLines(u":/standalonepage/standalonepage.js"_s);
    static const QStringList css = resourceLines(u":/standalonepage/standalonepage.css"_s);
    const QString escapedTitle = htmlEscaped(title);
    const QString audioName = karaokeAudioName(audioPath, style);
    const bool marking = lowConfidence > 0;

    put(u"<!doctype html>"_s);
    put(u"<html lang=\""_s + htmlEscaped(style.language) + u"\">"_s);
    put(u"<head>"_s);
    put(u"<meta charset=\"utf-8\">"_s);
    put(u"<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"_s);
    put(u"<meta name=\"generator\" content=\"Naadwerk\">"_s);
    put(u"<title>"_s + escapedTitle + u"</title>"_s);
    put(u"<style>"_s);
    for (const QString &line : css)
        put(line);
    put(u"</style>"_s);
    put(u"</head>"_s);
    put(u"<body>"_s);
    put(u"<header>"_s);
    put(u"<h1>"_s + escapedTitle + u"</h1>"_s);
    QString help = u"<p class=\"help\" id=\"help\">Click a word to play from it. Keys: Space plays or pauses, "
                   u"the left and right arrow keys go to the previous or next word, Enter plays from the word."_s;
    if (marking)
        help += u" Words recognised with a confidence below "_s + QString::number(lowConfidence, 'f', 2)
                + u" are <span class=\"low-sample\">underlined with dots</span>."_s;
    put(help + u"</p>"_s);
    put(u"</header>"_s);
    // The player comes before the transcript, so the recording's length is
    // known while a long transcript still loads.
    put(u"<div id=\"bar\" role=\"region\" aria-label=\"Player\">"_s);
    put(u"<div class=\"row\">"_s);
    put(u"<audio id=\"audioPlayer\" controls preload=\"metadata\" aria-label=\"Recording\">"_s);
    // The name goes into a URL first (a "#" or "?" would end the path),
    // then into a quoted attribute.
    put(u"<source src=\""_s + htmlEscaped(urlEscaped(audioName)) + u"\" type=\""_s + karaokeAudioType(style)
        + u"\">"_s);
    put(u"Your browser does not support the audio element."_s);
    put(u"</audio>"_s);
    put(u"<span class=\"timer\"><span id=\"displayTimer\" aria-label=\"Time in seconds\">0.0</span></span>"_s);
    put(u"<button id=\"follow\" type=\"button\" aria-pressed=\"true\">Follow</button>"_s);
    put(u"<label for=\"search\">Search</label>"_s);
    put(u"<input id=\"search\" type=\"search\" autocomplete=\"off\" aria-describedby=\"searchStatus\">"_s);
    put(u"<span id=\"searchStatus\" role=\"status\"></span>"_s);
    put(u"</div>"_s);
    put(u"<div class=\"row\">"_s);
    put(u"<span id=\"audioName\">"_s + htmlEscaped(audioName) + u"</span>"_s);
    put(u"<table>"_s);
    put(u"<thead><tr><th scope=\"col\">Time index</th><th scope=\"col\">Confidence</th>"
        u"<th scope=\"col\">Speaker</th></tr></thead>"_s);
    put(u"<tbody><tr><td><div id=\"timeindex\">&nbsp;</div></td><td><div id=\"confidence\">&nbsp;</div></td>"
        u"<td><div id=\"speaker\">&nbsp;</div></td></tr></tbody>"_s);
    put(u"</table>"_s);
    put(u"</div>"_s);
    put(u"</div>"_s);
    // The script too: a word plays on a click as soon as it shows.
    put(u"<script>"_s);
    for (const QString &line : script)
        put(line);
    put(u"</script>"_s);
    put(u"<main id=\"transcript\" aria-describedby=\"help\">"_s);

    const bool withParts = !partStarts.empty();
    const QString speakerOpen = withParts ? u"<h3 class=\"speaker\">"_s : u"<h2 class=\"speaker\">"_s;
    const QString speakerClose = withParts ? u"</h3>"_s : u"</h2>"_s;
    const QString wordStart = u"<span class=\"w\" data-t=\""_s;
    const QString lowWordStart = u"<span class=\"w low\" data-t=\""_s;

    bool inParagraph = false;
    bool firstWord = true;
    QString paragraphSpeaker;  // speaker of the open paragraph
    QString headedSpeaker;     // speaker of the last heading
    bool headingDue = true;    // a speaker heading before the next word
    size_t nextPart = 0;       // index into partStarts
    QChar lastChar = u' ';     // last character of the last shown word
    // The timing of the shown words for the script, which then needs not
    // read every word of the document: each start in ms after the start
    // before it (null for a typed start, which the script reads from its
    // word), and the words of each paragraph.
    QString starts;
    QString wordCounts;
    std::int64_t lastStart = 0;
    int wordsInParagraph = 0;
    int paragraphsInChunk = 0;
    const auto closeParagraph = [&] {
        if (inParagraph) {
            put(u"</p>"_s);
            if (!wordCounts.isEmpty())
                wordCounts += u',';
            wordCounts += QString::number(wordsInParagraph);
            ++paragraphsInChunk;
        }
        inParagraph = false;
        wordsInParagraph = 0;
    };
    // The transcript comes in chunks of paragraphs, which the browser lays
    // out only near the view; a new one starts before a heading or paragraph.
    const auto nextChunkIfFull = [&] {
        if (paragraphsInChunk < paragraphsPerChunk)
            return;
        put(u"</div>"_s);
        put(u"<div class=\"chunk\">"_s);
        paragraphsInChunk = 0;
    };
    put(u"<div class=\"chunk\">"_s);
    if (withParts)
        put(u"<h2 class=\"part\">Part 1</h2>"_s);

    for (size_t r = 0; r < rows.size(); ++r) {
        const WordRow &row = rows[r];
        while (nextPart < partStarts.size() && partStarts[nextPart] <= r) {
            // Several starts at one row make no empty parts.
            while (nextPart + 1 < partStarts.size() && partStarts[nextPart + 1] <= r)
                ++nextPart;
            closeParagraph();
            nextChunkIfFull();
            put(u"<h2 class=\"part\">Part "_s + QString::number(nextPart + 2) + u"</h2>"_s);
            ++nextPart;
            headingDue = true;
            lastChar = u' ';
        }
        const QString &word = row.text;
        if (word == u"SIL" || word.isEmpty()) {
            // A silence after a sentence end ends the paragraph; it never shows.
            if (word == u"SIL" && (lastChar == u'.' || lastChar == u'!' || lastChar == u'?'))
                closeParagraph();
            continue;
        }
        if (inParagraph && row.speaker != paragraphSpeaker)
            closeParagraph();
        if ((headingDue || row.speaker != headedSpeaker) && isSpeaker(row.speaker)) {
            closeParagraph();
            nextChunkIfFull();
            put(speakerOpen + htmlEscaped(row.speaker) + speakerClose);
        }
        headingDue = false;
        headedSpeaker = row.speaker;
        if (!inParagraph) {
            nextChunkIfFull();
            put(u"<p data-s=\""_s + htmlEscaped(row.speaker) + u"\">"_s);
            inParagraph = true;
            paragraphSpeaker = row.speaker;
        }

        const QString text = htmlEscaped(word);
        // Compared as the float the row shows: 0.90 is not below 0.9.
        const bool low = marking && row.confidence < static_cast<float>(lowConfidence);
        QString line;
        line.reserve(text.size() + 64);
        line += low ? lowWordStart : wordStart;
        if (row.isTyped(WordRow::Start))
            line += htmlEscaped(msTextToSeconds(row.cell(WordRow::Start)));
        else
            appendSecondsText(line, row.start);
        line += u"\" data-c=\"";
        if (row.isTyped(WordRow::Confidence))
            line += htmlEscaped(row.cell(WordRow::Confidence));
        else
            line += QString::number(static_cast<double>(row.confidence), 'f', 2);
        line += firstWord ? u"\" tabindex=\"0\">" : u"\">";
        line += text;
        line += u"</span>";
        put(line);
        if (!firstWord)
            starts += u',';
        if (row.isTyped(WordRow::Start)) {
            starts += u"null";
        } else {
            starts += QString::number(row.start - lastStart);
            lastStart = row.start;
        }
        ++wordsInParagraph;
        firstWord = false;
        lastChar = word.back();
    }
    closeParagraph();
    put(u"</div>"_s);
    put(u"</main>"_s);
    put(u"<script type=\"application/json\" id=\"timing\">{\"t\":["_s + starts + u"],\"p\":["_s + wordCounts
        + u"]}</script>"_s);

    put(u"</body>"_s);
    put(u"</html>"_s);
}

QStringList StandalonePage::lines(std::span<const WordRow> rows, const QString &title,
                                  const QString &audioPath) const
{
    QStringList l;
    l.reserve(static_cast<qsizetype>(rows.size()) + 200);
    build(rows, title, audioPath, [&l](const QString &line) { l << line; });
    return l;
}

void StandalonePage::write(AtomicFile &out, std::span<const WordRow> rows, const QString &title,
                           const QString &audioPath) const
{
    LineWriter writer(out);
    build(rows, title, audioPath, [&writer](const QString &line) { writer.writeLine(line); });
    writer.flush();
}
