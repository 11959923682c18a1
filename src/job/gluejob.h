#pragma once

#include "formats/cuelist.h"
#include "formats/word.h"
#include "formats/wordrow.h"
#include "formats/joinpart.h"
#include "job/gluesettings.h"
#include "job/partinputs.h"
#include "job/partrow.h"
#include "job/person.h"
#include "job/phraserow.h"
#include "job/viewparts.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <exception>
#include <span>
#include <vector>

// The glue job: the state of one gluing and the commands that open the
// inputs, glue them and save the results. It owns plain rows (the word
// tables and the phrase table) and the lines of the text views; it reaches
// the person only through Person. The window, the command line and the tests
// all drive this one class.
//
// The job keeps the two halves as opened (the rows and texts with the
// person's edits to them) apart from the glued result. Every Glue builds the
// result from the halves afresh; an edit of the result goes back to the half
// it came from, so the next Glue keeps it. The phrases, the SRT and the
// Word-like transcript are derived from the words, the texts and the
// settings, and are built again from them whenever those change.
//
// Every command throws Error with the message the person sees; whatever the
// command changed before the error stays changed.
class AtomicFile;
class WordWarnings;

class GlueJob
{
public:
    // The job in its start-up state.
    explicit GlueJob(Person &person);
    GlueJob(const GlueJob &) = delete;
    GlueJob &operator=(const GlueJob &) = delete;

    // --- Commands (the menu items) ------------------------------------------
    void openWordFile(int part); // part 1 or 2
    void openText(int part);
    void openRecording(int part);
    void glue();
    void save();
    // Asks about unsaved work first (Save / Discard / Cancel); closes only
    // when that work is saved or discarded.
    void exit();
    // A setting changed: after Glue the derived views are built again.
    void settingsChanged();
    // Builds the phrases, the SRT and the transcript again from the glued
    // words, texts and settings; nothing before Glue. No log lines: the log
    // tells what the commands did.
    void rebuildDerived();

    GlueSettings settings;

    // --- Parts ----------------------------------------------------------------
    // A gluing of any number of parts, glued in the order of the list. The
    // Open commands fill parts 1 and 2 (the halves); addPart appends a part.
    // Any change of the list (add, remove, move, gap) makes the glue one of
    // parts: Glue then logs where each part starts, Save also writes the part
    // map, and the transcript and the WebVTT file mark each part's start.
    // Every change of the list drops a glued result, as opening a file does;
    // a list emptied by removePart makes the glue classic again.
    // Indexes count from 0; the person sees part index + 1.
    // Reads the part's three files (an empty path leaves that file out: a
    // part without words or text) before anything changes; the gap is the
    // silence after the part in the joined recording.
    void addPart(const QString &wordFile, const QString &text, const QString &recording,
                 std::int64_t gapMs = 0);
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
    int partCount() const;
    PartRow partRow(int index) const;
    // True once the list of parts was changed (see above).
    bool gluesParts() const { return partsMode; }
    // A part's words as its table shows them (after Glue: shifted, as in the
    // joined list) and its text; edits go where edits of tables 1 and 2 go.
    std::span<const WordRow> partWordRows(int index) const;
    const QStringList &partText(int index) const;
    void setPartWordCell(int index, int row, WordRow::Column column, const QString &text);
    void setPartText(int index, const QStringList &lines);
    // Empty before Glue; after Glue the start in ms of every part in the
    // joined recording ({0, timeOffset} for two halves).
    std::vector<std::int64_t> partStartsMs() const;

    // --- Rows and texts the views show --------------------------------------
    // Before Glue each table shows its half; after Glue table 1 shows the
    // joined list and table 2 its second part (half 2, shifted).
    std::span<const WordRow> wordRows(WordTable table) const;
    const std::vector<PhraseRow> &phraseRows() const { return phrases; }
    // A person's edit of one cell; the table notices it as a changed row. A
    // cell outside the table is left alone. After Glue the edit goes to the
    // half the row came from (a time of half 2 shifted back), and both
    // tables notice the rows that show it.
    void setWordCell(WordTable table, int row, WordRow::Column column, const QString &text);
    void setPhraseCell(int row, PhraseRow::Column column, const QString &text);
    // Replaces a whole table (a paste, an import, a test's fixture); the table
    // notices it as replaced.
    void setWordRows(WordTable table, std::vector<WordRow> rows);
    void setPhraseRows(std::vector<PhraseRow> rows);

    // The lines of a text view. A front end that lets the person edit a view
    // writes the edited lines back with setText before the next command.
    // After Glue, Text1 shows the joined text: an edit of it goes back to
    // the text of the half each changed line belongs to.
    const QStringList &text(TextView view) const;
    void setText(TextView view, const QStringList &lines);
    const QString &status(StatusLine line) const;
    Tab selectedTab() const { return currentTab; }
    // True from a successful Glue until another file is opened.
    bool isGlued() const { return glued; }
    // A Glue result, or edits or settings since, that Save has not written.
    bool hasUnsavedWork() const { return unsaved; }

