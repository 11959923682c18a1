#include "app/cli/interviewoptions.h"

#include "app/cli/clioutput.h"
#include "app/cli/settingoptions.h"
#include "base/error.h"
#include "job/gluejob.h"
#include "job/interviewinputs.h"

#include <QCommandLineParser>

QCommandLineOption makeOption(const char *name, const char *description, const char *valueName)
{
    return valueName ? QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(description),
                                          QString::fromLatin1(valueName))
                     : QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(description));
}

std::optional<int> InterviewOptions::parse(QCommandLineParser &parser, const QStringList &arguments,
                                           const QCommandLineOption &help, const char *command) const
{
    if (!parser.parse(arguments))
        return usageError(parser, parser.errorText());
    if (parser.isSet(help)) {
        printText(stdout, parser.helpText());
        return 0;
    }
    if (parser.positionalArguments().size() != 1)
        return usageError(parser, QStringLiteral("%1 takes no file names without an option.").arg(QLatin1StringView(command)));
    if (const QString refused = refusal(parser); !refused.isEmpty())
        return usageError(parser, refused);
    return std::nullopt;
}

InterviewOptions::InterviewOptions(QCommandLineParser &parser, const char *joinedHelp)
    : joined(makeOption("joined", joinedHelp, "file")),
      ctm1(makeOption("ctm1", "Word file of half 1 (CTM/SPK, or a format of --word-format).", "file")),
      ctm2(makeOption("ctm2", "Word file of half 2 (CTM/SPK, or a format of --word-format).", "file")),
      text1(makeOption("text1", "Transcript text of half 1.", "file")),
      text2(makeOption("text2", "Transcript text of half 2.", "file")),
      wav1(makeOption("wav1", "WAV file of half 1.", "file")),
      wav2(makeOption("wav2", "WAV file of half 2.", "file")),
      parts(makeOption("parts", "Glue the parts listed in <list>, in its order: one part a line, its word file, text file and recording separated by tabs, optionally the gap after it in ms; paths relative to the list's folder; \"#\" starts a comment line. Not with --ctm1 ... --wav2.", "list")),
      interview(makeOption("interview", "Open the interview file <file> (NAME.naadwerk) with every correction in it, instead of the files of the parts; settings given override its settings. A missing or changed input fails, naming it.", "file"))
{
    // The settings' options first: their place in the help.
    addSettingOptions(parser);
    parser.addOptions({ctm1, ctm2, text1, text2, wav1, wav2, parts, interview, joined});
}

QString InterviewOptions::refusal(const QCommandLineParser &parser) const
{
    GlueSettings settings;
    if (const QString refused = readSettingOptions(parser, settings); !refused.isEmpty())
        return refused;
    if (parser.isSet(parts))
        for (const QCommandLineOption *half : {&ctm1, &ctm2, &text1, &text2, &wav1, &wav2})
            if (parser.isSet(*half))
                return QStringLiteral("--parts does not go with --ctm1, --ctm2, --text1, --text2, --wav1 or --wav2.");
    if (parser.isSet(interview))
        for (const QCommandLineOption *input : {&ctm1, &ctm2, &text1, &text2, &wav1, &wav2, &parts})
            if (parser.isSet(*input))
                return QStringLiteral("--interview does not go with --parts, --ctm1, --ctm2, --text1, --text2, --wav1 or --wav2.");
    return {};
}

void InterviewOptions::open(const QCommandLineParser &parser, GlueJob &job) const
{
    if (parser.isSet(interview)) {
        const QString path = parser.value(interview);
        InterviewFile file = readInterview(path);
        const std::vector<InterviewInputProblem> problems = inputProblems(file);
        if (!problems.empty())
            throw Error(problems.front().message());
        job.openInterview(std::move(file), path);
        readSettingOptions(parser, job.settings);
        job.settingsChanged();
        return;
    }
    readSettingOptions(parser, job.settings);
    // The Open commands in the order of the menu, each run only for a file given.
    struct Open
    {
        const QCommandLineOption *file;
        void (GlueJob::*command)(int, const QString &);
        int part;
    };
    const Open opens[] = {{&ctm1, &GlueJob::openWordFile, 1},  {&ctm2, &GlueJob::openWordFile, 2},
                          {&text1, &GlueJob::openText, 1},     {&text2, &GlueJob::openText, 2},
                          {&wav1, &GlueJob::openRecording, 1}, {&wav2, &GlueJob::openRecording, 2}};
    if (parser.isSet(parts))
        job.addPartList(parser.value(parts));
    for (const Open &open : opens)
        if (parser.isSet(*open.file))
            (job.*open.command)(open.part, parser.value(*open.file));
}
