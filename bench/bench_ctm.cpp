// Reads a CTM file of 1,000,000 lines into a TleesCTM and compares the time
// with `wc -l` on the same file, and the peak memory with the file's size.
#include "lines/tleesctm.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

namespace {

long piekGeheugenKB()
{
    rusage r {};
    getrusage(RUSAGE_SELF, &r);
    return r.ru_maxrss;
}

double mediaan(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    const int regels = argc > 1 ? std::atoi(argv[1]) : 1000000;
    QTemporaryDir dir;
    const QString pad = dir.filePath("groot.ctm");
    {
        QFile f(pad);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        QByteArray blok;
        for (int i = 0; i < regels; ++i) {
            const double st = i * 0.31;
            blok += QByteArray("interview_part1 1 ") + QByteArray::number(st, 'f', 3) + ' ' +
                    QByteArray::number(st + 0.25, 'f', 3) + " word" + QByteArray::number(i % 977) +
                    " 0." + QByteArray::number(10 + i % 90) + (i % 2 ? " SP_01\n" : " SP_02\n");
            if (blok.size() > (1 << 20)) {
                f.write(blok);
                blok.clear();
            }
        }
        f.write(blok);
    }
    const double grootte = QFileInfo(pad).size();
    const long voor = piekGeheugenKB();

    std::vector<double> wc, ctm;
    for (int ronde = 0; ronde < 5; ++ronde) {
        QElapsedTimer t;
        t.start();
        QProcess::execute("sh", {"-c", "wc -l < '" + pad + "' > /dev/null"});
        wc.push_back(t.nsecsElapsed() / 1e6);

        t.start();
        TleesCTM c;
        c.sep = u' ';
        c.fileNaam = pad;
        c.leesBestand();
        ctm.push_back(t.nsecsElapsed() / 1e6);
        if (c.aantalWoorden != regels)
            return 2;
    }
    const long piek = piekGeheugenKB();
    std::printf("CTM file: %d lines, %.1f MB\n", regels, grootte / 1e6);
    std::printf("wc -l:       median %.1f ms\n", mediaan(wc));
    std::printf("TleesCTM:    median %.1f ms\n", mediaan(ctm));
    std::printf("time ratio (TleesCTM / wc -l): %.2f (aim <= 15)\n", mediaan(ctm) / mediaan(wc));
    std::printf("peak memory: %.1f MB, %.2f x the file (aim <= 5; %.1f MB before reading)\n",
                piek / 1e3, piek * 1e3 / grootte, voor / 1e3);
    return 0;
}
