#pragma once

#include "formats/partfiles.h"

#include <QString>
#include <QStringList>

#include <vector>

// One interview of a batch: its name (the folder of its outputs), where it
// was given (for messages) and its parts: a list of parts to read, or the
// files of its folder placed as a drop places them.
struct BatchInterview
{
    QString name;
    // "\"archive.tsv\", line 4" or "\"tapes/smith\"": what a message names.
    QString where;
    // Its place in the batch, from 0: what --index and --count divide.
    int place = 0;
    // The list of parts of a manifest row; empty for a folder's interview.
    QString partList;
    // A folder's interview: its parts, and every file of its folder.
    std::vector<PartFiles> parts;
    QStringList folderFiles;
};

// The interviews of a manifest file (see parseManifest) or of a folder, one
// interview per subfolder in the order of their names, the subfolder's
// files placed in parts by the last number in their names (DropPlan);
// files of other kinds are left out. Throws Error naming the file and line
// of a manifest that is not one, or the folder that holds no subfolder.
std::vector<BatchInterview> readBatchInterviews(const QString &path);

// The interviews whose place is index modulo count (count >= 1, index >= 0).
std::vector<BatchInterview> shareOfTask(std::vector<BatchInterview> interviews, int index, int count);

// Every input file of the interview: its list of parts and the files the
// list names, or its folder's files. A list that cannot be read gives the
// list alone (the glue will say what is wrong with it).
QStringList inputFiles(const BatchInterview &interview);
