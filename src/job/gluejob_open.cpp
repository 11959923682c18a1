// The Open commands: word files, texts and recordings of the two parts.

#include "job/gluejob.h"

#include "base/cancelled.h"
#include "base/error.h"
#include "base/linedecoder.h"
#include "base/paths.h"
#include "base/text.h"
#include "base/textfile.h"
#include "formats/recording.h"
#include "formats/wordfile.h"
#include "job/textsharing.h"
#include "job/vectorstate.h"
#include "job/wordrowfill.h"

#include <cstring>
#include <exception>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {

// True when the bytes of a text file hold at least one line.
bool holdsLines(const QByteArray &bytes)
{
    if (const std::optional<QByteArray> wide = LineDecoder::wideTextAsUtf8(bytes.constData(), bytes.size()))
        return !wide->isEmpty();
    const bool bom = bytes.size() >= 3 && std::memcmp(bytes.constData(), "\xEF\xBB\xBF", 3) == 0;
    return bytes.size() > (bom ? 3 : 0);
}

// The word of one trimmed line; a line the layout skips gives a word of line 0.
Word wordOfLine(const QString &line, QChar separator, WordFileLayout layout)
{
    std::vector<Word> words = parseWordLines(QStringList{line}, separator, layout);
    // A last word "SIL" is dropped from a list: as the first of two it stays.
    if (words.empty())
        words = parseWordLines(QStringList{line, line}, separator, layout);
    return words.empty() ? Word() : std::move(words.front());
}

// What a failed parse leaves in the word list: as many words as the file has
// lines, the lines before the failing one parsed, the others as they were
// (empty beyond the earlier list). A list of 200,000 lines or more is parsed
// in two halves, each up to its own first failing line.
void keepWordsBeforeFailure(const QByteArray &bytes, QChar separator, WordFileLayout layout,
                            std::vector<Word> &words)
{
    QStringList lines = linesFromBytes(bytes);
    for (QString &line : lines)
        line = trimmed(line);
    const std::size_t n = static_cast<std::size_t>(lines.size());
    words.resize(n);
    const std::size_t halves = n >= 200000 ? 2 : 1;
    for (std::size_t half = 0; half < halves; ++half) {
        const std::size_t from = n * half / halves;
        const std::size_t to = n * (half + 1) / halves;
        for (std::size_t i = from; i < to; ++i) {
            try {
                words[i] = wordOfLine(lines[static_cast<qsizetype>(i)], separator, layout);
                if (words[i].line != 0 || layout != WordFileLayout::Nist)
                    words[i].line = static_cast<std::int32_t>(i + 1);
            } catch (const Error &) {
                break;
            }
        }
    }
    // The comments and empty lines of a NIST file give no word.
    if (layout == WordFileLayout::Nist)
        std::erase_if(words, [](const Word &w) { return w.line == 0; });
}

} // namespace

// --- Word files -----------------------------------------------------------------------

void GlueJob::openWordFile(int part)
{
    if (part != 1 && part != 2)
        return;
    const QString path = person.chooseFileToOpen(OpenFilter::WordFile);
    if (path.isEmpty())
        return;
    refuseSpecialFile(path);
    dropGlue();
    (part == 1 ? wordFilePath1 : wordFilePath2) = path;
    clearUpperVectorState();
    readWordFile(part);
    showWordFile(part);
    setStatus(part == 1 ? StatusLine::Line1 : StatusLine::Line2, u"CTM-file: "_s + path);
    selectTab(part == 1 ? Tab::WordTable1 : Tab::WordTable2);
    // Glue takes each half from its rows, so the words are not needed once
    // shown (a later open reads the held file again).
    partWords(part) = std::vector<Word>();
}

void GlueJob::readWordFile(int part)
{
    if (part != 1 && part != 2)
        return;
    const QChar separator = settings.tabSeparated ? QChar(u'\t') : QChar(u' ');
    // The joined file is written with the separator of the file opened last.
    joinedSeparator = separator;
    joinedLayout = settings.layout;
    const QString &path = part == 1 ? wordFilePath1 : wordFilePath2;
    QByteArray &held = heldWordFiles[static_cast<std::size_t>(part - 1)];
    // A path that names no regular file (a missing file, a folder, a pipe)
    // reads the file held from before; a file that cannot be read leaves none.
    // A file without lines leaves the words as they were read before: the
    // file held from before is read again (the words themselves are let go
    // once shown).
    if (isRegularFile(path)) {
        QByteArray bytes = readFileBytes(path);
        if (holdsLines(bytes) || !holdsLines(held)) {
            held = QByteArray();
            held = std::move(bytes);
        }
    }
    if (!holdsLines(held))
        return;
    std::vector<Word> &words = partWords(part);
    try {
        words = parseWordFile(held, separator, settings.layout, path);
    } catch (const Error &) {
        keepWordsBeforeFailure(held, separator, settings.layout, words);
        throw;
    }
    shareRepeatedTexts(words);
}

