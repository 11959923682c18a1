#pragma once

#include "formats/cuecheck.h"
#include "formats/annotatedinterview.h"
#include "formats/cuelist.h"
#include "formats/interviewfile.h"
#include "formats/joinpart.h"
#include "formats/word.h"
#include "formats/wordrow.h"
#include "job/correction.h"
#include "job/gluesettings.h"
#include "job/joinedwords.h"
#include "job/part.h"
#include "job/partrow.h"
#include "job/person.h"
#include "job/phraserow.h"
#include "job/reviewlist.h"
#include "job/textsearch.h"
#include "job/viewparts.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <exception>
#include <optional>
#include <span>
#include <utility>
#include <vector>

// The files Glue and Save write, named after the joined recording.
struct GlueOutputs
{
    QString recording, text, wordFile, srt, transcript, page;
    QString partMap; // a glue of parts only
    QStringList also; // what the setting "Also write" asked Save for (alsoWrittenFiles)
};

// The glue job: one interview, its list of parts and the commands that open
// a part's files, glue the parts and save the results. It owns plain rows
// (the word tables and the phrase table) and the lines of the text views; it
// reaches the person only through Person. The window, the command line and
// the tests all drive this one class. Commands take paths: asking the
// person for one is the front end's business.
//
// The interview is a list of parts, two at least; the Open commands fill
// parts 1 and 2. Every Glue builds the result from the parts afresh: while
// glued, the parts' rows lie in the joined list (JoinedWords), so an edit
// of the result is an edit of its part and the next Glue keeps it. The
// phrases, the SRT and the Word-like transcript are derived from the words,
// the texts and the settings, and are built again whenever those change.
//
// Two parts opened through the six Open commands glue the classic way; a
// list of parts changed through the Parts commands glues as parts: the same
// join, with part lines in the log, part marks in the transcript and the
// WebVTT file, part headings on the standalone page, and a part map.
//
// Every command throws Error with the message the person sees; whatever the
// command changed before the error stays changed.
class AtomicFile;
struct WordFileFormat;
struct WordFileRead;

class GlueJob
{
public:
    // The job in its start-up state.
    explicit GlueJob(Person &person);
    GlueJob(const GlueJob &) = delete;
    GlueJob &operator=(const GlueJob &) = delete;

