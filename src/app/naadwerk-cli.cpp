// naadwerk-cli: Naadwerk's commands without the window. The first argument
// names the command; each command parses its own options.
#include "job/tnaadwerkjob.h"
#include "job/tpersoon.h"
#include "lines/efout.h"
#include "lines/herschiksrt.h"
#include "lines/tekst.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <exception>
#include <new>

namespace {

constexpr int uitvoerFout = 1;
constexpr int argumentFout = 2;

const char *const algemeenGebruik =
    "Usage: naadwerk-cli <command> [options]\n"
    "\n"
    "Commands:\n"
    "  reshape   Reflow the cues of an SRT file: clean, split and line-break them.\n"
    "  glue      Glue two aligned halves into one recording, word list, text, SRT and transcript.\n"
    "\n"
    "Run 'naadwerk-cli <command> --help' for the options of a command.\n";

void meld(std::FILE *naar, const QString &tekst)
{
    std::fputs(qUtf8Printable(tekst), naar);
    if (!tekst.endsWith(u'\n'))
        std::fputc('\n', naar);
}

int gebruiksfout(const QCommandLineParser &parser, const QString &fout)
{
    meld(stderr, fout);
    meld(stderr, parser.helpText());
    return argumentFout;
}

// Runs a command of the core; a failure is reported once, on stderr.
template <typename Opdracht>
int voerUit(Opdracht opdracht)
{
    try {
        opdracht();
        return 0;
    } catch (const EFout &e) {
        meld(stderr, e.bericht());
    } catch (const std::bad_alloc &) {
        // Inputs too large for this computer: the step ends, as on any error.
        meld(stderr, QStringLiteral("Not enough memory to finish this step."));
    } catch (const std::exception &e) {
        meld(stderr, QString::fromLocal8Bit(e.what()));
    }
    return uitvoerFout;
}

// naadwerk-cli reshape IN.srt -o OUT [--vtt] [--enlarge] [--before MS] [--after MS]
int reshape(const QStringList &argumenten)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Reads an SRT file, removes bracketed remarks, splits cues longer than 95 characters,\n"
        "breaks lines longer than 45 characters and writes the result as SRT or WebVTT."));
    const QCommandLineOption help = parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("IN.srt"), QStringLiteral("The SRT file to read."),
                                 QStringLiteral("reshape IN.srt"));
    const QCommandLineOption uitOptie({QStringLiteral("o"), QStringLiteral("output")},
                                      QStringLiteral("Write the result to <file>."),
                                      QStringLiteral("file"));
    const QCommandLineOption vttOptie(QStringLiteral("vtt"),
                                      QStringLiteral("Write WebVTT instead of SRT."));
    const QCommandLineOption veruimOptie(
        QStringLiteral("enlarge"), QStringLiteral("Show every cue longer: start it earlier and end it later."));
    const QCommandLineOption voorOptie(
        QStringLiteral("before"), QStringLiteral("With --enlarge: start <ms> earlier (default 100)."),
        QStringLiteral("ms"), QStringLiteral("100"));
    const QCommandLineOption naOptie(
        QStringLiteral("after"), QStringLiteral("With --enlarge: end <ms> later (default 200)."),
        QStringLiteral("ms"), QStringLiteral("200"));
    parser.addOptions({uitOptie, vttOptie, veruimOptie, voorOptie, naOptie});

    if (!parser.parse(argumenten))
        return gebruiksfout(parser, parser.errorText());
    if (parser.isSet(help)) {
        meld(stdout, parser.helpText());
        return 0;
    }
    const QStringList posities = parser.positionalArguments(); // "reshape" and IN
    if (posities.size() != 2)
        return gebruiksfout(parser, posities.size() < 2 ? QStringLiteral("No input file given.")
                                                        : QStringLiteral("Only one input file can be given."));
    if (!parser.isSet(uitOptie) || parser.value(uitOptie).isEmpty())
        return gebruiksfout(parser, QStringLiteral("No output file given (-o)."));

    THerschikOpties opties;
    opties.vtt = parser.isSet(vttOptie);
    opties.veruim = parser.isSet(veruimOptie);
    if (!opties.veruim && (parser.isSet(voorOptie) || parser.isSet(naOptie)))
        return gebruiksfout(parser, QStringLiteral("--before and --after need --enlarge."));
    for (const auto &[optie, doel] : {std::pair{&voorOptie, &opties.tV}, std::pair{&naOptie, &opties.tN}}) {
        const QString waarde = parser.value(*optie);
        try {
            *doel = strNaarInt(waarde);
        } catch (const EFout &e) {
            return gebruiksfout(parser, e.bericht());
        }
        if (*doel < 0)
            return gebruiksfout(parser, QStringLiteral("--%1 must be 0 or more.").arg(optie->names().constFirst()));
    }

    const QString in = posities.at(1);
    const QString uit = parser.value(uitOptie);
    return voerUit([&] { herschikSRT(in, uit, opties); });
}


