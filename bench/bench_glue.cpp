// Glues two halves of 50,000 and of 500,000 words each (SPK files and
// transcripts of matching size, a speaker turn every few lines, no audio)
// through the job's commands, and compares the times: the job is linear when
// ten times the words take about ten times as long. The large glue is also
// compared with reading its two word files alone. Medians over several runs,
// each in a fresh process.
//
// bench_glue [small] [large]   (words per half; defaults 50000 and 500000)
#include "job/tnaadwerkjob.h"
#include "lines/tleesctm.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Answers the Open dialogs with the files of the bench and cancels the
// Glue dialog: the glue runs without audio.
class TBenchPersoon : public TPersoon
{
public:
    QString antwoord;
    QString kiesOpenBestand(int) override { return antwoord; }
    QString kiesBewaarBestand(int, const QString &, const QString &) override { return QString(); }
};

const char *const woorden[] = {"so", "we", "moved", "to", "the", "city", "in", "spring", "of", "that",
                               "year", "because", "my", "father", "had", "found", "work", "at", "harbour",
                               "uh*", "and", "all", "thought", "life", "would", "be", "easier", "there"};
constexpr int aantalSoorten = sizeof(woorden) / sizeof(woorden[0]);

// An SPK file of n words and the transcript that goes with it: sentences of
// 6 to 17 words, a "SIL" now and then, three text lines of about ten words
// per turn, and every turn framed by start, speaker and end lines.
void maakHelft(const QString &spk, const QString &txt, int n, int helft)
{
    QFile woordFile(spk), tekstFile(txt);
    if (!woordFile.open(QIODevice::WriteOnly) || !tekstFile.open(QIODevice::WriteOnly))
        std::exit(1);
    QByteArray w, t, regel;
    int zin = 0, inRegel = 0, regelsInBeurt = 0, beurt = 0;
    qint64 ms = 0;
    for (int i = 0; i < n; ++i) {
        const bool silte = i % 53 == 52;
        const bool einde = !silte && ++zin >= 6 + (i * 7) % 12;
        QByteArray woord = silte ? QByteArray("SIL") : QByteArray(woorden[(i * 13 + helft) % aantalSoorten]);
        if (einde) {
            woord += (i % 5 == 0) ? "?" : ".";
            zin = 0;
        }
        const QByteArray spreker = beurt % 2 ? "SP_02 Bob" : "SP_01 Anna";
        w += "interview_" + QByteArray::number(helft) + "\t1\t" + QByteArray::number(ms / 1000.0, 'f', 3) + '\t'
             + QByteArray::number((ms + 240) / 1000.0, 'f', 3) + '\t' + woord + "\t0." + QByteArray::number(50 + i % 50)
             + '\t' + spreker + '\n';
        if (regelsInBeurt == 0 && inRegel == 0)
            t += "[StartTime: " + QByteArray::number(ms) + " ms]\n[Speaker: " + spreker + "]\n";
        if (!silte) {
            regel += (inRegel ? " " : "") + woord;
            ++inRegel;
        }
        if (inRegel >= 10 || i == n - 1) {
            t += regel + '\n';
            regel.clear();
            inRegel = 0;
            if (++regelsInBeurt == 3 || i == n - 1) {
                t += "[EndTime: " + QByteArray::number(ms + 240) + " ms]\n\n";
                regelsInBeurt = 0;
                ++beurt;
            }
        }
        ms += 300;
        if (w.size() > (1 << 20)) {
            woordFile.write(w);
            tekstFile.write(t);
            w.clear();
            t.clear();
        }
    }
    woordFile.write(w);
    tekstFile.write(t);
}

