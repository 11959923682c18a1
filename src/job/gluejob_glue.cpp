// The Glue command and its steps: the join of the recordings, the word
// tables and the texts, then the phrases, the SRT and the transcript.

#include "job/gluejob.h"

#include "base/cancelled.h"
#include "base/error.h"
#include "base/numbers.h"
#include "base/paths.h"
#include "base/twothreads.h"
#include "formats/filebytesource.h"
#include "formats/transcriptbuilder.h"
#include "job/phrasebuilder.h"
#include "job/vectorstate.h"
#include "job/wordrowfill.h"
#include "job/wordwarnings.h"

#include <QScopeGuard>

#include <algorithm>
#include <cstdlib>
#include <utility>

using namespace Qt::Literals::StringLiterals;

void GlueJob::glue()
{
    // Both recordings must have been chosen: without them there is nothing
    // to name the result after, nor an offset for half 2.
    if (partsMode)
        checkPartRecordings();
    else if (recordingPath1.isEmpty() || recordingPath2.isEmpty())
        throw Error(u"Open both recordings before Glue."_s);
    // WAV 1's own name is never proposed: accepting it would replace an input.
    const QString path = person.chooseFileToSave(
        SaveFilter::Recording, folderPart(recordingPath1),
        replaceExtension(fileNamePart(recordingPath1), u"_joined.wav"_s));
    if (path.isEmpty())
        return; // a cancel leaves everything as it was
    checkNotAnInput(path, u"Glue would overwrite the opened file \"%1\". Nothing was glued."_s);

    // The recordings are joined before anything of the job changes: a front
    // end may join them on another thread, and a cancel leaves the job as it was.
    const JoinedRecording joined = joinRecordingFiles(path);
    clearUpperVectorState();
    const QString count = partsMode ? QString::number(partCount()) : u"two"_s;
    if (partsMode) {
        log(u"Make one Wav-file from %1 parts"_s.arg(count));
        takeJoinedParts(path, joined);
    } else {
        log(u"Make one Wav-file from two"_s);
        takeJoinedRecording(path, joined);
        log(u"Samples to add is "_s + QString::number(sampleOffset));
        log(u"Time to add is "_s + QString::number(timeOffset) + u"ms"_s);
    }
    log(u"Combining the %1 CTMs"_s.arg(count));
    const std::size_t part1Rows = glued ? half1Rows : wordTable1.size();
    joinWordLists();
    warnAboutWords(part1Rows);
    log(u"Combining the %1 Texts"_s.arg(count));
    joinTexts();
    log(u"Make Phrases"_s);
    makePhrases();
    log(u"Make SRT"_s);
    makeSrt();
    log(u"Make Word-like transcription"_s);
    makeTranscript();
    selectTab(Tab::WordTable1);
    derivedStale = false;
    setUnsaved(true);
}

void GlueJob::dropGlue()
{
    if (!glued)
        return;
    glued = false;
    wordTable1.resize(half1Rows);
    partRowStarts.clear();
    placedParts.clear();
    person.partsChanged();
    person.wordRowsReplaced(WordTable::First);
    if (!wordTable2.empty())
        person.wordRowsChanged(WordTable::Second, 0, static_cast<int>(wordTable2.size()) - 1);
    textRef(TextView::Text1) = halfTexts[0];
    reportText(TextView::Text1);
    phrases = {};
    person.phraseRowsReplaced();
    cues = CueList();
    srtLines = QStringList();
    transcriptLines = QStringList();
    for (TextView view : {TextView::Subtitles, TextView::Transcript}) {
        textRef(view) = QStringList();
        reportText(view);
    }
    // Save has nothing to write until the next Glue.
    joinedRecordingPath = joinedTextPath = joinedWordFilePath = srtPath = transcriptPath =
        karaokePath = partMapPath = QString();
    log(u"A file was opened after Glue: the glued result is dropped. Glue makes it again."_s);
    setUnsaved(false);
}

// --- Recordings ---------------------------------------------------------------------------

namespace {

// A recording deleted or moved since it was opened.
void requireRegularFile(const QString &path)
{
    if (!isRegularFile(path))
        FileByteSource{path}; // throws "Cannot open file ..." with the system's reason
}

} // namespace

