// The Glue command and its steps: the join of the recordings, the word
// list and the texts, then the phrases, the SRT and the transcript.

#include "job/gluejob.h"

#include "base/cancelled.h"
#include "base/error.h"
#include "base/paths.h"
#include "formats/filebytesource.h"
#include "formats/samples16k.h"
#include "formats/transcriptbuilder.h"
#include "job/subtitlesteps.h"
#include "job/vectorstate.h"
#include "job/wordrowfill.h"
#include "job/wordwarnings.h"

#include <algorithm>
#include <exception>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {

// A recording deleted or moved since it was opened.
void requireRegularFile(const QString &path)
{
    if (!isRegularFile(path))
        FileByteSource{path}; // throws "Cannot open file ..." with the system's reason
}

} // namespace

// What the join of the recordings gives the job: each part's counts as far
// as the join reached them, and how it ended.
struct GlueJob::JoinedRecording
{
    bool reached = false; // the join started: its counts are taken, also on a failure
    qint64 total = -1;
    std::vector<JoinPart> parts;
    QStringList warnings; // recordings cut short
    std::exception_ptr failure;
};

void GlueJob::checkReadyToGlue() const
{
    // Every recording must have been chosen: without them there is nothing
    // to name the result after, nor a place for each part.
    if (!partsListed) {
        if (parts[0].files.recording.isEmpty() || parts[1].files.recording.isEmpty())
            throw Error(u"Open both recordings before Glue."_s);
        return;
    }
    if (partCount() < 2)
        throw Error(u"Add at least two parts before Glue."_s);
    for (int k = 0; k < partCount(); ++k)
        if (parts[static_cast<std::size_t>(k)].files.recording.isEmpty())
            throw Error(u"Choose the recording of part %1 before Glue."_s.arg(k + 1));
}

QString GlueJob::proposedJoinedRecording() const
{
    // Recording 1's own name is never proposed: accepting it would replace an input.
    const QString &first = parts[0].files.recording;
    const QString name = replaceExtension(fileNamePart(first), u"_joined.wav"_s);
    const QString folder = folderPart(first);
    return folder.isEmpty() ? name : folder + u'/' + name;
}

void GlueJob::glue(const QString &path)
{
    checkReadyToGlue();
    if (path.isEmpty())
        return;
    checkNotAnInput(path, u"Glue would overwrite the opened file \"%1\". Nothing was glued."_s);

    // The recordings are joined before anything of the job changes: a front
    // end may join them on another thread, and a cancel leaves the job as it was.
    JoinedRecording recording = joinRecordingFiles(path);
    clearUpperVectorState();
    const QString count = partsListed ? QString::number(partCount()) : u"two"_s;
    log(partsListed ? u"Make one Wav-file from %1 parts"_s.arg(count) : u"Make one Wav-file from two"_s);
    takeJoinedRecording(path, std::move(recording));
    log(u"Combining the %1 CTMs"_s.arg(count));
    joinWordLists();
    warnAboutWords();
    log(u"Combining the %1 Texts"_s.arg(count));
    showJoinedText();
    log(u"Make Phrases"_s);
    makePhrases();
    log(u"Make SRT"_s);
    makeSrt();
    log(u"Make Word-like transcription"_s);
    makeTranscript();
    derivedStale = false;
    dropReview();
    setUnsaved(true);
    person.glued();
}

void GlueJob::dropGlue()
{
    if (!isGlued())
        return;
    joined.release(parts);
    placed.clear();
    person.partsChanged();
    person.wordRowsReplaced(WordTable::Main);
    if (!parts[1].rows.empty())
        person.wordRowsChanged(WordTable::PartTwo, 0, static_cast<int>(parts[1].rows.size()) - 1);
    showPartText(0);
    phrases = {};
    person.phraseRowsReplaced();
    cueList = CueList();
    srt = QStringList();
    transcript = QStringList();
    for (TextView view : {TextView::Subtitles, TextView::Transcript}) {
        textRef(view) = QStringList();
        reportText(view);
    }
    // Save has nothing to write until the next Glue.
    named = GlueOutputs();
    dropReview();
    log(u"A file was opened after Glue: the glued result is dropped. Glue makes it again."_s);
    setUnsaved(false);
}

// --- Recordings ---------------------------------------------------------------------------