double mediaan(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

QString bestand(const QString &map, const char *soort, int n)
{
    return QStringLiteral("%1/%2_%3").arg(map, QString::fromLatin1(soort)).arg(n);
}

// One measurement in this process, printed as milliseconds on stdout.
// "lees": reading the two word files alone; "glue": the four Open commands,
// then the Glue command.
int meetHier(const QString &soort, const QString &map, int n)
{
    const QString spk1 = bestand(map, "een", n) + ".spk", spk2 = bestand(map, "twee", n) + ".spk";
    QElapsedTimer klok;
    klok.start();
    if (soort == u"lees") {
        for (const QString &pad : {spk1, spk2}) {
            TleesCTM ctm;
            ctm.sep = u'\t';
            ctm.fileNaam = pad;
            ctm.leesBestand();
        }
        std::printf("%f\n", klok.nsecsElapsed() / 1e6);
        return 0;
    }
    TBenchPersoon persoon;
    TNaadwerkJob job(persoon);
    job.sgSRT.zetTabelBreedte(800);
    klok.restart();
    persoon.antwoord = spk1;
    job.miCTM1Click();
    persoon.antwoord = spk2;
    job.miCTM2Click();
    persoon.antwoord = bestand(map, "een", n) + ".txt";
    job.miOpenText1Click();
    persoon.antwoord = bestand(map, "twee", n) + ".txt";
    job.miOpenText2Click();
    const double openen = klok.nsecsElapsed() / 1e6;
    klok.restart();
    job.miGlueClick();
    const double glue = klok.nsecsElapsed() / 1e6;
    std::printf("%f %f %d %lld %lld %lld\n", openen, glue, job.sgCTM1.aantalRijen(),
                static_cast<long long>(job.deCues.size()),
                static_cast<long long>(job.tekst(TTekstView::SRT).size()),
                static_cast<long long>(job.deWord.size()));
    return 0;
}

struct Tijden
{
    double openen = 0; // the four Open commands
    double glue = 0;   // the Glue command
    double lezen = 0;  // reading the two word files alone
};

// Every measurement runs in a program of its own, as a glue from the command
// line does: a fresh heap each time, so the small glue does not run on memory
// that an earlier round left warm while the large one, whose tables exceed
// what the allocator keeps, always starts cold.
Tijden meet(const QString &programma, const QString &map, int n, int rondes)
{
    maakHelft(bestand(map, "een", n) + ".spk", bestand(map, "een", n) + ".txt", n, 1);
    maakHelft(bestand(map, "twee", n) + ".spk", bestand(map, "twee", n) + ".txt", n, 2);
    const auto draai = [&](const char *soort) {
        QProcess p;
        p.start(programma, {QStringLiteral("--een"), QString::fromLatin1(soort), map, QString::number(n)});
        if (!p.waitForFinished(-1) || p.exitCode() != 0)
            std::exit(1);
        return QString::fromLatin1(p.readAllStandardOutput()).split(u' ');
    };
    std::vector<double> openen, glue, lezen;
    for (int ronde = 0; ronde < rondes; ++ronde) {
        lezen.push_back(draai("lees").value(0).toDouble());
        const QStringList uit = draai("glue");
        openen.push_back(uit.value(0).toDouble());
        glue.push_back(uit.value(1).toDouble());
        if (ronde == 0)
            std::printf("  %d words a half: %s rows, %s phrases, %s SRT lines, %s transcript lines\n", n,
                        qPrintable(uit.value(2)), qPrintable(uit.value(3)), qPrintable(uit.value(4)),
                        qPrintable(uit.value(5).trimmed()));
    }
    return {mediaan(openen), mediaan(glue), mediaan(lezen)};
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arg = app.arguments();
    if (arg.value(1) == u"--een")
        return meetHier(arg.value(2), arg.value(3), arg.value(4).toInt());

    const int klein = arg.size() > 1 ? arg[1].toInt() : 50000;
    const int groot = arg.size() > 2 ? arg[2].toInt() : 500000;
    QTemporaryDir map;
    if (!map.isValid())
        return 1;

    const Tijden k = meet(app.applicationFilePath(), map.path(), klein, 9);
    const Tijden g = meet(app.applicationFilePath(), map.path(), groot, 5);
    std::printf("%-26s %12s %12s\n", "median ms", "small", "large");
    std::printf("%-26s %12.1f %12.1f\n", "read two word files", k.lezen, g.lezen);
    std::printf("%-26s %12.1f %12.1f\n", "open CTM 1/2, Text 1/2", k.openen, g.openen);
    std::printf("%-26s %12.1f %12.1f\n", "Glue command", k.glue, g.glue);
    std::printf("%-26s %12.1f %12.1f\n", "open + Glue", k.openen + k.glue, g.openen + g.glue);
    std::printf("large / small, open + Glue: %.2f (aim <= 12 for ten times the words)\n",
                (g.openen + g.glue) / (k.openen + k.glue));
    std::printf("large / small, Glue alone:  %.2f\n", g.glue / k.glue);
    std::printf("large open + Glue / reading its two word files: %.2f (aim <= 4)\n",
                (g.openen + g.glue) / g.lezen);
    std::printf("large Glue alone / reading its two word files:  %.2f\n", g.glue / g.lezen);
    return 0;
}