    // --- Commands ---------------------------------------------------------------
    // Open a file of part 1 or 2 (the Open menu) or of any part of the list
    // (counted from 1). A path that names no regular file is refused as
    // Open refuses it; a word file whose path names no regular file reads
    // the one held from before again.
    void openWordFile(int part, const QString &path);
    // Whether Open keeps a word file's bytes for a read with other settings
    // (true, the window's case); a front end whose settings never change
    // after Open saves the memory (55 bytes a word of an aligner's file).
    bool holdsWordFiles = true;
    void openText(int part, const QString &path);
    void openRecording(int part, const QString &path);
    // Throws the message that says what Glue still needs, when it needs anything.
    void checkReadyToGlue() const;
    // The name Glue proposes for the joined recording: recording 1's name
    // with "_joined.wav", in its folder (never recording 1 itself).
    QString proposedJoinedRecording() const;
    // Joins the parts' recordings into path and builds every result from
    // them. path may not be one of the opened inputs.
    void glue(const QString &path);
    // Throws the message that says why nothing can be saved yet.
    void checkReadyToSave() const;
    // The files Save writes when the SRT file is srtPath, in the order it
    // writes them: the SRT file, the word file, the text, the karaoke page,
    // the Word-like transcript, for a glue of parts the part map, the files
    // "Also write" asks for, and the interview file when one is named.
    QStringList savePaths(const QString &srtPath, const QString &interviewPath = {}) const;
    // The SRT name Save proposes: the joined recording's, with ".srt".
    QString proposedSrtPath() const;
    // Writes the SRT at srtPath and the other results next to the joined
    // recording, and with interviewPath the interview file there too (all
    // replaced together). None of them may be an opened input.
    void save(const QString &srtPath, const QString &interviewPath = {});
    // Writes the cues of the SRT building as WebVTT; cues and srtLines stay.
    // A glue of parts puts "NOTE Part k" before the first cue of part k >= 2.
    void saveWebVtt(const QString &path);
    // --- The interview file (formats/interviewfile.h) ------------------------------
    // Writes the interview, with every correction, to path, which then names
    // it; the inputs are never touched. Paths are written relative to its folder.
    void saveInterview(const QString &path);
    // Replaces the job by the interview read from path (job/interviewinputs.h:
    // readInterview, with any moved input located since). When the joined
    // recording of its last Glue is still there with the frames it had, the
    // result is shown again without a join; otherwise the parts are shown
    // and Glue makes it. An interview opened as saved holds no unsaved work
    // afterwards; a recovered one (a copy of corrections never saved) does.
    // An empty file with an empty path is a new interview (the settings stay).
    enum class OpenedAs { Saved, Recovered };
    void openInterview(InterviewFile file, const QString &path, OpenedAs as = OpenedAs::Saved);
    // The interview as an interview file holds it, its paths relative to
    // folder (absolute for an empty folder); with copyRows the rows are
    // copied in (for a writer on another thread), else left empty.
    InterviewFile interviewSnapshot(const QString &folder, bool copyRows) const;
    // Part part's rows as the interview file holds them: while glued, its
    // span of the joined list and the shift to take off.
    InterviewRows interviewRows(std::size_t part) const;
    std::size_t interviewPartCount() const { return parts.size(); }
    // Writes the interview file for path into out (not committed).
    void writeInterview(AtomicFile &out, const QString &path) const;
    // The interview file the job was opened from or saved to last; empty for none.
    const QString &interviewPath() const { return interviewFile; }
    // The interview file Save writes beside the results: the joined recording's name with ".naadwerk".
    QString proposedInterviewPath() const;
    // A setting changed: after Glue the derived views are built again.
    void settingsChanged();
    // Builds the phrases, the SRT and the transcript again from the glued
    // words, texts and settings, and drops the review list to be made
    // again; nothing before Glue. No log lines: the log tells what the
    // commands did.
    void rebuildDerived();
    // Puts the transcript's word, as the transcript writes it, into every
    // unknown-word row the review list can fill without doubt (see
    // ReviewList::fills), keeping its times, and marks it filled; returns
    // the correction (one splice a row), which undoCorrection takes back as
    // one step. The words keep their confidence: the person has not looked
    // at them yet. Nothing before Glue.
    Correction fillUnknownWords();

    GlueSettings settings;

    // --- Parts ------------------------------------------------------------------
    // Any change of the list (add, remove, move, gap) makes the glue one of
    // parts. Every change of the list drops a glued result, as opening a file
    // does; a list emptied by removePart glues the classic way again.
    // Indexes count from 0; the person sees part index + 1.
    // Reads the part's files (an empty path leaves that file out: a part
    // without words or text) before anything changes; the gap is the
    // silence after the part in the joined recording.
    void addPart(const PartFiles &files, std::int64_t gapMs = 0);
    // Adds the parts of a list file (see parsePartList), in its order.
    void addPartList(const QString &path);
    // Adds parts from files chosen or dropped together: a list file (".tsv")
    // adds its parts; the other files are told apart by their extension,
    // word files (".ctm", ".spk"), texts (".txt") and recordings (any other),
    // and the first of each kind make a part, the second the next part, and
    // so on, in the order given.
    void addPartFiles(const QStringList &paths);
    void removePart(int index);
    // Moves part index to position to; the parts between move up one place.
    void movePart(int index, int to);
    void setPartGap(int index, std::int64_t gapMs);
    // The parts that have a file, counted up to the last such part (at most
    // the list's length).
    int partCount() const;
    const Part &part(int index) const { return parts[static_cast<std::size_t>(index)]; }
    PartRow partRow(int index) const;
    // True once the list of parts was changed (see above).
    bool gluesParts() const { return partsListed; }
    // A part's words as its table shows them (after Glue: shifted, as in the
    // joined list) and its text.
    std::span<const WordRow> partWordRows(int index) const;
    const QStringList &partText(int index) const;
    void setPartWordCell(int index, int row, WordRow::Column column, const QString &text);
    void setPartText(int index, const QStringList &lines);
    // Empty before Glue; after Glue the start in ms of every part in the
    // joined recording.
    std::vector<std::int64_t> partStartsMs() const;
    // After Glue: each part and its place in the joined recording.
    const std::vector<JoinPart> &placedParts() const { return placed; }
    // After Glue: the frames of the joined recording.
    std::int64_t joinedFrames() const { return joinedFrameCount; }

