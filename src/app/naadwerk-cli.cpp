// naadwerk-cli: Naadwerk's commands without the window. The first argument
// names the command; each command parses its own options.
#include "lines/efout.h"
#include "lines/herschiksrt.h"
#include "lines/tekst.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <exception>

namespace {

constexpr int uitvoerFout = 1;
constexpr int argumentFout = 2;

const char *const algemeenGebruik =
    "Usage: naadwerk-cli <command> [options]\n"
    "\n"
    "Commands:\n"
    "  reshape   Reflow the cues of an SRT file: clean, split and line-break them.\n"
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

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("naadwerk-cli"));
    const QStringList argumenten = QCoreApplication::arguments();
    const QString opdracht = argumenten.value(1);

    if (opdracht == u"reshape")
        return reshape(argumenten);

    if (opdracht == u"-h" || opdracht == u"--help" || opdracht == u"help") {
        std::fputs(algemeenGebruik, stdout);
        return 0;
    }
    meld(stderr, opdracht.isEmpty() ? QStringLiteral("No command given.")
                                    : QStringLiteral("Unknown command '%1'.").arg(opdracht));
    std::fputs(algemeenGebruik, stderr);
    return argumentFout;
}
