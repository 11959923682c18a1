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
#include <vector>

// The glue job: the state of one gluing and the commands that open the
// inputs, glue them and save the results. It owns plain rows (the word
// tables and the phrase table) and the lines of the text views; it reaches
// the person only through Person. The window, the command line and the tests
// all drive this one class.
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
    void exit();

    GlueSettings settings;

    // --- Rows and texts the views show --------------------------------------
    const std::vector<WordRow> &wordRows(WordTable table) const;
    const std::vector<PhraseRow> &phraseRows() const { return phrases; }
    // A person's edit of one cell; the table notices it as a changed row. A
    // cell outside the table is left alone.
    void setWordCell(WordTable table, int row, WordRow::Column column, const QString &text);
    void setPhraseCell(int row, PhraseRow::Column column, const QString &text);
    // Replaces a whole table (a paste, an import, a test's fixture); the table
    // notices it as replaced.
    void setWordRows(WordTable table, std::vector<WordRow> rows);
    void setPhraseRows(std::vector<PhraseRow> rows);

    // The lines of a text view. A front end that lets the person edit a view
    // writes the edited lines back with setText before the next command.
    const QStringList &text(TextView view) const;
    void setText(TextView view, const QStringList &lines);
    const QString &status(StatusLine line) const;
    Tab selectedTab() const { return currentTab; }

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
    // The words of each part as read: Glue shifts part 2's, never the cells
    // of table 2, so edits there do not reach the result. Glue takes part 1
    // from table 1, so openWordFile(1) lets part 1's words go once shown.
    std::vector<Word> part1Words, part2Words;
    // The file line of each word of part 1 as read (Glue's warnings name them).
    std::vector<std::int32_t> part1Lines;
    // The cues of the last SRT building and the SRT lines they gave.
    CueList cues;
    QStringList srtLines;
    // The Word-like transcript's lines, as Save writes them.
    QStringList transcriptLines;

    // --- Steps (public so tests can run them one at a time) ------------------
    void readWordFile(int part);
    void showWordFile(int part);
    void joinRecordings();
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

    Person &person;
    std::vector<WordRow> wordTable1, wordTable2;
    // The bytes of the word file each part read last. Opening a part whose
    // path names no regular file reads these again, with the separator then
    // chosen.
    std::array<QByteArray, 2> heldWordFiles;
    std::vector<PhraseRow> phrases;
    std::array<QStringList, textViewCount> texts;
    std::array<QString, statusLineCount> statusLines;
    Tab currentTab = Tab::WordTable1;
};
