// The Open commands: a part's word file, text and recording.

#include "job/gluejob.h"

#include "base/cancelled.h"
#include "base/error.h"
#include "base/linedecoder.h"
#include "base/paths.h"
#include "base/textfile.h"
#include "formats/recording.h"
#include "formats/wordfile.h"
#include "job/textsharing.h"
#include "job/vectorstate.h"

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

// Runs read as the long part of an Open: the person may run it on another
// thread and cancel it with no change. Any other failure is returned, so
// the command can note the path first.
template <typename Read>
std::exception_ptr readAsLongStep(Person &person, const QString &what, Read read)
{
    try {
        person.runLongStep(what, [&](Progress &progress) {
            read();
            progress.report(1, 1);
        });
    } catch (const Cancelled &) {
        throw;
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

} // namespace

// Part number part (from 1) of the list, which the Open commands may fill:
// parts 1 and 2 always, the others once the list holds them.
Part &GlueJob::openedPart(int part)
{
    if (part < 1 || static_cast<std::size_t>(part) > parts.size())
        throw Error(u"There is no part %1 to open a file of."_s.arg(part));
    return parts[static_cast<std::size_t>(part - 1)];
}

// The part names the file an Open read, whether or not it could be read;
// only a file read drops a glued result.
void GlueJob::takeOpened(QString &slot, const QString &path, const std::exception_ptr &failure)
{
    slot = path;
    if (failure)
        std::rethrow_exception(failure);
    dropGlue();
}

// --- Word files -----------------------------------------------------------------------

void GlueJob::openWordFile(int number, const QString &path)
{
    Part &part = openedPart(number);
    refuseSpecialFile(path);
    dropGlue();
    part.files.wordFile = path;
    clearUpperVectorState();
    readWordFile(part);
    person.fileOpened(number, PartFile::WordFile);
    if (number > 2 || partsListed)
        person.partsChanged();
}

void GlueJob::readWordFile(Part &part)
{
    const QChar separator = settings.separator();
    // The joined file is written with the separator of the file opened last.
    separatorOut = separator;
    layoutOut = settings.layout;
    QByteArray &held = part.heldWordFile;
    // A path that names no regular file (a missing file, a folder, a pipe)
    // reads the file held from before; a file that cannot be read leaves none.
    // A file without lines leaves the words as they were read before: the
    // file held from before is read again.
    if (isRegularFile(part.files.wordFile)) {
        QByteArray bytes = readFileBytes(part.files.wordFile);
        if (holdsLines(bytes) || !holdsLines(held)) {
            held = QByteArray();
            held = std::move(bytes);
        }
    }
    // A word list whose read failed is not shown: the part keeps its rows.
    std::vector<Word> words;
    if (holdsLines(held)) {
        words = parseWordFile(held, separator, settings.layout, part.files.wordFile);
        shareRepeatedTexts(words);
    }
    part.showWords(words);
    // One replace: a view shows a million rows without a notice per row.
    reportPartRows(static_cast<int>(&part - parts.data()));
}

// --- Texts ------------------------------------------------------------------------------

void GlueJob::openText(int number, const QString &path)
{
    Part &part = openedPart(number);
    // The lines stay as they are: leading blanks and blank lines belong to
    // the transcript (the transcript builder tells markers by their first character).
    QStringList lines;
    takeOpened(part.files.text, path,
               readAsLongStep(person, u"Reading the text"_s, [&] { lines = readTextFile(path); }));
    part.openedText = std::move(lines);
    part.text = part.openedText;
    showPartText(number - 1);
    person.fileOpened(number, PartFile::Text);
    if (number > 2 || partsListed)
        person.partsChanged();
}

// --- Recordings -------------------------------------------------------------------------

void GlueJob::openRecording(int number, const QString &path)
{
    Part &part = openedPart(number);
    // Reading a compressed recording decodes it whole to count its frames.
    RecordingInfo wav;
    takeOpened(part.files.recording, path,
               readAsLongStep(person, u"Reading the recording"_s, [&] { wav = probeRecording(path); }));
    part.takeRecording(wav);
    person.fileOpened(number, PartFile::Recording);
    person.partsChanged();
}
