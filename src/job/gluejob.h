#pragma once

#include "formats/cuelist.h"
#include "formats/word.h"
#include "formats/wordrow.h"
#include "job/gluesettings.h"
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
    void joinRecordings(const QString &path);
    // joinRecordings in two: the join of the files, which changes nothing of
    // the job (the person may run it on another thread; a cancel throws
    // Cancelled), and taking its counts into the job, which throws what the
    // join failed with.
    struct JoinedRecording
    {
        bool reached = false; // the join started: its counts are taken, also on a failure
        qint64 total = -1, frames1 = -1, frames2 = -1, start2 = -1;
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
    void saveWordFile();
    void saveText();
    void saveKaraokePage();
    void saveTranscript();
    // Writes the cues of the SRT building as WebVTT; cues and srtLines stay.
    void saveWebVtt(const QString &path);

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

    Person &person;
    // Half 1's rows; after Glue the joined list, whose first half1Rows rows
    // are half 1's (so half 1 is never held twice).
    std::vector<WordRow> wordTable1;
    // Half 2's rows as opened and edited, never shifted.
    std::vector<WordRow> wordTable2;
    std::size_t half1Rows = 0; // after Glue
    // The texts of the halves; after Glue the Text1 view holds both.
    std::array<QStringList, 2> halfTexts;
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