    // --- State ----------------------------------------------------------------
    // Inputs as opened.
    QString wordFilePath1, wordFilePath2, textPath1, textPath2, recordingPath1, recordingPath2;
    // Outputs, named after the joined recording.
    QString joinedRecordingPath, joinedTextPath, joinedWordFilePath, srtPath, transcriptPath,
        karaokePath;
    // Frame counts (-1: not determined): the joined recording, each recording
    // as stored, and where part 2 starts in the joined one; timeOffset is that
    // start in ms, the shift of part 2's times.
    std::int64_t joinedFrames = 0, frames1 = 0, frames2 = 0, sampleOffset = 0, timeOffset = 0;
    // The joined word file is written with the separator of the word file opened last.
    QChar joinedSeparator = u' ';
    // ... and in the layout it was read in, so NIST tools read it back.
    WordFileLayout joinedLayout = WordFileLayout::Aligner;
    // The texts as opened (the views may be edited since).
    QStringList openedText1, openedText2;
    // The words of each part as read, until they are shown: from then on
    // the half's rows are the words of that part.
    std::vector<Word> part1Words, part2Words;
    // The file line of each word of a part as read (Glue's warnings name them).
    std::vector<std::int32_t> part1Lines, part2Lines;
    // The cues of the last SRT building and the SRT lines they gave.
    CueList cues;
    QStringList srtLines;
    // The Word-like transcript's lines, as Save writes them.
    QStringList transcriptLines;

    // --- Steps (public so tests can run them one at a time) ------------------
    void readWordFile(int part);
    void showWordFile(int part);
    // Drops the glued result: the tables and Text1 show the halves again,
    // the derived views are emptied; the log says so.
    void dropGlue();
    // The join of the recordings in two: the join of the files, which changes
    // nothing of the job (the person may run it on another thread; a cancel
    // throws Cancelled), and taking its counts into the job, which throws what
    // the join failed with.
    struct JoinedRecording
    {
        bool reached = false; // the join started: its counts are taken, also on a failure
        qint64 total = -1, frames1 = -1, frames2 = -1, start2 = -1;
        std::vector<JoinPart> parts; // a join of parts: each part and its place
        QStringList warnings;        // recordings cut short
        std::exception_ptr failure;
    };
    JoinedRecording joinRecordingFiles(const QString &path);
    void takeJoinedRecording(const QString &path, const JoinedRecording &joined);
    void joinWordLists();
    // Logs a "Warning: " line per kind of doubtful word (see WordWarnings).
    void warnAboutWords(std::size_t part1Rows);
    void joinTexts();
    void makePhrases();
    void makeSrt();
    void makeTranscript();
    // Writes the joined word file alone, as Save writes it.
    void saveWordFile();
    void writeJoinedWordFile(AtomicFile &out, const QString &path) const;
    void writeJoinedPage(AtomicFile &out) const;
    // Writes the cues of the SRT building as WebVTT; cues and srtLines stay.
    // A glue of parts puts "NOTE Part k" before the first cue of part k >= 2.
    void saveWebVtt(const QString &path);
    // The lines of the part map, which Save writes as the joined
    // recording's name with ".parts.tsv".
    QStringList partMapLines() const;
    QString partMapPath;

private:
    void log(const QString &line);
    void setStatus(StatusLine line, const QString &text);
    void selectTab(Tab tab);
    QStringList &textRef(TextView view);
    void reportText(TextView view);
    std::vector<WordRow> &wordTable(WordTable table);
    std::vector<Word> &partWords(int part);
    void setUnsaved(bool value);
    void noteEdit(); // after Glue: unsaved, and the derived views are stale
    bool wordFileWithSpeaker() const;
    void checkNotAnInput(const QString &path, const QString &message) const;
    void routeJoinedRowBack(std::size_t joinedRow);
    void splitJoinedText(const QStringList &lines);
    void showJoinedText();
    void nameOutputs(const QString &path);
    // Parts.
    PartInputs takePart(int index);
    void putPart(int index, PartInputs part);
    std::int64_t partOffset(std::size_t index) const;
    void checkPartRecordings() const;
    std::vector<JoinPart> partsToJoin() const;
    void takeJoinedParts(const QString &path, JoinedRecording joined);
    void joinPartRows();
    void warnAboutMoreParts(WordWarnings &warnings) const;
    QStringList markedText() const;
    std::vector<QStringList *> partTexts();

    Person &person;
    // Half 1's rows; after Glue the joined list, whose first half1Rows rows
    // are half 1's (so half 1 is never held twice).
    std::vector<WordRow> wordTable1;
    // Half 2's rows as opened and edited, never shifted.
    std::vector<WordRow> wordTable2;
    std::size_t half1Rows = 0; // after Glue
    // The texts of the halves; after Glue the Text1 view holds both.
    std::array<QStringList, 2> halfTexts;
    // Parts 3 and on, and of the halves what only parts have.
    std::vector<PartInputs> moreParts;
    std::array<std::uint32_t, 2> halfRates{};
    std::array<std::int64_t, 2> halfGaps{};
    bool partsMode = false;
    // After Glue: where each part's rows start in the joined list, and one
    // more entry for its end; and where each part lies in the joined recording.
    std::vector<std::size_t> partRowStarts;
    std::vector<JoinPart> placedParts;
    bool glued = false;
    bool unsaved = false;
    bool quiet = false; // the derived views are rebuilt without log lines
    // Words, texts or settings changed since the derived views were built.
    bool derivedStale = false;
    // The bytes of the word file each part read last. Opening a part whose
    // path names no regular file reads these again, with the separator then
    // chosen.
    std::array<QByteArray, 2> heldWordFiles;
    std::vector<PhraseRow> phrases;
    std::array<QStringList, textViewCount> texts;
    std::array<QString, statusLineCount> statusLines;
    Tab currentTab = Tab::WordTable1;
};