GlueJob::JoinedRecording GlueJob::joinRecordingFiles(const QString &path)
{
    // What the join needs of the job is copied here, on the job's thread.
    JoinedRecording joinedRecording;
    const std::size_t n = partsListed ? static_cast<std::size_t>(partCount()) : 2;
    for (std::size_t k = 0; k < n; ++k) {
        JoinPart part;
        part.path = parts[k].files.recording;
        part.gapFrames = parts[k].gapMs * 16;
        joinedRecording.parts.push_back(std::move(part));
    }
    const ChannelChoice channels = settings.channels;
    try {
        person.runLongStep(u"Joining the recordings"_s, [&](Progress &progress) {
            for (const JoinPart &part : joinedRecording.parts)
                requireRegularFile(part.path);
            // The join sets each count as soon as it is known, also when it
            // fails later; the counts it reached stay in the job either way.
            joinedRecording.reached = true;
            joinedRecording.total = joinParts(path, joinedRecording.parts, channels, &joinedRecording.warnings,
                                              [&progress](qint64 done, qint64 total) { progress.report(done, total); });
        });
    } catch (const Cancelled &) {
        throw;
    } catch (...) {
        joinedRecording.failure = std::current_exception();
    }
    return joinedRecording;
}

void GlueJob::takeJoinedRecording(const QString &path, JoinedRecording recording)
{
    if (recording.reached) {
        for (std::size_t k = 0; k < recording.parts.size(); ++k)
            if (recording.parts[k].frames >= 0)
                parts[k].frames = recording.parts[k].frames;
    }
    if (recording.failure)
        std::rethrow_exception(recording.failure);
    joinedFrameCount = recording.total;
    placed = std::move(recording.parts);
    nameOutputs(path);
    logJoin();
    for (const QString &warning : recording.warnings)
        log(u"Warning: "_s + warning);
    if (!partsListed) {
        log(u"Samples to add is "_s + QString::number(placed[1].firstFrame));
        log(u"Time to add is "_s + QString::number(partOffset(1)) + u"ms"_s);
    }
    person.partsChanged();
}

// The log lines of the join: the recordings read, the one written and, for a
// glue of parts, where each part starts.
void GlueJob::logJoin()
{
    const int n = static_cast<int>(placed.size());
    log(partsListed ? u"Reading %1 wavfiles:"_s.arg(n) : u"Reading two wavfiles:"_s);
    for (int k = 0; k < n; ++k) {
        const JoinPart &part = placed[static_cast<std::size_t>(k)];
        log(u"%1: %2 (%3)"_s.arg(k + 1).arg(part.path).arg(part.frames));
    }
    log(u"Writting into wavfile:"_s);
    log(u"W: "_s + named.recording + u" ("_s + QString::number(joinedFrameCount) + u')');
    if (!partsListed)
        return;
    for (int k = 0; k < n; ++k) {
        const JoinPart &part = placed[static_cast<std::size_t>(k)];
        QString line = u"Part %1 starts at frame %2: time to add is %3ms"_s.arg(k + 1).arg(part.firstFrame).arg(
            partOffset(static_cast<std::size_t>(k)));
        if (k + 1 < n && part.gapFrames > 0)
            line += u", then %1ms of silence"_s.arg(part.gapFrames / 16);
        log(line);
    }
}

// The outputs are named after the joined recording once it is written.
void GlueJob::nameOutputs(const QString &path)
{
    named = GlueOutputs();
    named.recording = path;
    named.text = replaceExtension(path, u".txt"_s);
    named.wordFile = replaceExtension(path, u".ctm"_s);
    if (partsListed)
        named.partMap = replaceExtension(path, u".parts.tsv"_s);
    person.outputsWritten();
}

std::vector<std::int64_t> GlueJob::partStartsMs() const
{
    std::vector<std::int64_t> starts;
    for (std::size_t k = 0; k < placed.size(); ++k)
        starts.push_back(partOffset(k));
    return starts;
}

// The shift of part index's times: where it starts in the joined recording.
std::int64_t GlueJob::partOffset(std::size_t index) const
{
    return msAt16k(placed[index].firstFrame);
}

// --- Word list and texts --------------------------------------------------------------------

void GlueJob::joinWordLists()
{
    // The joined list is built from the parts afresh: a second Glue first
    // gives the rows back to their parts.
    const bool again = isGlued();
    joined.release(parts);
    const std::size_t first = parts[0].rows.size();
    const std::size_t second = parts[1].rows.size();
    const std::vector<std::int64_t> starts = partStartsMs();
    joined.join(parts, starts);
    derivedStale = true; // until the steps after the join have built them
    const std::size_t added = joined.rows().size() - first;
    if (again)
        person.wordRowsReplaced(WordTable::Main);
    else if (added > 0)
        person.wordRowsAppended(WordTable::Main, static_cast<int>(first), static_cast<int>(added));
    // The second table shows the joined list's rows of part 2, without a copy.
    if (second > 0)
        person.wordRowsChanged(WordTable::PartTwo, 0, static_cast<int>(second) - 1);
}

