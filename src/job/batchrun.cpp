#include "job/batchrun.h"

#include "base/atomicfile.h"
#include "base/error.h"
#include "base/paths.h"
#include "job/batchrecord.h"
#include "job/gluejob.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <new>
#include <thread>

using namespace Qt::Literals::StringLiterals;

namespace {

// The log of one interview's glue, as glue prints it.
class LogKeeper : public Person
{
public:
    void lineLogged(const QString &line) override { lines << line; }
    QStringList lines;
};

void makeFolder(const QString &folder)
{
    if (!QDir().mkpath(folder))
        throw Error(u"Cannot create folder \"%1\"."_s.arg(folder));
}

// What an AtomicFile of a killed run left beside its target.
void removeHalfWritten(const QString &folder, const QString &target = u"*"_s)
{
    const QDir dir(folder);
    for (const QString &name : dir.entryList({target + u".naadwerk-*.tmp"_s}, QDir::Files | QDir::Hidden))
        QFile::remove(dir.filePath(name));
}

QString durationText(double seconds)
{
    const qint64 minutes = qRound64(seconds / 60);
    if (minutes < 1)
        return u"less than a minute"_s;
    if (minutes < 60)
        return u"about %1 min"_s.arg(minutes);
    return u"about %1 h %2 min"_s.arg(minutes / 60).arg(minutes % 60);
}

} // namespace

QString progressText(const BatchTally &tally)
{
    QString text = u"%1/%2 done, %3 failed"_s.arg(tally.done).arg(tally.total).arg(tally.failed);
    // Skipped interviews take no time: the time left follows the glued ones.
    const int glued = tally.done - tally.skipped;
    if (glued > 0 && tally.done < tally.total)
        text += u", %1 left"_s.arg(durationText(tally.elapsedSeconds / glued * (tally.total - tally.done)));
    return text;
}

QString interviewFolder(const QString &outFolder, const QString &name)
{
    return QDir(outFolder).filePath(name);
}

BatchRow glueInterview(const BatchInterview &interview, const GlueSettings &settings, const QString &outFolder)
{
    QElapsedTimer timer;
    timer.start();
    const QString folder = interviewFolder(outFolder, interview.name);
    // The inputs as they are before the glue reads them: one changed while
    // it runs makes the record stale.
    BatchRecord record(interview, settings);
    BatchRow row;
    row.interview = interview.name;
    row.place = interview.place;
    LogKeeper log;
    try {
        makeFolder(folder);
        QFile::remove(BatchRecord::path(folder));
        removeHalfWritten(folder);
        GlueJob job(log);
        job.settings = settings;
        if (!interview.partList.isEmpty())
            job.addPartList(interview.partList);
        for (const PartFiles &part : interview.parts)
            job.addPart(part);
        job.glue(QDir(folder).filePath(interview.name + u".wav"_s));
        job.save(job.proposedSrtPath());
        row.status = BatchRow::Status::Ok;
        row.parts = job.partCount();
        row.words = static_cast<std::int64_t>(job.wordRows(WordTable::Main).size());
        row.audioMs = job.joinedFrames() / 16; // 16 kHz
    } catch (const Error &e) {
        row.message = e.message();
    } catch (const std::bad_alloc &) {
        row.message = u"Not enough memory to finish this step."_s;
    }
    row.seconds = static_cast<double>((timer.elapsed() + 50) / 100) / 10; // tenths, as the report has them
    row.warnings = static_cast<int>(std::count_if(log.lines.cbegin(), log.lines.cend(),
                                                  [](const QString &line) { return line.startsWith(u"Warning: "); }));
    try {
        if (QDir(folder).exists()) {
            AtomicFile file(QDir(folder).filePath(interview.name + u".log"_s));
            file.write((log.lines.join(u'\n') + u'\n').toUtf8());
            file.commit();
        }
        if (row.status == BatchRow::Status::Ok)
            record.write(folder, row);
    } catch (const Error &e) {
        row.status = BatchRow::Status::Failed;
        row.message = e.message();
    }
    return row;
}

std::vector<BatchRow> runBatch(const std::vector<BatchInterview> &interviews, const BatchOptions &options,
                               const GlueOne &glueOne, const RowDone &rowDone)
{
    QElapsedTimer timer;
    timer.start();
    makeFolder(options.outFolder);
    removeHalfWritten(folderPart(options.reportPath), fileNamePart(options.reportPath));
    writeReport(options.reportPath, {});

    std::mutex mutex;
    std::vector<BatchRow> rows;
    BatchTally tally;
    tally.total = static_cast<int>(interviews.size());
    const auto finish = [&](const BatchInterview &interview, const BatchRow &row) {
        const std::lock_guard lock(mutex);
        rows.push_back(row);
        ++tally.done;
        tally.failed += row.status == BatchRow::Status::Failed;
        tally.skipped += row.status == BatchRow::Status::Skipped;
        tally.elapsedSeconds = static_cast<double>(timer.elapsed()) / 1000;
        writeReport(options.reportPath, rows);
        rowDone(interview, row, tally);
    };

    std::vector<const BatchInterview *> queue;
    for (const BatchInterview &interview : interviews) {
        std::optional<BatchRow> done;
        if (options.resume)
            done = BatchRecord(interview, options.settings).upToDateRow(interviewFolder(options.outFolder, interview.name));
        if (!done) {
            queue.push_back(&interview);
            continue;
        }
        done->interview = interview.name;
        done->place = interview.place;
        done->status = BatchRow::Status::Skipped;
        finish(interview, *done);
    }

    // Each worker takes the next interview until none is left; a failure to
    // write the report stops them all and is thrown here.
    std::atomic<size_t> next = 0;
    std::exception_ptr failure;
    const auto work = [&] {
        for (size_t k = next++; k < queue.size(); k = next++) {
            try {
                finish(*queue[k], glueOne(*queue[k]));
            } catch (...) {
                const std::lock_guard lock(mutex);
                failure = std::current_exception();
                next = queue.size();
            }
        }
    };
    std::vector<std::thread> workers;
    const size_t count = std::min(queue.size(), static_cast<size_t>(std::max(options.jobs, 1)));
    for (size_t i = 0; i < count; ++i)
        workers.emplace_back(work);
    for (std::thread &worker : workers)
        worker.join();
    if (failure)
        std::rethrow_exception(failure);
    std::sort(rows.begin(), rows.end(), [](const BatchRow &a, const BatchRow &b) { return a.place < b.place; });
    return rows;
}
