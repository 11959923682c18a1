// The Open commands: a part's word file, text and recording.

#include "job/gluejob.h"

#include "base/cancelled.h"
#include "base/error.h"
#include "base/paths.h"
#include "base/textfile.h"
#include "formats/recording.h"
#include "formats/wordfile.h"
#include "job/settingstable.h"
#include "job/textsharing.h"
#include "job/vectorstate.h"

#include <exception>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {

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

WordFileFormat GlueJob::wordFileFormat() const
{
    return {settings.separator(), settings.layout, chosenTextEncoding(settings), settings.wordFormat, settings.tier};
}

WordFileRead GlueJob::readWords(const QByteArray &bytes, const QString &path) const
{
    WordFileRead read = loadWordFile(bytes, wordFileFormat(), path);
    shareRepeatedTexts(read.words);
    return read;
}

void GlueJob::openWordFile(int number, const QString &path)
{
    Part &part = openedPart(number);
    refuseSpecialFile(path);
    // A path that names no regular file (a missing file, a folder) reads the
    // file held from before, with the settings chosen now; a part that holds
    // none shows no words. Nothing of the part changes unless the read
    // succeeds: a file that failed is never held, so no later Open shows it.
    const bool fresh = isRegularFile(path);
    clearUpperVectorState();
    QByteArray bytes;
    WordFileRead read;
    // A million words take a while to parse: the window stays responsive.
    const std::exception_ptr failure = readAsLongStep(person, u"Reading the word file"_s, [&] {
        bytes = fresh ? readFileBytes(path) : part.heldWordFile;
        if (fresh || !bytes.isEmpty())
            read = readWords(bytes, path);
    });
    takeOpened(part.files.wordFile, path, failure);
    part.heldWordFile = holdsWordFiles ? std::move(bytes) : QByteArray();
    // The joined file is written with the separator of the file opened last.
    separatorOut = settings.separator();
    layoutOut = settings.layout;
    part.takeWordFile(read);
    part.takeTextOfWords(read.transcript);
    // One replace: a view shows a million rows without a notice per row.
    reportPartRows(number - 1);
    if (part.files.text.isEmpty())
        showPartText(number - 1);
    person.fileOpened(number, PartFile::WordFile);
    if (number > 2 || partsListed)
        person.partsChanged();
}

// --- Texts ------------------------------------------------------------------------------

void GlueJob::openText(int number, const QString &path)
{
    Part &part = openedPart(number);
    // The lines stay as they are: leading blanks and blank lines belong to
    // the transcript (the transcript builder tells markers by their first character).
    TextLines read;
    takeOpened(part.files.text, path,
               readAsLongStep(person, u"Reading the text"_s,
                              [&] { read = readTextLines(path, chosenTextEncoding(settings)); }));
    part.takeText(std::move(read));
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
