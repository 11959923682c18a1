#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

// The warnings Glue gives about the words of the parts' word files: one line per
// kind of problem, naming the file and line of the first word that shows it,
// each starting with "Warning: ". Problems that do not stop the glue but
// usually mean a wrong setting or a wrong file:
//   - a word that ends before it starts (field 4 may be a duration: the NIST layout);
//   - a word that starts before the word before it;
//   - a word that ends after its part's recording ends;
//   - five or more words in a row with the same start.
// A file read with NIST alternations, or with words that had no times of
// their own, gets a line of its own for each, before those.
class WordWarnings
{
public:
    // The words of part number's word file at path follow, in file order;
    // its recording lasts recordingMs (-1: unknown).
    void startFile(const QString &path, int number, std::int64_t recordingMs);
    // One word of the file, from line of the file.
    void word(std::int32_t line, std::int64_t start, std::int64_t end);
    // The file held count alternations, each read as its first
    // alternative, the first on line.
    void alternations(int count, std::int32_t line);
    // count words of the file had no times of their own (or only their
    // segment's), the first first.
    void untimed(int count, const QString &first);

    // The warning lines, in the order of the kinds above.
    QStringList lines() const;

private:
    enum Kind { EndBeforeStart, StartBeforePrevious, AfterRecording, SameStart, kindCount };
    void warn(Kind kind, std::int32_t line, const QString &what);

    QString path;
    int part = 1;
    std::int64_t recordingMs = -1;
    bool first = true;             // no word of this file seen yet
    std::int64_t previousStart = 0;
    std::int32_t runLine = 0;      // the first line of the run of equal starts
    int runLength = 0;
    QString found[kindCount];
    QStringList perFile; // the alternations, a line per file
};