void GlueJob::warnAboutWords()
{
    // Every part's words are judged against its own recording, in the times
    // they were read with.
    WordWarnings warnings;
    for (std::size_t k = 0; k < placed.size(); ++k) {
        const Part &part = parts[k];
        const std::span<const WordRow> rows = joined.partRows(k);
        const std::int64_t shift = partOffset(k);
        warnings.startFile(part.files.wordFile, static_cast<int>(k + 1), msAt16k(placed[k].joinedFrames));
        if (part.alternations > 0)
            warnings.alternations(part.alternations, part.firstAlternation);
        if (part.untimedWords > 0)
            warnings.untimed(part.untimedWords, part.firstUntimed);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const WordRow &row = rows[i];
            // A cell typed in another form than its number's is no time to judge.
            if (row.isTyped(WordRow::Start) || row.isTyped(WordRow::End))
                continue;
            const std::int32_t line = part.lines.size() == rows.size() ? part.lines[i] : static_cast<std::int32_t>(i + 1);
            warnings.word(line, shiftedTime(row.start, -shift), shiftedTime(row.end, -shift));
        }
    }
    for (const QString &line : warnings.lines())
        log(line);
}

// The joined text with a mark of each part's start before the part's lines.
QStringList GlueJob::markedText() const
{
    QStringList lines;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        lines.append(TranscriptBuilder::partMark(static_cast<int>(k + 1), partOffset(k)));
        lines.append(parts[k].text);
    }
    return lines;
}

// --- Phrases, SRT and transcript ----------------------------------------------------------------

void GlueJob::makePhrases()
{
    log(u"Start making Phrases"_s);
    phrases = buildPhrases(joined.rows(), settings);
    person.phraseRowsReplaced();
    // A phrase too long for two subtitle lines comes from words without
    // punctuation: once, say so and what helps.
    for (const PhraseRow &phrase : phrases) {
        if (phrase.text.size() > 190) {
            log(u"Warning: phrase %1 is longer than 190 characters; to cut unpunctuated words into shorter "
                u"phrases, turn on \"End phrases at pauses of at least N ms\" on the Settings tab (--pause-ends-phrase MS)"_s
                    .arg(phrase.number));
            break;
        }
    }
    log(u"Ready making Phrases"_s);
}

void GlueJob::makeSrt()
{
    log(u"Start making SRT"_s);
    textRef(TextView::Subtitles).clear();
    reportText(TextView::Subtitles);
    srt.clear();

    makeCues(cueList, joined.rows(), phrases, settings);
    srt = cueList.srtLines();

    // The view shows the very lines Save writes: one list, shared.
    textRef(TextView::Subtitles) = srt;
    reportText(TextView::Subtitles);
    log(u"Ready making SRT"_s);
}

void GlueJob::makeTranscript()
{
    log(u"Start making Word-file"_s);
    named.transcript = replaceExtension(named.text, u"_word.txt"_s);
    transcript = TranscriptBuilder::cleanUp(partsListed ? markedText() : text(TextView::Text1));
    clearUpperVectorState(); // the clean-up hashes QStrings: see vectorstate.h

    QStringList &lines = textRef(TextView::Transcript);
    lines.clear();
    try {
        TranscriptBuilder::writeTranscript(transcript, fileNamePart(named.transcript), lines);
    } catch (...) {
        // The view keeps the lines written so far, as the person sees them.
        reportText(TextView::Transcript);
        throw;
    }
    reportText(TextView::Transcript);
    transcript = lines;
    log(u"Ready making Word-file"_s);
}

void GlueJob::rebuildDerived()
{
    if (!isGlued())
        return;
    quiet = true;
    try {
        makePhrases();
        makeSrt();
        makeTranscript();
    } catch (...) {
        quiet = false;
        throw;
    }
    quiet = false;
    derivedStale = false;
    dropReview();
}

CueCheck GlueJob::subtitleCheck() const
{
    return checkCues(cueList.cues, settings.profile(), settings.framesPerSecond, cueList.markup, u'|');
}

int GlueJob::phraseShowing(std::int64_t ms) const
{
    // Phrases follow each other: the first that ends after ms.
    const auto found = std::partition_point(phrases.begin(), phrases.end(),
                                            [ms](const PhraseRow &phrase) { return phrase.end <= ms; });
    return found == phrases.end() ? -1 : static_cast<int>(found - phrases.begin());
}