// The person at the window, played from the arguments: each Open dialog
// answers with the file given for it, the Glue dialog with --joined (or
// cancels), the Save dialog with --srt or the name it proposes. The log goes
// to stdout line by line, so a failure leaves the lines so far.
class TArgumentPersoon : public TPersoon
{
public:
    QString openAntwoord;
    QString joined;
    QString srt;

    QString kiesOpenBestand(int) override { return openAntwoord; }
    QString kiesBewaarBestand(int filterEntry, const QString &map, const QString &voorstel) override
    {
        if (filterEntry == 3)
            return joined;
        if (!srt.isEmpty())
            return srt;
        return map.isEmpty() ? voorstel : map.endsWith(u'/') ? map + voorstel : map + u'/' + voorstel;
    }
    void regelGelogd(const QString &regel) override
    {
        std::fputs(qUtf8Printable(regel), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
};

// A whole number of milliseconds from 0 to 2000, digits only, as the spin
// boxes take it.
bool leesMs(const QString &tekst, int &ms)
{
    if (tekst.isEmpty() || tekst.size() > 4)
        return false;
    ms = 0;
    for (const QChar c : tekst) {
        if (c < u'0' || c > u'9')
            return false;
        ms = ms * 10 + (c.unicode() - u'0');
    }
    return ms <= 2000;
}

// naadwerk-cli glue [settings] [--ctm1 F] ... [--joined F] [--srt F] [--vtt F] [--no-save]
int glue(const QStringList &argumenten)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Does what a person does in the window: sets the settings, opens the files given\n"
        "(CTM 1, CTM 2, Text 1, Text 2, Wav 1, Wav 2), runs Glue and then Save. The result\n"
        "log goes to standard output."));
    const QCommandLineOption help = parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("glue"), QString(), QStringLiteral("glue"));
    const auto optie = [](const char *naam, const char *uitleg, const char *waarde = nullptr) {
        return waarde ? QCommandLineOption(QString::fromLatin1(naam), QString::fromLatin1(uitleg),
                                           QString::fromLatin1(waarde))
                      : QCommandLineOption(QString::fromLatin1(naam), QString::fromLatin1(uitleg));
    };
    const QCommandLineOption sepOptie = optie("separator", "Field separator of the CTM files: tab (default) or space.", "tab|space");
    const QCommandLineOption geenVeruim = optie("no-enlarge", "Do not enlarge the display time of the cues.");
    const QCommandLineOption voorOptie = optie("before", "Start cues <ms> earlier, 0 to 2000 (default 100).", "ms");
    const QCommandLineOption naOptie = optie("after", "End cues <ms> later, 0 to 2000 (default 200).", "ms");
    const QCommandLineOption sterOptie = optie("keep-star-words", "Keep words holding \"*\" in the phrases.");
    const QCommandLineOption silOptie = optie("keep-sil", "Keep \"SIL\" in the phrase texts.");
    const QCommandLineOption ctm1 = optie("ctm1", "CTM/SPK file of half 1.", "file");
    const QCommandLineOption ctm2 = optie("ctm2", "CTM/SPK file of half 2.", "file");
    const QCommandLineOption text1 = optie("text1", "Transcript text of half 1.", "file");
    const QCommandLineOption text2 = optie("text2", "Transcript text of half 2.", "file");
    const QCommandLineOption wav1 = optie("wav1", "WAV file of half 1.", "file");
    const QCommandLineOption wav2 = optie("wav2", "WAV file of half 2.", "file");
    const QCommandLineOption joinedOptie = optie("joined", "Write the joined WAV to <file>; without it the Glue dialog is cancelled.", "file");
    const QCommandLineOption srtOptie = optie("srt", "Save the SRT as <file> (default: the name Save proposes).", "file");
    const QCommandLineOption vttOptie = optie("vtt", "Also write the cues as WebVTT to <file>.", "file");
    const QCommandLineOption geenSave = optie("no-save", "Stop after Glue.");
    parser.addOptions({sepOptie, geenVeruim, voorOptie, naOptie, sterOptie, silOptie, ctm1, ctm2, text1,
                       text2, wav1, wav2, joinedOptie, srtOptie, vttOptie, geenSave});

    if (!parser.parse(argumenten))
        return gebruiksfout(parser, parser.errorText());
    if (parser.isSet(help)) {
        meld(stdout, parser.helpText());
        return 0;
    }
    if (parser.positionalArguments().size() != 1)
        return gebruiksfout(parser, QStringLiteral("glue takes no file names without an option."));
    const QString sep = parser.value(sepOptie);
    if (parser.isSet(sepOptie) && sep != u"tab" && sep != u"space")
        return gebruiksfout(parser, QStringLiteral("--separator must be tab or space."));
    int voor = 100, na = 200;
    if (parser.isSet(voorOptie) && !leesMs(parser.value(voorOptie), voor))
        return gebruiksfout(parser, QStringLiteral("--before must be a whole number from 0 to 2000."));
    if (parser.isSet(naOptie) && !leesMs(parser.value(naOptie), na))
        return gebruiksfout(parser, QStringLiteral("--after must be a whole number from 0 to 2000."));

    TArgumentPersoon persoon;
    persoon.joined = parser.value(joinedOptie);
    persoon.srt = parser.value(srtOptie);
    return voerUit([&] {
        TNaadwerkJob job(persoon);
        job.rbTab = sep != u"space";
        job.cbEnlarge = !parser.isSet(geenVeruim);
        job.sbBefore = voor;
        job.sbBeforeChange();
        job.sbAfter = na;
        job.sbAfterChange();
        job.cbSkipwords = !parser.isSet(sterOptie);
        job.cbSilence = !parser.isSet(silOptie);

        const std::pair<const QCommandLineOption *, void (TNaadwerkJob::*)()> openen[] = {
            {&ctm1, &TNaadwerkJob::miCTM1Click},        {&ctm2, &TNaadwerkJob::miCTM2Click},
            {&text1, &TNaadwerkJob::miOpenText1Click}, {&text2, &TNaadwerkJob::miOpenText2Click},
            {&wav1, &TNaadwerkJob::miWav1Click},        {&wav2, &TNaadwerkJob::miWav2Click}};
        for (const auto &[bestand, opdracht] : openen) {
            if (!parser.isSet(*bestand))
                continue;
            persoon.openAntwoord = parser.value(*bestand);
            (job.*opdracht)();
        }
        job.miGlueClick();
        if (!parser.isSet(geenSave))
            job.miSaveClick();
        if (parser.isSet(vttOptie))
            job.bewaarVTT(parser.value(vttOptie));
    });
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("naadwerk-cli"));
    const QStringList argumenten = QCoreApplication::arguments();
    const QString opdracht = argumenten.value(1);

    if (opdracht == u"reshape")
        return reshape(argumenten);
    if (opdracht == u"glue")
        return glue(argumenten);

    if (opdracht == u"-h" || opdracht == u"--help" || opdracht == u"help") {
        std::fputs(algemeenGebruik, stdout);
        return 0;
    }
    meld(stderr, opdracht.isEmpty() ? QStringLiteral("No command given.")
                                    : QStringLiteral("Unknown command '%1'.").arg(opdracht));
    std::fputs(algemeenGebruik, stderr);
    return argumentFout;
}
