#include "app/cli/checkcommand.h"

#include "app/cli/clioutput.h"
#include "app/cli/interviewoptions.h"
#include "base/error.h"
#include "job/settingstable.h"
#include "job/subtitlecheck.h"

#include <QCommandLineParser>

#include <cstdio>

int checkCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Checks the cues of an SRT or WebVTT file against a subtitle profile: line length,\n"
        "lines, reading speed, shortest and longest time on screen and the gap between cues.\n"
        "Writes one line per problem (cue, start, kind, value, limit) on standard output and\n"
        "a summary line on standard error. Exits with 0 when there is none, 1 when there is\n"
        "any or the file cannot be read, 2 for a usage error."));
    const QCommandLineOption help = parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The SRT or WebVTT file to check."),
                                 QStringLiteral("check FILE.srt|FILE.vtt"));
    const QCommandLineOption profileOption = makeOption(
        "profile", "The profile: classic, streaming, streaming-en, teletext, captions32, or a profile file.", "name");
    const QCommandLineOption fpsOption = makeOption("fps", "The frame rate, for gaps counted in frames, 1 to 120 (default 25).", "fps");
    const QCommandLineOption formatOption = makeOption("format", "tsv (default: a header line, then one line per problem, fields separated by tabs) or json.", "tsv|json");
    parser.addOptions({profileOption, fpsOption, formatOption});

    if (!parser.parse(arguments))
        return usageError(parser, parser.errorText());
    if (parser.isSet(help)) {
        printText(stdout, parser.helpText());
        return 0;
    }
    const QStringList positional = parser.positionalArguments(); // "check" and FILE
    if (positional.size() != 2)
        return usageError(parser, positional.size() < 2 ? QStringLiteral("No subtitle file given.")
                                                        : QStringLiteral("Only one subtitle file can be given."));
    if (!parser.isSet(profileOption))
        return usageError(parser, QStringLiteral("No profile given (--profile)."));
    const QString format = parser.isSet(formatOption) ? parser.value(formatOption) : QStringLiteral("tsv");
    if (format != u"tsv" && format != u"json")
        return usageError(parser, QStringLiteral("--format must be tsv or json."));
    double fps = GlueSettings{}.framesPerSecond;
    if (parser.isSet(fpsOption)) {
        const Setting &fpsSetting = *findSetting(u"framesPerSecond");
        bool ok = false;
        fps = parser.value(fpsOption).toDouble(&ok);
        if (!ok || !fpsSetting.accepts(fps))
            return usageError(parser, QStringLiteral("--fps must be a number from %1 to %2.")
                                          .arg(fpsSetting.low)
                                          .arg(fpsSetting.high));
    }

    // A profile that is neither a name nor a good file is a wrong argument.
    SubtitleProfile profile;
    try {
        profile = subtitleProfileNamed(parser.value(profileOption));
    } catch (const Error &e) {
        return usageError(parser, e.message());
    }

    bool anyProblem = false;
    const int code = runStep([&] {
        const CueCheck check = checkSubtitleFile(positional.at(1), profile, fps);
        const QByteArray out = format == u"json" ? cueCheckJson(check, profile.name) : cueCheckTsv(check);
        std::fwrite(out.constData(), 1, static_cast<std::size_t>(out.size()), stdout);
        printText(stderr, cueCheckSummary(check, profile.name));
        anyProblem = !check.problems.empty();
    });
    return code != 0 ? code : (anyProblem ? exitFailure : 0);
}