void GlueJob::showWordFile(int part)
{
    if (part != 1 && part != 2)
        return;
    const std::vector<Word> &words = partWords(part);
    std::vector<WordRow> rows(words.size());
    fillWordRows(rows, words, 1, 0);
    // One replace: a view shows a million rows without a notice per row.
    const WordTable table = part == 1 ? WordTable::First : WordTable::Second;
    wordTable(table) = std::move(rows);
    std::vector<std::int32_t> &lines = part == 1 ? part1Lines : part2Lines;
    lines.resize(words.size());
    for (std::size_t i = 0; i < words.size(); ++i)
        lines[i] = words[i].line;
    person.wordRowsReplaced(table);
}

// --- Texts ------------------------------------------------------------------------------

void GlueJob::openText(int part)
{
    if (part != 1 && part != 2)
        return;
    const QString path = person.chooseFileToOpen(OpenFilter::Text);
    if (path.isEmpty())
        return;
    // The lines stay as they are: leading blanks and blank lines belong to
    // the transcript (the transcript builder tells markers by their first character).
    // The person may read them on another thread, and cancel with no change.
    QStringList lines;
    std::exception_ptr failure;
    try {
        person.runLongStep(u"Reading the text"_s, [&](Progress &progress) {
            lines = readTextFile(path);
            progress.report(1, 1);
        });
    } catch (const Cancelled &) {
        throw;
    } catch (...) {
        failure = std::current_exception();
    }
    (part == 1 ? textPath1 : textPath2) = path;
    // A file that cannot be read leaves the glued result in place.
    if (failure)
        std::rethrow_exception(failure);
    dropGlue();
    QStringList &opened = part == 1 ? openedText1 : openedText2;
    opened = std::move(lines);
    const TextView view = part == 1 ? TextView::Text1 : TextView::Text2;
    textRef(view) = opened;
    halfTexts[part == 1 ? 0 : 1] = opened;
    reportText(view);
    setStatus(part == 1 ? StatusLine::Line3 : StatusLine::Line4, u"Text-file: "_s + path);
    selectTab(part == 1 ? Tab::Text1 : Tab::Text2);
}

// --- Recordings -------------------------------------------------------------------------

void GlueJob::openRecording(int part)
{
    if (part != 1 && part != 2)
        return;
    const QString path = person.chooseFileToOpen(OpenFilter::Recording);
    if (path.isEmpty())
        return;
    // Reading a compressed recording decodes it whole to count its frames:
    // the person may run it on another thread, and cancel it with no change.
    RecordingInfo wav;
    std::exception_ptr failure;
    try {
        person.runLongStep(u"Reading the recording"_s, [&](Progress &progress) {
            wav = probeRecording(path);
            progress.report(1, 1);
        });
    } catch (const Cancelled &) {
        throw;
    } catch (...) {
        failure = std::current_exception();
    }
    (part == 1 ? recordingPath1 : recordingPath2) = path;
    if (failure)
        std::rethrow_exception(failure);
    dropGlue(); // only once the recording could be read
    (part == 1 ? frames1 : frames2) = wav.frames;
    halfRates[static_cast<std::size_t>(part - 1)] = wav.rate;
    QString line = u"Wav-file: "_s + path + u" - "_s + wav.format + u" - "_s
                   + QString::number(wav.frames);
    // A recording in another format says how long it is: its frame count is
    // at its own rate, which the line does not show.
    if (wav.decoded) {
        const qint64 seconds = wav.frames / qint64(wav.rate);
        line += u" - "_s + QString::number(seconds / 3600) + u':'
                + QString::number(seconds / 60 % 60).rightJustified(2, u'0') + u':'
                + QString::number(seconds % 60).rightJustified(2, u'0');
    }
    setStatus(part == 1 ? StatusLine::Line5 : StatusLine::Line6, line);
}
