#include "app/cli/batchcommand.h"

#include "app/cli/clioutput.h"
#include "app/cli/settingoptions.h"
#include "base/error.h"
#include "job/batchchild.h"
#include "job/batchrun.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <unistd.h>
#ifdef __linux__
#include <csignal>
#include <sys/prctl.h>
#endif

using namespace Qt::Literals::StringLiterals;

namespace {

// A whole number from low on, or nothing.
std::optional<int> wholeNumber(const QString &text, int low)
{
    bool ok = false;
    const int number = text.toInt(&ok);
    const bool digits = !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); });
    if (!ok || !digits || number < low)
        return std::nullopt;
    return number;
}

// The line on standard error that says how far the batch is; only on a terminal.
class ProgressLine
{
public:
    ProgressLine() : shown(::isatty(STDERR_FILENO) == 1) {}
    void show(const QString &text)
    {
        if (shown)
            std::fprintf(stderr, "\r\033[K%s", qUtf8Printable(text));
    }
    // Prints a line above the progress line.
    void tell(const QString &line)
    {
        if (shown)
            std::fputs("\r\033[K", stderr);
        printText(stderr, line);
    }
    void end()
    {
        if (shown)
            std::fputc('\n', stderr);
    }

private:
    bool shown;
};

int mergeCommand(const QString &folder)
{
    return runStep([&] {
        const std::vector<BatchRow> rows = mergeReports(folder);
        printText(stdout, u"Interviews: %1; report: \"%2\"."_s.arg(rows.size()).arg(reportPath(folder)));
        if (!allSucceeded(rows))
            throw Error(u"Some interviews failed: see \"%1\"."_s.arg(reportPath(folder)));
    });
}

} // namespace

int batchCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Glues every interview of a manifest (NAME<TAB>PARTS-LIST a line, each list in the --parts\n"
        "format of glue, relative to the manifest) or of a folder (one subfolder per interview, its\n"
        "files placed in parts by the last number in their names). Interview NAME is written to\n"
        "DIR/NAME/ as glue writes it with --joined DIR/NAME/NAME.wav, its log to NAME.log; each row of\n"
        "DIR/batch-report.tsv says how one went. Exits with 0 when every interview succeeded, else 1."));
    const QCommandLineOption help = parser.addHelpOption();
    parser.addPositionalArgument(u"batch"_s, QString(), u"batch"_s);
    parser.addPositionalArgument(u"source"_s, u"The manifest (.tsv) or the folder of interviews."_s,
                                 u"MANIFEST.tsv|FOLDER"_s);
    addSettingOptions(parser);
    const QCommandLineOption out(u"out"_s, u"Write each interview to <dir>/NAME/ and the report to <dir>."_s, u"dir"_s);
    const QCommandLineOption jobs(QStringList{u"j"_s, u"jobs"_s},
                                  u"Glue <n> interviews at once (default: the cores of this machine; with --slurm "
                                  u"the task's CPUs)."_s,
                                  u"n"_s);
    const QCommandLineOption resume(u"resume"_s, u"Skip every interview whose outputs are there and whose inputs and "
                                                 u"settings are as when it was glued."_s);
    const QCommandLineOption index(u"index"_s, u"With --count: glue only the interviews whose place in the batch "
                                               u"(from 0) is <i> modulo <n>; the report is "
                                               u"batch-report-I-of-N.tsv."_s,
                                   u"i"_s);
    const QCommandLineOption count(u"count"_s, u"The number of tasks the batch is shared among."_s, u"n"_s);
    const QCommandLineOption slurm(u"slurm"_s, u"Take --index and --count from SLURM_ARRAY_TASK_ID and "
                                               u"SLURM_ARRAY_TASK_COUNT (in an sbatch --array job)."_s);
    const QCommandLineOption merge(u"merge-reports"_s, u"Join the reports of the tasks in <dir> into "
                                                       u"<dir>/batch-report.tsv; no other option."_s,
                                   u"dir"_s);
    QCommandLineOption runOne(u"run-one"_s, u"Glue the interview at place <p> here (the batch's own children)."_s, u"p"_s);
    runOne.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({out, jobs, resume, index, count, slurm, merge, runOne});

    if (!parser.parse(arguments))
        return usageError(parser, parser.errorText());
    if (parser.isSet(help)) {
        printText(stdout, parser.helpText());
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    if (parser.isSet(merge)) {
        if (positional.size() != 1)
            return usageError(parser, u"--merge-reports takes no manifest or folder."_s);
        return mergeCommand(parser.value(merge));
    }
    if (positional.size() != 2)
        return usageError(parser, u"batch takes one manifest or folder."_s);
    if (!parser.isSet(out))
        return usageError(parser, u"batch needs --out, the folder its results go to."_s);
    BatchOptions options;
    options.outFolder = parser.value(out);
    if (const QString refused = readSettingOptions(parser, options.settings); !refused.isEmpty())
        return usageError(parser, refused);

    // Which share of the batch this task glues.
    std::optional<int> task = 0, tasks = 1;
    if (parser.isSet(slurm)) {
        if (parser.isSet(index) || parser.isSet(count))
            return usageError(parser, u"--slurm does not go with --index or --count."_s);
        task = wholeNumber(qEnvironmentVariable("SLURM_ARRAY_TASK_ID"), 0);
        tasks = wholeNumber(qEnvironmentVariable("SLURM_ARRAY_TASK_COUNT"), 1);
        if (!task || !tasks)
            return usageError(parser, u"--slurm needs SLURM_ARRAY_TASK_ID and SLURM_ARRAY_TASK_COUNT: run it in "
                                      u"an sbatch --array job."_s);
    } else if (parser.isSet(index) || parser.isSet(count)) {
        task = wholeNumber(parser.value(index), 0);
        tasks = wholeNumber(parser.value(count), 1);
        if (!parser.isSet(index) || !parser.isSet(count) || !task || !tasks)
            return usageError(parser, u"--index and --count go together: a whole number from 0 and one from 1."_s);
    }
    const bool shared = parser.isSet(slurm) || parser.isSet(count);
    options.reportPath = shared ? taskReportPath(options.outFolder, *task % *tasks, *tasks) : reportPath(options.outFolder);

    int defaultJobs = QThread::idealThreadCount();
    if (parser.isSet(slurm))
        defaultJobs = wholeNumber(qEnvironmentVariable("SLURM_CPUS_PER_TASK"), 1).value_or(defaultJobs);
    const std::optional<int> jobCount = parser.isSet(jobs) ? wholeNumber(parser.value(jobs), 1) : defaultJobs;
    if (!jobCount)
        return usageError(parser, u"-j must be a whole number from 1."_s);
    options.jobs = *jobCount;
    options.resume = parser.isSet(resume);

    // A manifest that is not one is an error of the command line: nothing is written.
    std::vector<BatchInterview> interviews;
    try {
        interviews = readBatchInterviews(positional[1]);
    } catch (const Error &e) {
        printText(stderr, e.message());
        return exitUsage;
    }

    if (parser.isSet(runOne)) {
#ifdef __linux__
        // A child ends with the batch that started it, so a killed batch
        // leaves no glue running behind it.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() == 1)
            return exitFailure;
#endif
        const std::optional<int> place = wholeNumber(parser.value(runOne), 0);
        if (!place || *place >= static_cast<int>(interviews.size()))
            return usageError(parser, u"--run-one must be a place in the batch."_s);
        printText(stdout, reportLine(glueInterview(interviews[static_cast<size_t>(*place)], options.settings,
                                                   options.outFolder)));
        return 0;
    }

    interviews = shareOfTask(std::move(interviews), *task, *tasks);
    const QString program = QCoreApplication::applicationFilePath();
    const QStringList childArguments = arguments.mid(1);
    ProgressLine progress;
    int failed = 0;
    const int code = runStep([&] {
        const std::vector<BatchRow> rows = runBatch(
            interviews, options,
            [&](const BatchInterview &interview) { return glueInChildProcess(program, childArguments, interview); },
            [&](const BatchInterview &interview, const BatchRow &row, const BatchTally &tally) {
                if (row.status == BatchRow::Status::Failed)
                    progress.tell(u"%1: %2: %3"_s.arg(interview.where, interview.name, row.message));
                progress.show(progressText(tally));
                failed = tally.failed;
            });
        progress.end();
        printText(stdout, u"Interviews: %1, failed: %2; report: \"%3\"."_s.arg(rows.size()).arg(failed).arg(options.reportPath));
    });
    return code != 0 ? code : failed > 0 ? exitFailure : 0;
}
