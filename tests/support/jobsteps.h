#pragma once

#include "formats/partfiles.h"
#include "job/gluejob.h"
#include "support/files.h"
#include "support/wavbuilder.h"

#include <QString>

#include <utility>
#include <vector>

// Opens the files of parts 1 and 2 as the six Open commands of the menu do,
// in the menu's order: word files, texts, recordings. An empty path is left
// out. What an Open throws ends it there, as in the window.
inline void openBothParts(GlueJob &job, const PartFiles &one, const PartFiles &two)
{
    for (int part : {1, 2})
        if (const QString &path = (part == 1 ? one : two).wordFile; !path.isEmpty())
            job.openWordFile(part, path);
    for (int part : {1, 2})
        if (const QString &path = (part == 1 ? one : two).text; !path.isEmpty())
            job.openText(part, path);
    for (int part : {1, 2})
        if (const QString &path = (part == 1 ? one : two).recording; !path.isEmpty())
            job.openRecording(part, path);
}

// Gives part 1 rows, opens two recordings of 10 ms written in folder and
// glues into folder/joined.wav. Returns the message Glue stopped with, or
// "(no error)": the steps before the failing one stand.
inline QString glueRowsOverSilence(GlueJob &job, const QString &folder, std::vector<WordRow> rows)
{
    writeSilentWav(folder + QStringLiteral("/one.wav"), 16000, 1, 16, 160);
    writeSilentWav(folder + QStringLiteral("/two.wav"), 16000, 1, 16, 160);
    job.openRecording(1, folder + QStringLiteral("/one.wav"));
    job.openRecording(2, folder + QStringLiteral("/two.wav"));
    job.setWordRows(WordTable::Main, std::move(rows));
    return errorMessage([&] { job.glue(folder + QStringLiteral("/joined.wav")); });
}
