#include "app/cli/reviewcommand.h"

#include "app/cli/clioutput.h"
#include "app/cli/interviewoptions.h"
#include "base/atomicfile.h"
#include "base/error.h"
#include "job/gluejob.h"
#include "job/reviewlistfile.h"

#include <QCommandLineParser>
#include <QTemporaryDir>

#include <cstdio>

int reviewCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Opens the files given and glues them as glue does, without Save, and writes the\n"
        "review list: one line per doubtful spot of the words against the transcript and\n"
        "their times (part, time, row, kind, words, transcript), sorted by time. Exits with\n"
        "0 whatever it finds, 1 on an error."));
    const QCommandLineOption help = parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("review"), QString(), QStringLiteral("review"));
    const InterviewOptions inputs(parser, "Write the joined WAV to <file> (default: a temporary file, removed at the end).");
    const QCommandLineOption fillOption = makeOption("fill-unknown", "Fill the unknown words the transcript fills without doubt first, as glue --fill-unknown does; they are listed as filled.");
    const QCommandLineOption outputOption(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                          QStringLiteral("Write the list to <file> instead of standard output."),
                                          QStringLiteral("file"));
    const QCommandLineOption formatOption = makeOption("format", "tsv (default: a header line, then one line per spot, fields separated by tabs) or json.", "tsv|json");
    parser.addOptions({fillOption, outputOption, formatOption});

    if (const std::optional<int> ended = inputs.parse(parser, arguments, help, "review"))
        return *ended;
    const QString format = parser.isSet(formatOption) ? parser.value(formatOption) : QStringLiteral("tsv");
    if (format != u"tsv" && format != u"json")
        return usageError(parser, QStringLiteral("--format must be tsv or json."));

    Person person; // the log stays unread: standard output is the list's
    return runStep([&] {
        GlueJob job(person);
        job.holdsWordFiles = false; // the settings are fixed before the files are read
        inputs.open(parser, job);
        QTemporaryDir temporary;
        QString joined = parser.value(inputs.joined);
        if (joined.isEmpty()) {
            if (!temporary.isValid())
                throw Error(QStringLiteral("Cannot create a folder for the joined recording. %1").arg(temporary.errorString()));
            joined = temporary.filePath(QStringLiteral("joined.wav"));
        }
        job.glue(joined);
        if (parser.isSet(fillOption))
            job.fillUnknownWords();
        const QByteArray out = format == u"json" ? reviewListJson(job.review()) : reviewListTsv(job.review());
        if (parser.isSet(outputOption)) {
            AtomicFile file(parser.value(outputOption));
            file.write(out);
            file.commit();
        } else {
            std::fwrite(out.constData(), 1, static_cast<std::size_t>(out.size()), stdout);
        }
    });
}
