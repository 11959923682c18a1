#pragma once

#include "formats/word.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

struct WordFileRead;

// The words a reader of a structured word file (JSON, XML, TextGrid, WebVTT)
// finds, in file order, some without times of their own, and the lines of
// the transcript the file holds. finishInto gives every word a time: words
// without times, and the words of a stretch timed as a whole, share the time
// between their timed neighbours (or the stretch) by their characters, with
// confidence 0; they are counted for the file's warning. A word without
// speaker gets "X", as a CTM line without one.
class FoundWords
{
public:
    // A word with its times in ms; the confidence is kept within 0 to 1.
    void add(const QString &text, std::int64_t start, std::int64_t end, double confidence,
             const QString &speaker = QString());
    // A word without times.
    void addUntimed(const QString &text, const QString &speaker = QString());
    // A stretch of text timed as a whole (a segment without word times).
    void addStretch(QStringView text, std::int64_t start, std::int64_t end, const QString &speaker = QString());
    // The same for words already apart.
    void addStretch(const QStringList &words, std::int64_t start, std::int64_t end, const QString &speaker = QString());
    // Appends text to the last word (punctuation that follows it); a word of
    // its own when there is none.
    void appendToLast(const QString &text);

    // One line of the transcript the file holds (a segment, a sentence),
    // spoken by speaker from startMs.
    void addLine(QStringView line, const QString &speaker, std::int64_t startMs);
    // The file holds a transcript but no lines of it: finishInto makes one
    // from the words, a line per sentence.
    void holdsTranscript() { transcriptInWords = true; }

    // Room for count words more: a reader that knows how many comes spares
    // the copies of a growing list.
    void reserve(std::size_t count);

    bool empty() const { return words.empty(); }
    std::size_t size() const { return words.size(); }

    // Gives the words times and moves them, with the count of untimed ones
    // and the transcript, into read. Each word's line is its number in the
    // file.
    void finishInto(WordFileRead &read);

private:
    const QString &shared(const QString &speaker);
    void markUntimed(const QString &text);
    void fillUntimed();
    void linesFromWords();
    QStringList transcript() const;

    std::vector<Word> words;
    std::vector<bool> untimed; // of words: placed at finishInto
    int untimedCount = 0;
    QString firstUntimed;
    QString lastSpeaker;
    struct Line
    {
        QString text;
        QString speaker; // empty for none
        std::int64_t start = 0;
    };
    std::vector<Line> lines;
    bool transcriptInWords = false;
};

// Splits text into words at blanks, tabs and line ends.
QStringList blankSeparatedWords(QStringView text);
// Milliseconds of a time in seconds, rounded half to even; throws Error for
// a time no recording has.
std::int64_t msOfSeconds(double seconds);
