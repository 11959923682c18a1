#include "job/batchreport.h"

#include "base/atomicfile.h"
#include "base/error.h"
#include "base/textfile.h"
#include "base/timetext.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <map>

using namespace Qt::Literals::StringLiterals;

namespace {

const std::array<const char16_t *, 3> statusWords{u"ok", u"failed", u"skipped"};

QString flat(QString text)
{
    for (QChar &c : text)
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    return text;
}

std::int64_t audioMsOf(const QString &text, bool &ok)
{
    static const QRegularExpression form(u"^(\\d+):(\\d\\d):(\\d\\d)\\.(\\d\\d\\d)$"_s);
    const QRegularExpressionMatch m = form.match(text);
    ok = m.hasMatch();
    if (!ok)
        return 0;
    return ((m.captured(1).toLongLong() * 60 + m.captured(2).toLongLong()) * 60 + m.captured(3).toLongLong()) * 1000
           + m.captured(4).toLongLong();
}

} // namespace

QString reportHeading()
{
    return u"interview\tplace\tstatus\tparts\twords\taudio\tseconds\twarnings\tmessage"_s;
}

QString reportLine(const BatchRow &row)
{
    return QStringList{flat(row.interview),
                       QString::number(row.place + 1),
                       QString::fromUtf16(statusWords[static_cast<size_t>(row.status)]),
                       QString::number(row.parts),
                       QString::number(row.words),
                       clockText(row.audioMs),
                       QString::number(row.seconds, 'f', 1),
                       QString::number(row.warnings),
                       flat(row.message)}
        .join(u'\t');
}

BatchRow parseReportLine(const QString &line, const QString &file, int lineNumber)
{
    const QStringList fields = line.split(u'\t');
    BatchRow row;
    bool ok = fields.size() == 9;
    if (ok) {
        row.interview = fields[0];
        bool okPlace = false, okParts = false, okWords = false, okAudio = false, okSeconds = false, okWarnings = false;
        row.place = fields[1].toInt(&okPlace) - 1;
        const auto status = std::find(statusWords.begin(), statusWords.end(), fields[2]);
        row.status = static_cast<BatchRow::Status>(status - statusWords.begin());
        row.parts = fields[3].toInt(&okParts);
        row.words = fields[4].toLongLong(&okWords);
        row.audioMs = audioMsOf(fields[5], okAudio);
        row.seconds = fields[6].toDouble(&okSeconds);
        row.warnings = fields[7].toInt(&okWarnings);
        row.message = fields[8];
        ok = okPlace && row.place >= 0 && status != statusWords.end() && okParts && okWords && okAudio && okSeconds
             && okWarnings;
    }
    if (!ok)
        throw Error(u"\"%1\", line %2: not a row of a batch report"_s.arg(file).arg(lineNumber));
    return row;
}

QString reportPath(const QString &folder)
{
    return QDir(folder).filePath(u"batch-report.tsv"_s);
}

QString taskReportPath(const QString &folder, int index, int count)
{
    return QDir(folder).filePath(u"batch-report-%1-of-%2.tsv"_s.arg(index).arg(count));
}

void writeReport(const QString &path, std::vector<BatchRow> rows)
{
    std::stable_sort(rows.begin(), rows.end(), [](const BatchRow &a, const BatchRow &b) { return a.place < b.place; });
    QByteArray bytes = reportHeading().toUtf8() + '\n';
    for (const BatchRow &row : rows)
        bytes += reportLine(row).toUtf8() + '\n';
    AtomicFile file(path);
    file.write(bytes);
    file.commit();
}

std::vector<BatchRow> readReport(const QString &path)
{
    const QStringList lines = readTextFile(path);
    if (lines.value(0) != reportHeading())
        throw Error(u"\"%1\", line 1: not the heading of a batch report"_s.arg(path));
    std::vector<BatchRow> rows;
    for (qsizetype i = 1; i < lines.size(); ++i)
        if (!lines[i].isEmpty())
            rows.push_back(parseReportLine(lines[i], path, static_cast<int>(i + 1)));
    return rows;
}

std::vector<BatchRow> mergeReports(const QString &folder)
{
    static const QRegularExpression taskName(u"^batch-report-(\\d+)-of-(\\d+)\\.tsv$"_s);
    const QDir dir(folder);
    std::map<int, QString> tasks;
    int count = 0;
    for (const QString &name : dir.entryList({u"batch-report-*-of-*.tsv"_s}, QDir::Files, QDir::Name)) {
        const QRegularExpressionMatch m = taskName.match(name);
        if (!m.hasMatch())
            continue;
        const int taskCount = m.captured(2).toInt();
        if (count != 0 && taskCount != count)
            throw Error(u"\"%1\" holds reports of %2 tasks and of %3 tasks."_s.arg(folder).arg(count).arg(taskCount));
        count = taskCount;
        tasks[m.captured(1).toInt()] = dir.filePath(name);
    }
    if (tasks.empty())
        throw Error(u"\"%1\" holds no report of a task (batch-report-I-of-N.tsv)."_s.arg(folder));
    for (int task = 0; task < count; ++task)
        if (!tasks.contains(task))
            throw Error(u"The report of task %1 of %2 is missing in \"%3\"."_s.arg(task).arg(count).arg(folder));
    std::vector<BatchRow> rows;
    for (const auto &[task, path] : tasks) {
        std::vector<BatchRow> taskRows = readReport(path);
        rows.insert(rows.end(), taskRows.begin(), taskRows.end());
    }
    writeReport(reportPath(folder), rows);
    std::stable_sort(rows.begin(), rows.end(), [](const BatchRow &a, const BatchRow &b) { return a.place < b.place; });
    return rows;
}

bool allSucceeded(const std::vector<BatchRow> &rows)
{
    return std::none_of(rows.begin(), rows.end(), [](const BatchRow &row) { return row.status == BatchRow::Status::Failed; });
}
