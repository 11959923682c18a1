#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// The rows of a batch's report, batch-report.tsv: one per interview, in the
// order of the batch, under a heading line.
struct BatchRow
{
    enum class Status { Ok, Failed, Skipped };

    QString interview;
    int place = 0; // its place in the batch, from 0
    Status status = Status::Failed;
    int parts = 0;
    std::int64_t words = 0;
    std::int64_t audioMs = 0; // the joined recording's length
    double seconds = 0;       // the time the glue took
    int warnings = 0;         // "Warning: " lines of the log
    QString message;          // why it failed

    bool operator==(const BatchRow &) const = default;
};

// The heading line of a report.
QString reportHeading();
// A row as a line of the report: tabs and line ends in its texts become blanks.
QString reportLine(const BatchRow &row);
// A line of a report read back; throws Error naming file and line for a
// line that is not one.
BatchRow parseReportLine(const QString &line, const QString &file, int lineNumber);

// The report's name in folder: "batch-report.tsv" for the whole batch, and
// "batch-report-I-of-N.tsv" for task I (0 .. N-1) of N.
QString reportPath(const QString &folder);
QString taskReportPath(const QString &folder, int index, int count);

// Writes the heading and rows, sorted by place, atomically.
void writeReport(const QString &path, std::vector<BatchRow> rows);
// Reads a report written by writeReport; throws Error for one that is not.
std::vector<BatchRow> readReport(const QString &path);

// Joins the task reports in folder ("batch-report-I-of-N.tsv") into
// batch-report.tsv, in the order of the batch. Throws Error when folder holds
// none, when they are of different counts of tasks, or when a task's report
// is missing ("the report of task 2 of 4 is missing").
std::vector<BatchRow> mergeReports(const QString &folder);

// True when no row failed.
bool allSucceeded(const std::vector<BatchRow> &rows);
