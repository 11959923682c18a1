#include "app/cli/gluecommand.h"

#include "app/cli/clioutput.h"
#include "app/cli/interviewoptions.h"
#include "app/cli/logprinter.h"
#include "job/gluejob.h"

#include <QCommandLineParser>

int glueCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Does what a person does in the window: sets the settings, opens the files given\n"
        "(CTM 1, CTM 2, Text 1, Text 2, Wav 1, Wav 2), runs Glue and then Save. The result\n"
        "log goes to standard output."));
    const QCommandLineOption help = parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("glue"), QString(), QStringLiteral("glue"));
    const InterviewOptions inputs(parser, "Write the joined WAV to <file>; without it the Glue dialog is cancelled: nothing is glued, and Save fails.");
    const QCommandLineOption srtOption = makeOption("srt", "Save the SRT as <file> (default: the name Save proposes).", "file");
    const QCommandLineOption vttOption = makeOption("vtt", "Also write the cues as WebVTT to <file>.", "file");
    const QCommandLineOption noSaveOption = makeOption("no-save", "Stop after Glue.");
    const QCommandLineOption fillOption = makeOption("fill-unknown", "After Glue, put the transcript's word into every unknown-word row it fills without doubt (see naadwerk-cli review).");
    parser.addOptions({srtOption, vttOption, noSaveOption, fillOption});

    if (const std::optional<int> ended = inputs.parse(parser, arguments, help, "glue"))
        return *ended;

    LogPrinter person;
    return runStep([&] {
        GlueJob job(person);
        job.holdsWordFiles = false; // the settings are fixed before the files are read
        inputs.open(parser, job);
        // Without --joined there is no name to glue into: nothing is glued.
        job.glue(parser.value(inputs.joined));
        if (parser.isSet(fillOption))
            job.fillUnknownWords();
        if (!parser.isSet(noSaveOption))
            job.save(parser.value(srtOption).isEmpty() ? job.proposedSrtPath() : parser.value(srtOption));
        // A cancelled Glue made no cues to write.
        if (parser.isSet(vttOption) && job.isGlued())
            job.saveWebVtt(parser.value(vttOption));
    });
}
