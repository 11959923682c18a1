// The Glue command and its steps: the join of the recordings, the word
// tables and the texts, then the phrases, the SRT and the transcript.

#include "job/gluejob.h"

#include "base/numbers.h"
#include "base/paths.h"
#include "base/twothreads.h"
#include "formats/transcriptbuilder.h"
#include "formats/wav.h"
#include "job/phrasebuilder.h"
#include "job/vectorstate.h"
#include "job/wordrowfill.h"
#include "job/wordwarnings.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

using namespace Qt::Literals::StringLiterals;

void GlueJob::glue()
{
    clearUpperVectorState();
    log(u"Make one Wav-file from two"_s);
    joinRecordings();
    log(u"Samples to add is "_s + QString::number(sampleOffset));
    log(u"Time to add is "_s + QString::number(timeOffset) + u"ms"_s);
    log(u"Combining the two CTMs"_s);
    const std::size_t part1Rows = wordTable1.size();
    joinWordLists();
    warnAboutWords(part1Rows);
    log(u"Combining the two Texts"_s);
    joinTexts();
    log(u"Make Phrases"_s);
    makePhrases();
    log(u"Make SRT"_s);
    makeSrt();
    log(u"Make Word-like transcription"_s);
    makeTranscript();
    selectTab(Tab::WordTable1);
}

// --- Recordings ---------------------------------------------------------------------------

void GlueJob::joinRecordings()
{
    timeOffset = sampleOffset = frames1 = frames2 = joinedFrames = -1;

    // Only a proposal: a cancelled dialog leaves the names of the last join.
    const QString path = person.chooseFileToSave(SaveFilter::Recording, folderPart(recordingPath1),
                                                 fileNamePart(recordingPath1));
    if (path.isEmpty())
        return;
    joinedRecordingPath = path;
    joinedTextPath = replaceExtension(joinedRecordingPath, u".txt"_s);
    joinedWordFilePath = replaceExtension(joinedRecordingPath, u".ctm"_s);

    setStatus(StatusLine::Line1, joinedWordFilePath);
    setStatus(StatusLine::Line2, QString());
    setStatus(StatusLine::Line3, joinedTextPath);
    setStatus(StatusLine::Line4, QString());
    setStatus(StatusLine::Line5, u"Saved: "_s + joinedRecordingPath);
    setStatus(StatusLine::Line6, QString());

    // joinWavs sets each count as soon as it is known, also when it throws
    // later; the counts it reached stay in the job either way.
    qint64 total = joinedFrames, count1 = frames1, count2 = frames2, start2 = -1;
    const auto takeCounts = [&] {
        joinedFrames = total;
        frames1 = count1;
        frames2 = count2;
    };
    bool joined = false;
    try {
        joined = joinWavs(joinedRecordingPath, recordingPath1, recordingPath2, total, count1, count2,
                          start2);
    } catch (...) {
        takeCounts();
        throw;
    }
    takeCounts();
    if (!joined)
        return;
    log(u"Reading two wavfiles:"_s);
    log(u"1: "_s + recordingPath1 + u" ("_s + QString::number(frames1) + u')');
    log(u"2: "_s + recordingPath2 + u" ("_s + QString::number(frames2) + u')');
    log(u"Writting into wavfile:"_s);
    log(u"W: "_s + joinedRecordingPath + u" ("_s + QString::number(joinedFrames) + u')');
    // Part 2 starts where part 1 ends in the joined 16 kHz file: 16 frames a
    // millisecond, whatever rate recording 1 was made at.
    sampleOffset = start2;
    timeOffset = roundHalfEven(static_cast<double>(sampleOffset) / 16.0);
}

// --- Word tables and texts --------------------------------------------------------------------

void GlueJob::joinWordLists()
{
    const std::size_t a = wordTable1.size();
    const std::size_t b = wordTable2.size();
    if (b == 0)
        return;
    // The rows come from the words as read, not from the cells of table 2:
    // hand edits there do not reach the result, and a second Glue does not
    // shift twice. A row of table 2 beyond the words of part 2 (left by a
    // read that failed part-way) becomes an empty word at the offset.
    wordTable1.resize(a + b);
    fillWordRows(std::span(wordTable1).subspan(a), part2Words, static_cast<std::int64_t>(a) + 1,
                 timeOffset);
    // Table 2 shows the same rows; their texts are shared with table 1.
    const auto copyRows = [&](std::size_t from, std::size_t to) {
        std::copy(wordTable1.begin() + static_cast<std::ptrdiff_t>(a + from),
                  wordTable1.begin() + static_cast<std::ptrdiff_t>(a + to),
                  wordTable2.begin() + static_cast<std::ptrdiff_t>(from));
    };
    if (b < 100000)
        copyRows(0, b);
    else
        runOnTwoThreads([&] { copyRows(0, b / 2); }, [&] { copyRows(b / 2, b); });
    person.wordRowsAppended(WordTable::First, static_cast<int>(a), static_cast<int>(b));
    person.wordRowsChanged(WordTable::Second, 0, static_cast<int>(b) - 1);
}

void GlueJob::warnAboutWords(std::size_t part1Rows)
{
    WordWarnings warnings(timeOffset);
    warnings.startFile(wordFilePath1, 1);
    for (std::size_t i = 0; i < part1Rows && i < wordTable1.size(); ++i) {
        const WordRow &row = wordTable1[i];
        // A cell typed in another form than its number's is no time to judge.
        if (row.isTyped(WordRow::Start) || row.isTyped(WordRow::End))
            continue;
        const std::int32_t line = part1Lines.size() == part1Rows ? part1Lines[i] : static_cast<std::int32_t>(i + 1);
        warnings.word(line, row.start, row.end);
    }
    warnings.startFile(wordFilePath2, 2);
    for (const Word &w : part2Words)
        warnings.word(w.line, w.start, w.end);
    for (const QString &line : warnings.lines())
        log(line);
}

void GlueJob::joinTexts()
{
    textRef(TextView::Text1).append(text(TextView::Text2));
    reportText(TextView::Text1);
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
    transcriptLines = TranscriptBuilder::cleanUp(text(TextView::Text1));
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
    setStatus(StatusLine::Line3, u"Word-file: "_s + transcriptPath);
    log(u"Ready making Word-file"_s);
}
