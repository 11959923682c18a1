#include "app/cli/reshapecommand.h"

#include "app/cli/clioutput.h"
#include "base/error.h"
#include "base/numbers.h"
#include "job/reshape.h"

#include <QCommandLineParser>

#include <utility>

int reshapeCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Reads an SRT or WebVTT file, removes bracketed remarks, splits cues longer than 95 characters,\n"
        "breaks lines longer than 45 characters and writes the result as SRT or WebVTT."));
    const QCommandLineOption help = parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("IN.srt"), QStringLiteral("The SRT or WebVTT file to read."),
                                 QStringLiteral("reshape IN.srt"));
    const QCommandLineOption outputOption({QStringLiteral("o"), QStringLiteral("output")},
                                          QStringLiteral("Write the result to <file>."),
                                          QStringLiteral("file"));
    const QCommandLineOption vttOption(QStringLiteral("vtt"),
                                       QStringLiteral("Write WebVTT instead of SRT."));
    const QCommandLineOption enlargeOption(
        QStringLiteral("enlarge"), QStringLiteral("Show every cue longer: start it earlier and end it later."));
    const QCommandLineOption beforeOption(
        QStringLiteral("before"), QStringLiteral("With --enlarge: start <ms> earlier (default 100)."),
        QStringLiteral("ms"), QStringLiteral("100"));
    const QCommandLineOption afterOption(
        QStringLiteral("after"), QStringLiteral("With --enlarge: end <ms> later (default 200)."),
        QStringLiteral("ms"), QStringLiteral("200"));
    parser.addOptions({outputOption, vttOption, enlargeOption, beforeOption, afterOption});

    if (!parser.parse(arguments))
        return usageError(parser, parser.errorText());
    if (parser.isSet(help)) {
        printText(stdout, parser.helpText());
        return 0;
    }
    const QStringList positional = parser.positionalArguments(); // "reshape" and IN
    if (positional.size() != 2)
        return usageError(parser, positional.size() < 2 ? QStringLiteral("No input file given.")
                                                        : QStringLiteral("Only one input file can be given."));
    if (!parser.isSet(outputOption) || parser.value(outputOption).isEmpty())
        return usageError(parser, QStringLiteral("No output file given (-o)."));

    ReshapeOptions options;
    options.webVtt = parser.isSet(vttOption);
    options.widen = parser.isSet(enlargeOption);
    if (!options.widen && (parser.isSet(beforeOption) || parser.isSet(afterOption)))
        return usageError(parser, QStringLiteral("--before and --after need --enlarge."));
    for (const auto &[option, target] :
         {std::pair{&beforeOption, &options.msBefore}, std::pair{&afterOption, &options.msAfter}}) {
        try {
            *target = parseInt(parser.value(*option));
        } catch (const Error &e) {
            return usageError(parser, e.message());
        }
        if (*target < 0)
            return usageError(parser, QStringLiteral("--%1 must be 0 or more.").arg(option->names().constFirst()));
    }

    const QString in = positional.at(1);
    const QString out = parser.value(outputOption);
    return runStep([&] { reshapeSubtitles(in, out, options); });
}
