#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

// The warnings Glue gives about the words of the two word files: one line per
// kind of problem, naming the file and line of the first word that shows it,
// each starting with "Warning: ". Problems that do not stop the glue but
// usually mean a wrong setting or a wrong file:
//   - a word that ends before it starts (field 4 may be a duration: the NIST layout);
//   - a word that starts before the word before it;
//   - a word of half 1 that ends after recording 1 ends;
//   - five or more words in a row with the same start.
class WordWarnings
{
public:
    // recording1Ms: where recording 1 ends in ms, -1 when unknown.
    explicit WordWarnings(std::int64_t recording1Ms);

    // The words of one file follow, in file order; half is 1 or 2.
    void startFile(const QString &path, int half);
    // One word of the file, from line of the file.
    void word(std::int32_t line, std::int64_t start, std::int64_t end);

    // The warning lines, in the order of the kinds above.
    QStringList lines() const;

private:
    enum Kind { EndBeforeStart, StartBeforePrevious, AfterRecording1, SameStart, kindCount };
    void warn(Kind kind, std::int32_t line, const QString &what);

    std::int64_t recording1Ms;
    QString path;
    int half = 1;
    bool first = true;             // no word of this file seen yet
    std::int64_t previousStart = 0;
    std::int32_t runLine = 0;      // the first line of the run of equal starts
    int runLength = 0;
    QString found[kindCount];
};