    // --- Rows and texts the views show --------------------------------------
    // The main table shows part 1 before Glue and the joined list after; the
    // second shows part 2 (after Glue: its part of the joined list).
    std::span<const WordRow> wordRows(WordTable table) const;
    const std::vector<PhraseRow> &phraseRows() const { return phrases; }
    // After Glue: the doubtful spots of the glued interview, in the joined
    // list's rows and times; made when first asked for after the derived
    // views were built, so a Glue nobody reviews does not pay for it.
    // Empty before Glue.
    const ReviewList &review() const;
    // The problems of the subtitles under the settings' profile, in the
    // order of the cues; none before Glue.
    CueCheck subtitleCheck() const;
    // The phrase (its row, from 0) a cue starting at ms shows: the first
    // one still spoken then; -1 when none is.
    int phraseShowing(std::int64_t ms) const;
    // A person's edit of one cell; the table notices it as a changed row. A
    // cell outside the table is left alone. (correctWordCell, for the undo.)
    void setWordCell(WordTable table, int row, WordRow::Column column, const QString &text)
    {
        (void)correctWordCell(table, row, column, text);
    }
    void setPhraseCell(int row, PhraseRow::Column column, const QString &text);
    // Replaces a whole table (a paste, an import, a test's fixture); the table
    // notices it as replaced.
    void setWordRows(WordTable table, std::vector<WordRow> rows);
    void setPhraseRows(std::vector<PhraseRow> rows);

    // The lines of a text view. A front end that lets the person edit a view
    // writes the edited lines back with setText before the next command.
    // After Glue, Text1 shows the joined text: an edit of it goes back to
    // the text of the part each changed line belongs to.
    const QStringList &text(TextView view) const;
    void setText(TextView view, const QStringList &lines);
    // True from a successful Glue until another file is opened.
    bool isGlued() const { return joined.isJoined(); }
    // Corrections (before or after Glue), a Glue result, or settings
    // changed after Glue, that no Save and no saved interview holds.
    bool hasUnsavedWork() const { return unsaved; }

    // --- Corrections ------------------------------------------------------------
    // Each command makes its correction and returns it, empty when nothing
    // changed; undoCorrection takes it back and redoCorrection makes it
    // again, bit for bit (typed cells, numbers, the parts' texts), whatever
    // Glues came between. Rows are named as the table shows them; after
    // Glue the derived views are stale until rebuildDerived.
    //
    // One cell, typed as the table shows it. A changed text confirms the
    // word: its confidence becomes 1.00.
    Correction correctWordCell(WordTable table, int row, WordRow::Column column, const QString &text);
    // The lines of Text1 or Text2 (see setText); another view is set as
    // setText sets it, with nothing to undo.
    Correction correctText(TextView view, const QStringList &lines);
    // An empty word before or after a row, between its neighbours' times.
    Correction insertWord(WordTable table, int row, bool after);
    // count rows from first on; a stretch may span parts after Glue.
    Correction deleteWords(WordTable table, int first, int count);
    // A row and the next of its part as one word. Throws for a part's last row.
    Correction mergeWithNext(WordTable table, int row);
    // A row cut at the blanks of its text (see splitWord). Throws when the
    // text has no blank.
    Correction splitWordAtBlanks(WordTable table, int row);
    // Every word of speaker from, in part (from 0) or in every part (-1).
    Correction renameSpeaker(const QString &from, const QString &to, int part);
    // Replaces every match in the word rows' texts (confirming the words
    // changed) and in the parts' texts.
    Correction replaceAll(const TextSearch &search, const QString &with);
    void undoCorrection(const Correction &correction);
    void redoCorrection(const Correction &correction);
    // How often search matches in the words, the texts and the phrases.
    MatchCounts countMatches(const TextSearch &search) const;
    // The part (from 0) and its row that a table's row shows.
    std::pair<std::size_t, std::size_t> partRowOf(WordTable table, int row) const;
    // The person is back at what Save wrote last (the window's undo stack
    // returned to it): no unsaved work.
    void returnToSaved();