GlueJob::JoinedRecording GlueJob::joinRecordingFiles(const QString &path)
{
    // What the join needs of the job is copied here, on the job's thread.
    JoinedRecording joined;
    if (partsMode)
        joined.parts = partsToJoin();
    const QString input1 = recordingPath1;
    const QString input2 = recordingPath2;
    const ChannelChoice channels = settings.channels;
    try {
        person.runLongStep(u"Joining the recordings"_s, [&](Progress &progress) {
            const auto report = [&progress](qint64 done, qint64 total) { progress.report(done, total); };
            if (!joined.parts.empty()) {
                for (const JoinPart &part : joined.parts)
                    requireRegularFile(part.path);
                joined.reached = true;
                joined.total = joinParts(path, joined.parts, channels, &joined.warnings, report);
                return;
            }
            for (const QString &input : {input1, input2})
                requireRegularFile(input);
            // joinParts sets each part's counts as soon as they are known, also
            // when it throws later; the counts it reached stay in the job either way.
            joined.reached = true;
            std::vector<JoinPart> halves{{input1}, {input2}};
            const auto takeCounts = qScopeGuard([&joined, &halves] {
                joined.frames1 = halves[0].frames;
                joined.frames2 = halves[1].frames;
                joined.start2 = halves[1].firstFrame;
                if (halves[1].firstFrame >= 0)
                    joined.total = halves[1].firstFrame + halves[1].joinedFrames;
            });
            joinParts(path, halves, channels, &joined.warnings, report);
        });
    } catch (const Cancelled &) {
        throw;
    } catch (...) {
        joined.failure = std::current_exception();
    }
    return joined;
}

void GlueJob::takeJoinedRecording(const QString &path, const JoinedRecording &joined)
{
    if (joined.reached) {
        joinedFrames = joined.total;
        frames1 = joined.frames1;
        frames2 = joined.frames2;
    }
    if (joined.failure)
        std::rethrow_exception(joined.failure);
    const qint64 start2 = joined.start2;
    nameOutputs(path);

    log(u"Reading two wavfiles:"_s);
    log(u"1: "_s + recordingPath1 + u" ("_s + QString::number(frames1) + u')');
    log(u"2: "_s + recordingPath2 + u" ("_s + QString::number(frames2) + u')');
    log(u"Writting into wavfile:"_s);
    log(u"W: "_s + joinedRecordingPath + u" ("_s + QString::number(joinedFrames) + u')');
    for (const QString &warning : joined.warnings)
        log(u"Warning: "_s + warning);
    // Part 2 starts where part 1 ends in the joined 16 kHz file: 16 frames a
    // millisecond, whatever rate recording 1 was made at.
    sampleOffset = start2;
    timeOffset = roundHalfEven(static_cast<double>(sampleOffset) / 16.0);
}

// The outputs are named after the joined recording once it is written.
void GlueJob::nameOutputs(const QString &path)
{
    joinedRecordingPath = path;
    joinedTextPath = replaceExtension(joinedRecordingPath, u".txt"_s);
    joinedWordFilePath = replaceExtension(joinedRecordingPath, u".ctm"_s);
    partMapPath = partsMode ? replaceExtension(joinedRecordingPath, u".parts.tsv"_s) : QString();
    // Glue's status lines name only what Glue wrote.
    for (StatusLine line : {StatusLine::Line1, StatusLine::Line2, StatusLine::Line3,
                            StatusLine::Line4, StatusLine::Line6})
        setStatus(line, QString());
    setStatus(StatusLine::Line5, u"Saved: "_s + joinedRecordingPath);
}

// --- Word tables and texts --------------------------------------------------------------------

void GlueJob::joinWordLists()
{
    // The joined list is built from the halves: half 1's rows, then half 2's
    // shifted by the offset. A second Glue first cuts the list back to half 1.
    const bool again = glued;
    if (again)
        wordTable1.resize(half1Rows);
    const std::size_t a = wordTable1.size();
    const std::size_t b = wordTable2.size();
    half1Rows = a;
    glued = true;
    derivedStale = true; // until the steps after the join have built them
    joinPartRows();
    const std::size_t added = wordTable1.size() - a;
    // Table 2 shows the joined list's rows of half 2, without a copy.
    if (again)
        person.wordRowsReplaced(WordTable::First);
    else if (added > 0)
        person.wordRowsAppended(WordTable::First, static_cast<int>(a), static_cast<int>(added));
    if (b > 0)
        person.wordRowsChanged(WordTable::Second, 0, static_cast<int>(b) - 1);
}

