#pragma once

#include "job/batchinterview.h"
#include "job/batchreport.h"
#include "job/gluesettings.h"

#include <QString>

#include <functional>
#include <vector>

// A batch: many interviews glued side by side, each into a folder of its own
// under the output folder, a report row for each, and a record for resuming.

struct BatchOptions
{
    QString outFolder;  // each interview's files go to outFolder/NAME/
    QString reportPath; // rewritten after every interview
    GlueSettings settings;
    int jobs = 1;        // interviews glued at once
    bool resume = false; // skip the interviews whose record is up to date
};

// How far a batch is.
struct BatchTally
{
    int done = 0, total = 0, failed = 0, skipped = 0;
    double elapsedSeconds = 0;
};
// "12/40 done, 1 failed, about 3 min left", for a progress line.
QString progressText(const BatchTally &tally);

// The folder an interview's files go to.
QString interviewFolder(const QString &outFolder, const QString &name);

// Glues one interview here, as naadwerk-cli glue --parts would with its
// joined recording outFolder/NAME/NAME.wav, then saves; the log goes to
// NAME.log beside it. Before anything is written the interview's record and
// any file left half-written by a killed run are removed; once every output
// is written the record is written, last. A failure is the row's message.
BatchRow glueInterview(const BatchInterview &interview, const GlueSettings &settings, const QString &outFolder);

// Runs the batch: interviews that resume skips become "skipped" rows of
// their record; the others are given to glueOne, options.jobs at a time
// (glueOne is called from that many threads at once). After each row the
// report is written again and rowDone hears of it (never two at once).
// Returns the rows in the order of the batch. Throws Error when the output
// folder or the report cannot be written.
using GlueOne = std::function<BatchRow(const BatchInterview &)>;
using RowDone = std::function<void(const BatchInterview &, const BatchRow &, const BatchTally &)>;
std::vector<BatchRow> runBatch(const std::vector<BatchInterview> &interviews, const BatchOptions &options,
                               const GlueOne &glueOne, const RowDone &rowDone);
