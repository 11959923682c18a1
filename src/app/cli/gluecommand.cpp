#include "app/cli/gluecommand.h"

#include "app/cli/logprinter.h"
#include "app/cli/clioutput.h"
#include "job/gluejob.h"

#include <QCommandLineParser>

namespace {

// A whole number of milliseconds from 0 to 2000, digits only, as the spin
// boxes of the window take it.
bool parseMs(const QString &text, int &ms)
{
    if (text.isEmpty() || text.size() > 4)
        return false;
    ms = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
        ms = ms * 10 + (c.unicode() - u'0');
    }
    return ms <= 2000;
}

// A number from 0 to 1 in the C locale's form ("0.5", "1", ".25").
bool parseUnit(const QString &text, double &value)
{
    bool ok = false;
    value = text.toDouble(&ok);
    return ok && !text.contains(u'e', Qt::CaseInsensitive) && value >= 0 && value <= 1;
}

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
    const QCommandLineOption separatorOption = option("separator", "Field separator of the CTM files: tab (default) or space.", "tab|space");
    const QCommandLineOption layoutOption = option("layout", "Layout of the CTM files: aligner (field 4 is the end, default) or nist (NIST CTM: field 4 is the duration).", "aligner|nist");
    const QCommandLineOption pauseOption = option("pause-ends-phrase", "End phrases at pauses (a SIL word or a gap between words) of at least <ms>, 100 to 10000.", "ms");
    const QCommandLineOption noEnlargeOption = option("no-enlarge", "Do not enlarge the display time of the cues.");
    const QCommandLineOption beforeOption = option("before", "Start cues <ms> earlier, 0 to 2000 (default 100).", "ms");
    const QCommandLineOption afterOption = option("after", "End cues <ms> later, 0 to 2000 (default 200).", "ms");
    const QCommandLineOption starOption = option("keep-star-words", "Keep words holding \"*\" in the phrases.");
    const QCommandLineOption silOption = option("keep-sil", "Keep \"SIL\" in the phrase texts.");
    const QCommandLineOption pageOption = option("page", "Karaoke page: classic (default) or standalone (one file, no network, fast on long interviews).", "classic|standalone");
    const QCommandLineOption channelsOption = option("channels", "What of a stereo recording is joined: mix (default: the channels averaged), left (the first channel) or right (the second).", "mix|left|right");
    const QCommandLineOption lowOption = option("low-confidence", "The standalone page marks words below confidence <x>, 0 to 1 (default 0.5; 0 marks none).", "x");
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
    parser.addOptions({separatorOption, layoutOption, pauseOption, noEnlargeOption, beforeOption, afterOption, starOption, silOption, pageOption, lowOption, channelsOption, ctm1,
                       ctm2, text1, text2, wav1, wav2, partsOption, joinedOption, srtOption, vttOption, noSaveOption});

    if (!parser.parse(arguments))
        return usageError(parser, parser.errorText());
    if (parser.isSet(help)) {
        printText(stdout, parser.helpText());
        return 0;
    }
    if (parser.positionalArguments().size() != 1)
        return usageError(parser, QStringLiteral("glue takes no file names without an option."));
    const QString separator = parser.value(separatorOption);
    if (parser.isSet(separatorOption) && separator != u"tab" && separator != u"space")
        return usageError(parser, QStringLiteral("--separator must be tab or space."));
    const QString layout = parser.value(layoutOption);
    if (parser.isSet(layoutOption) && layout != u"aligner" && layout != u"nist")
        return usageError(parser, QStringLiteral("--layout must be aligner or nist."));
    int msBefore = 100, msAfter = 200;
    if (parser.isSet(beforeOption) && !parseMs(parser.value(beforeOption), msBefore))
        return usageError(parser, QStringLiteral("--before must be a whole number from 0 to 2000."));
    if (parser.isSet(afterOption) && !parseMs(parser.value(afterOption), msAfter))
        return usageError(parser, QStringLiteral("--after must be a whole number from 0 to 2000."));
    const QString pageStyle = parser.value(pageOption);
    if (parser.isSet(pageOption) && pageStyle != u"classic" && pageStyle != u"standalone")
        return usageError(parser, QStringLiteral("--page must be classic or standalone."));
    const QString channels = parser.value(channelsOption);
    if (parser.isSet(channelsOption) && channels != u"mix" && channels != u"left" && channels != u"right")
        return usageError(parser, QStringLiteral("--channels must be mix, left or right."));
    double lowConfidence = 0.5;
    if (parser.isSet(lowOption) && !parseUnit(parser.value(lowOption), lowConfidence))
        return usageError(parser, QStringLiteral("--low-confidence must be a number from 0 to 1."));

    const bool parts = parser.isSet(partsOption);
    for (const QCommandLineOption *half : {&ctm1, &ctm2, &text1, &text2, &wav1, &wav2})
        if (parts && parser.isSet(*half))
            return usageError(parser, QStringLiteral("--parts does not go with --ctm1, --ctm2, --text1, --text2, --wav1 or --wav2."));

    int pauseMs = 1000;
    if (parser.isSet(pauseOption)) {
        bool ok = false;
        const QString text = parser.value(pauseOption);
        pauseMs = text.toInt(&ok);
        if (!ok || text.startsWith(u'+') || pauseMs < 100 || pauseMs > 10000)
            return usageError(parser, QStringLiteral("--pause-ends-phrase must be a whole number from 100 to 10000."));
    }

    LogPrinter person;
    return runStep([&] {
        GlueJob job(person);
        job.settings.tabSeparated = separator != u"space";
        job.settings.layout = layout == u"nist" ? WordFileLayout::Nist : WordFileLayout::Aligner;
        job.settings.widenCues = !parser.isSet(noEnlargeOption);
        job.settings.msBefore = msBefore;
        job.settings.msAfter = msAfter;
        job.settings.skipStarWords = !parser.isSet(starOption);
        job.settings.blankSilence = !parser.isSet(silOption);
        job.settings.pageStyle = pageStyle == u"standalone" ? GlueSettings::PageStyle::Standalone
                                                            : GlueSettings::PageStyle::Classic;
        job.settings.lowConfidence = lowConfidence;
        job.settings.channels = channels == u"left"    ? ChannelChoice::Left
                                : channels == u"right" ? ChannelChoice::Right
                                                       : ChannelChoice::Mix;
        job.settings.endPhrasesAtPauses = parser.isSet(pauseOption);
        job.settings.phrasePauseMs = pauseMs;

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
