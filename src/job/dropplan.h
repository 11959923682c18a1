#pragma once

#include "formats/partfiles.h"

#include <QString>
#include <QStringList>

#include <vector>

// Where files dropped on the window go: each to the slot of its kind (word
// file, text or recording, by its extension) and its part. The part follows
// the last number in the file's base name ("interview_2.wav", "part2.txt"):
// when every file of a kind has its own number from 1 to the number of parts
// the drop holds (2 at least), that number is its part; otherwise the files
// of the kind are ranked by their numbers, those without one after them in
// the order they were dropped. Only names
// are looked at: opening the files is the Open commands' work.
class DropPlan
{
public:
    explicit DropPlan(const QStringList &paths);

    // parts[k] holds part k + 1; an empty path is a slot the drop leaves alone.
    const std::vector<PartFiles> &parts() const { return placed; }
    // One line for every file that has no slot, saying why.
    const QStringList &reasons() const { return unplaced; }

    // The last number in the base name of path, or -1 when it has none.
    static int lastNumber(const QString &path);

private:
    std::vector<PartFiles> placed;
    QStringList unplaced;
};