    // --- Results ------------------------------------------------------------------
    const GlueOutputs &outputs() const { return named; }
    // The cues of the last SRT building and the SRT lines they gave.
    const CueList &cues() const { return cueList; }
    const QStringList &srtLines() const { return srt; }
    // The Word-like transcript's lines, as Save writes them.
    const QStringList &transcriptLines() const { return transcript; }
    // The separator and layout the joined word file is written with: those
    // of the word file read last.
    QChar joinedSeparator() const { return separatorOut; }
    WordFileLayout joinedLayout() const { return layoutOut; }

private:
    // Open.
    WordFileFormat wordFileFormat() const;
    // The words of a part's word file, read in the settings' format.
    WordFileRead readWords(const QByteArray &bytes, const QString &path) const;
    Part &openedPart(int part);
    void takeOpened(QString &slot, const QString &path, const std::exception_ptr &failure);
    // Glue.
    struct JoinedRecording;
    JoinedRecording joinRecordingFiles(const QString &path);
    void takeJoinedRecording(const QString &path, JoinedRecording joined);
    void logJoin();
    void joinWordLists();
    void warnAboutWords();
    void makePhrases();
    void makeSrt();
    void makeTranscript();
    void dropGlue();
    void dropReview();
    void nameOutputs(const QString &path);
    // The interview file.
    bool joinedRecordingStillThere(const InterviewFile &file) const;
    void showOpenedParts();
    void showGlueAgain(const InterviewFile &file);
    // Save.
    void writeJoinedWordFile(AtomicFile &out, const QString &path) const;
    void writeJoinedPage(AtomicFile &out) const;
    // The joined words and phrases as the annotation files hold them.
    AnnotatedInterview annotatedInterview() const;
    QStringList partMapLines() const;
    bool wordFileWithSpeaker() const;
    // Corrections.
    std::vector<WordRow> partRowsAsRead(std::size_t k, std::size_t first, std::size_t count) const;
    RowSplice makeSplice(std::size_t k, std::size_t first, std::size_t count, std::vector<WordRow> after) const;
    void applySplice(const RowSplice &splice, bool forward);
    void reportSplice(std::size_t k, std::size_t first, std::size_t count, bool moved);
    template <typename Change>
    void spliceRuns(Correction &correction, std::size_t k, const Change &change);
    std::vector<QStringList> partTexts() const;
    void putPartTexts(const std::vector<QStringList> &all);
    Correction made(Correction correction);
    void noteCorrection(const Correction &correction);
    // Notices.
    void log(const QString &line);
    QStringList &textRef(TextView view);
    void reportText(TextView view);
    void reportPartRows(int index);
    void setUnsaved(bool value);
    void noteEdit(); // after Glue: unsaved, and the derived views are stale
    void checkNotAnInput(const QString &path, const QString &message) const;
    void splitJoinedText(const QStringList &lines);
    void showJoinedText();
    void showPartText(int index);
    void listChanged();
    std::int64_t partOffset(std::size_t index) const;
    QStringList markedText() const;

    Person &person;
    // The interview: every part, two at least.
    std::vector<Part> parts;
    bool partsListed = false;
    // After Glue: the joined words, where each part lies in the joined
    // recording, and that recording's frames.
    JoinedWords joined;
    std::vector<JoinPart> placed;
    std::int64_t joinedFrameCount = 0;
    QChar separatorOut = u' ';
    WordFileLayout layoutOut = WordFileLayout::Aligner;
    GlueOutputs named;
    CueList cueList;
    QStringList srt;
    QStringList transcript;
    bool unsaved = false;
    QString interviewFile;
    bool quiet = false; // the derived views are rebuilt without log lines
    // Words, texts or settings changed since the derived views were built.
    bool derivedStale = false;
    std::vector<PhraseRow> phrases;
    mutable std::optional<ReviewList> reviewMade;
    std::array<QStringList, textViewCount> texts;
};