void GlueJob::warnAboutWords(std::size_t part1Rows)
{
    // Recording 1 ends where part 2 starts, unless a gap of silence follows it.
    WordWarnings warnings(placedParts.empty() ? timeOffset : partRow(0).endMs);
    warnings.startFile(wordFilePath1, 1);
    for (std::size_t i = 0; i < part1Rows && i < wordTable1.size(); ++i) {
        const WordRow &row = wordTable1[i];
        // A cell typed in another form than its number's is no time to judge.
        if (row.isTyped(WordRow::Start) || row.isTyped(WordRow::End))
            continue;
        const std::int32_t line = part1Lines.size() == part1Rows ? part1Lines[i] : static_cast<std::int32_t>(i + 1);
        warnings.word(line, row.start, row.end);
    }
    // Half 2's own rows hold its times as read, before the shift.
    warnings.startFile(wordFilePath2, 2);
    for (std::size_t i = 0; i < wordTable2.size(); ++i) {
        const WordRow &row = wordTable2[i];
        if (row.isTyped(WordRow::Start) || row.isTyped(WordRow::End))
            continue;
        const std::int32_t line = part2Lines.size() == wordTable2.size() ? part2Lines[i] : static_cast<std::int32_t>(i + 1);
        warnings.word(line, row.start, row.end);
    }
    warnAboutMoreParts(warnings);
    for (const QString &line : warnings.lines())
        log(line);
}

void GlueJob::joinTexts()
{
    showJoinedText();
}

// --- Phrases, SRT and transcript ----------------------------------------------------------------

void GlueJob::makePhrases()
{
    log(u"Start making Phrases"_s);
    phrases = PhraseBuilder(settings.skipStarWords, settings.blankSilence,
                            settings.endPhrasesAtPauses ? settings.phrasePauseMs : 0)
                  .build(wordTable1);
    person.phraseRowsReplaced();
    // A phrase too long for two subtitle lines comes from words without
    // punctuation: once, say so and what helps.
    for (const PhraseRow &phrase : phrases) {
        if (phrase.text.size() > 190) {
            log(u"Warning: phrase %1 is longer than 190 characters; to cut unpunctuated words into shorter "
                u"phrases, turn on \"End phrases at pauses of at least N ms\" on the Settings tab"_s
                    .arg(phrase.number));
            break;
        }
    }
    log(u"Ready making Phrases"_s);
}

namespace {

// The milliseconds of a phrase's time cell, read as the SRT step has always
// read the cell's text: a decimal number, rounded half to even. A number cell
// beyond 2^53 goes the same way, since a double does not hold it exactly.
std::int64_t cueTime(const PhraseRow &phrase, PhraseRow::Column column)
{
    const std::int64_t ms = column == PhraseRow::Start ? phrase.start : phrase.end;
    constexpr std::int64_t exact = std::int64_t(1) << 53;
    if (!phrase.isTyped(column) && ms >= -exact && ms <= exact)
        return ms;
    return roundHalfEven(parseFloat(phrase.cell(column)));
}

} // namespace

void GlueJob::makeSrt()
{
    log(u"Start making SRT"_s);
    textRef(TextView::Subtitles).clear();
    reportText(TextView::Subtitles);
    srtLines.clear();

    // The cue list keeps the cues of an earlier building below the new
    // count; a bad cell ends the step with the cues before it rewritten.
    const std::size_t n = phrases.size();
    cues.cues.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        Cue &cue = cues.cues[i];
        cue.number = static_cast<std::int32_t>(i + 1);
        cue.start = cueTime(phrases[i], PhraseRow::Start);
        cue.end = cueTime(phrases[i], PhraseRow::End);
        cue.text = phrases[i].text;
    }
    cues.shape();
    if (settings.widenCues)
        cues.widen(settings.msBefore, settings.msAfter);
    srtLines = cues.srtLines();

    // The view shows the very lines Save writes: one list, shared.
    textRef(TextView::Subtitles) = srtLines;
    reportText(TextView::Subtitles);
    log(u"Ready making SRT"_s);
}

void GlueJob::makeTranscript()
{
    log(u"Start making Word-file"_s);
    transcriptPath = replaceExtension(joinedTextPath, u"_word.txt"_s);
    transcriptLines = TranscriptBuilder::cleanUp(partsMode ? markedText() : text(TextView::Text1));
    clearUpperVectorState(); // the clean-up hashes QStrings: see vectorstate.h

    QStringList &lines = textRef(TextView::Transcript);
    lines.clear();
    try {
        TranscriptBuilder::writeTranscript(transcriptLines, fileNamePart(transcriptPath), lines);
    } catch (...) {
        // The view keeps the lines written so far, as the person sees them.
        reportText(TextView::Transcript);
        throw;
    }
    reportText(TextView::Transcript);
    transcriptLines = lines;
    log(u"Ready making Word-file"_s);
}

void GlueJob::rebuildDerived()
{
    if (!glued)
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
}
