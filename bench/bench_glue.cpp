// Glues two halves of 50,000 and of 500,000 words each (SPK files and
// transcripts of matching size, a speaker turn every few lines, no audio)
// through the job's commands, and compares the times: the job is linear when
// ten times the words take about ten times as long. The large glue is also
// compared with reading its two word files alone.
//
// bench_glue [small] [large]   (words per half; defaults 50000 and 500000)
#include "job/tnaadwerkjob.h"
#include "lines/tleesctm.h"

#include <QElapsedTimer>
#include <QFile>
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

struct Tijden
{
    double openen = 0; // the four Open commands
    double glue = 0;   // the Glue command
    double lezen = 0;  // reading the two word files alone
};

Tijden meet(const QTemporaryDir &map, int n, int rondes)
{
    const QString spk1 = map.filePath(QStringLiteral("een_%1.spk").arg(n));
    const QString spk2 = map.filePath(QStringLiteral("twee_%1.spk").arg(n));
    const QString txt1 = map.filePath(QStringLiteral("een_%1.txt").arg(n));
    const QString txt2 = map.filePath(QStringLiteral("twee_%1.txt").arg(n));
    maakHelft(spk1, txt1, n, 1);
    maakHelft(spk2, txt2, n, 2);

    std::vector<double> openen, glue, lezen;
    for (int ronde = 0; ronde < rondes; ++ronde) {
        QElapsedTimer klok;
        klok.start();
        for (const QString &pad : {spk1, spk2}) {
            TleesCTM ctm;
            ctm.sep = u'\t';
            ctm.fileNaam = pad;
            ctm.leesBestand();
        }
        lezen.push_back(klok.nsecsElapsed() / 1e6);

        TBenchPersoon persoon;
        TNaadwerkJob job(persoon);
        job.sgSRT.zetTabelBreedte(800);
        klok.restart();
        persoon.antwoord = spk1;
        job.miCTM1Click();
        persoon.antwoord = spk2;
        job.miCTM2Click();
        persoon.antwoord = txt1;
        job.miOpenText1Click();
        persoon.antwoord = txt2;
        job.miOpenText2Click();
        openen.push_back(klok.nsecsElapsed() / 1e6);
        klok.restart();
        job.miGlueClick();
        glue.push_back(klok.nsecsElapsed() / 1e6);

        if (ronde == 0)
            std::printf("  %d words a half: %d rows, %lld phrases, %lld SRT lines, %lld transcript lines\n", n,
                        job.sgCTM1.aantalRijen(), static_cast<long long>(job.deCues.size()),
                        static_cast<long long>(job.tekst(TTekstView::SRT).size()),
                        static_cast<long long>(job.deWord.size()));
    }
    return {mediaan(openen), mediaan(glue), mediaan(lezen)};
}

} // namespace

int main(int argc, char **argv)
{
    const int klein = argc > 1 ? std::atoi(argv[1]) : 50000;
    const int groot = argc > 2 ? std::atoi(argv[2]) : 500000;
    QTemporaryDir map;
    if (!map.isValid())
        return 1;

    const Tijden k = meet(map, klein, 5);
    const Tijden g = meet(map, groot, 3);
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
