#include "app/cli/gluecommand.h"

#include "app/cli/logprinter.h"
#include "app/cli/clioutput.h"
#include "app/cli/settingoptions.h"
#include "job/gluejob.h"

#include <QCommandLineParser>

namespace {

QCommandLineOption option(const char *name, const char *description, const char *valueName = nullptr)
{
    return valueName ? QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(description),
                                          QString::fromLatin1(valueName))
                     : QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(description));
}

} // namespace

int glueCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Does what a person does in the window: sets the settings, opens the files given\n"
        "(CTM 1, CTM 2, Text 1, Text 2, Wav 1, Wav 2), runs Glue and then Save. The result\n"
        "log goes to standard output."));
    const QCommandLineOption help = parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("glue"), QString(), QStringLiteral("glue"));
    addSettingOptions(parser);
    const QCommandLineOption ctm1 = option("ctm1", "CTM/SPK file of half 1.", "file");
    const QCommandLineOption ctm2 = option("ctm2", "CTM/SPK file of half 2.", "file");
    const QCommandLineOption text1 = option("text1", "Transcript text of half 1.", "file");
    const QCommandLineOption text2 = option("text2", "Transcript text of half 2.", "file");
    const QCommandLineOption wav1 = option("wav1", "WAV file of half 1.", "file");
    const QCommandLineOption wav2 = option("wav2", "WAV file of half 2.", "file");
    const QCommandLineOption partsOption = option("parts", "Glue the parts listed in <list>, in its order: one part a line, its word file, text file and recording separated by tabs, optionally the gap after it in ms; paths relative to the list's folder; \"#\" starts a comment line. Not with --ctm1 ... --wav2.", "list");
    const QCommandLineOption joinedOption = option("joined", "Write the joined WAV to <file>; without it the Glue dialog is cancelled: nothing is glued, and Save fails.", "file");
    const QCommandLineOption srtOption = option("srt", "Save the SRT as <file> (default: the name Save proposes).", "file");
    const QCommandLineOption vttOption = option("vtt", "Also write the cues as WebVTT to <file>.", "file");
    const QCommandLineOption noSaveOption = option("no-save", "Stop after Glue.");
    parser.addOptions({ctm1, ctm2, text1, text2, wav1, wav2, partsOption, joinedOption, srtOption, vttOption, noSaveOption});

    if (!parser.parse(arguments))
        return usageError(parser, parser.errorText());
    if (parser.isSet(help)) {
        printText(stdout, parser.helpText());
        return 0;
    }
    if (parser.positionalArguments().size() != 1)
        return usageError(parser, QStringLiteral("glue takes no file names without an option."));
    GlueSettings settings;
    if (const QString refused = readSettingOptions(parser, settings); !refused.isEmpty())
        return usageError(parser, refused);

    const bool parts = parser.isSet(partsOption);
    for (const QCommandLineOption *half : {&ctm1, &ctm2, &text1, &text2, &wav1, &wav2})
        if (parts && parser.isSet(*half))
            return usageError(parser, QStringLiteral("--parts does not go with --ctm1, --ctm2, --text1, --text2, --wav1 or --wav2."));

    LogPrinter person;
    return runStep([&] {
        GlueJob job(person);
        job.settings = settings;

        // The Open commands in the order of the menu, each run only for a
        // file given.
        struct Open
        {
            const QCommandLineOption *file;
            void (GlueJob::*command)(int, const QString &);
            int part;
        };
        const Open opens[] = {{&ctm1, &GlueJob::openWordFile, 1},  {&ctm2, &GlueJob::openWordFile, 2},
                              {&text1, &GlueJob::openText, 1},     {&text2, &GlueJob::openText, 2},
                              {&wav1, &GlueJob::openRecording, 1}, {&wav2, &GlueJob::openRecording, 2}};
        if (parts)
            job.addPartList(parser.value(partsOption));
        for (const Open &open : opens) {
            if (!parser.isSet(*open.file))
                continue;
            (job.*open.command)(open.part, parser.value(*open.file));
        }
        // Without --joined there is no name to glue into: nothing is glued.
        job.glue(parser.value(joinedOption));
        if (!parser.isSet(noSaveOption))
            job.save(parser.value(srtOption).isEmpty() ? job.proposedSrtPath() : parser.value(srtOption));
        // A cancelled Glue made no cues to write.
        if (parser.isSet(vttOption) && job.isGlued())
            job.saveWebVtt(parser.value(vttOption));
    });
}
