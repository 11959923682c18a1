// Times shaping and rendering of large cue lists, to show that both grow
// linearly with the number of cues, and sets them against reading and
// writing the same SRT file without shaping.
#include "lines/tleessrts.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <malloc.h>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const char *const woordenlijst[] = {"we",    "moved", "to",      "the",     "city",   "in",     "spring",
                                    "my",    "father", "found",  "work",    "at",     "harbour", "and",
                                    "all",   "thought", "that",  "life",    "would",  "be",     "easier",
                                    "there", "school", "village", "morning", "brother", "walked", "dyke"};

// A third of the texts is longer than 95 characters; some carry a remark.
QString maakTekst(QRandomGenerator &toeval, int i)
{
    const int lengte = i % 3 == 0 ? 100 + int(toeval.bounded(200)) : 20 + int(toeval.bounded(70));
    QString t;
    if (i % 7 == 0)
        t += QStringLiteral("[laughs] ");
    while (t.size() < lengte) {
        t += QLatin1String(woordenlijst[toeval.bounded(int(std::size(woordenlijst)))]);
        t += u' ';
    }
    return t.trimmed();
}

void vul(TleesSRTs &srt, int n)
{
    QRandomGenerator toeval(7);
    // Lines of an earlier run would be freed inside the timing.
    srt.deRegels = QStringList();
    srt.maakRecords(0);
    srt.maakRecords(n);
    qint64 t = 0;
    for (int i = 0; i < n; ++i) {
        TCue &c = srt.Cues[size_t(i)];
        c.id = i + 1;
        c.st = t;
        c.et = t + 1500 + toeval.bounded(6000);
        c.T = maakTekst(toeval, i);
        t = c.et + (i % 5 == 0 ? -40 : 200); // now and then an overlap
    }
}

struct Tijd
{
    double eerste; // the first run, in fresh memory
    double mediaan;
};

// The first and the median of a few runs, in ms; voor prepares a run outside
// the timing.
Tijd meet(int keer, const std::function<void()> &voor, const std::function<void()> &werk)
{
    std::vector<double> tijden;
    for (int k = 0; k < keer; ++k) {
        voor();
        QElapsedTimer klok;
        klok.start();
        werk();
        tijden.push_back(double(klok.nsecsElapsed()) / 1e6);
    }
    const double eerste = tijden.front();
    std::sort(tijden.begin(), tijden.end());
    return {eerste, tijden[tijden.size() / 2]};
}

} // namespace

int main()
{
    // Keep freed memory in the process. Without this glibc hands the large
    // blocks of the million-cue runs back to the kernel after every run and
    // the next run pays a page fault for each fresh page, while the smaller
    // runs reuse theirs: the ratio would measure the allocator, not the code.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_MAX, 0); // large blocks from the heap too, so that they are kept

    QTemporaryDir map;
    const int keer = 5;
    Tijd vorm[2] = {};
    const int aantallen[2] = {100000, 1000000};

    for (int j = 0; j < 2; ++j) {
        const int n = aantallen[j];
        TleesSRTs srt;
        vorm[j] = meet(keer, [&] { vul(srt, n); }, [&] {
            srt.maakMooi();
            srt.schrijfSRTResultaat();
        });
        std::printf("shape + render %8d cues -> %8d cues: median %8.1f ms of %d, first run %8.1f ms\n", n,
                    srt.aantalCues, vorm[j].mediaan, keer, vorm[j].eerste);
    }
    std::printf("ratio 1,000,000 / 100,000: median %.2f, first run %.2f (linear is 10)\n",
                vorm[1].mediaan / vorm[0].mediaan, vorm[1].eerste / vorm[0].eerste);

    // The same 1,000,000 cues as an SRT file, unshaped.
    const QString bestand = map.filePath("cues.srt");
    const QString kopie = map.filePath("copy.srt");
    {
        TleesSRTs srt;
        vul(srt, aantallen[1]);
        srt.schrijfSRTResultaat();
        srt.fileNaam = bestand;
        srt.schrijfBestand();
    }
    const Tijd leesSchrijf = meet(keer, [] {}, [&] {
        TleesSRTs srt;
        srt.fileNaam = bestand;
        srt.leesBestand();
        srt.schrijfSRTResultaat();
        srt.fileNaam = kopie;
        srt.schrijfBestand();
    });
    std::printf("read + write the SRT file of 1,000,000 cues, unshaped: median %8.1f ms of %d, first run %8.1f ms\n",
                leesSchrijf.mediaan, keer, leesSchrijf.eerste);
    std::printf("ratio shape + render / read + write at 1,000,000: median %.2f, first run %.2f\n",
                vorm[1].mediaan / leesSchrijf.mediaan, vorm[1].eerste / leesSchrijf.eerste);

    const Tijd geheel = meet(keer, [] {}, [&] {
        TleesSRTs srt;
        srt.fileNaam = bestand;
        srt.leesBestand();
        srt.maakMooi();
        srt.schrijfSRTResultaat();
        srt.fileNaam = kopie;
        srt.schrijfBestand();
    });
    std::printf("read + shape + render + write (reshape) of 1,000,000 cues: median %8.1f ms of %d\n",
                geheel.mediaan, keer);

    // One cue whose text has no blank at all (a run of CJK text, say): every
    // part is cut at a count of characters. Ten times the text should take
    // about ten times as long.
    Tijd lang[2] = {};
    const int lengtes[2] = {200000, 2000000};
    for (int j = 0; j < 2; ++j) {
        TleesSRTs srt;
        lang[j] = meet(keer, [&] {
            srt.maakRecords(0);
            srt.maakRecords(1);
            srt.Cues[0] = {1, 0, 3600000, QString(lengtes[j], u'x')};
        }, [&] { srt.maakMooi(); });
        std::printf("shape one cue of %8d characters without a blank -> %6d cues: median %8.1f ms of %d\n",
                    lengtes[j], srt.aantalCues, lang[j].mediaan, keer);
    }
    std::printf("ratio 2,000,000 / 200,000 characters: median %.2f (linear is 10)\n",
                lang[1].mediaan / lang[0].mediaan);
    return 0;
}
