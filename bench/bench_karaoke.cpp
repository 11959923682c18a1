// Time of building the karaoke page (and of writing it) for word tables of
// 100,000 and 1,000,000 rows, and their ratio: the walk is linear, so the
// ratio should stay near 10. Run by hand; never part of the tests.
#include "job/ttekstabel.h"
#include "karaoke/karaoketranscript.h"
#include "lines/regellijst.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void vul(TTekstTabel &tabel, int n)
{
    static const QString woorden[] = {QStringLiteral("well"), QStringLiteral("I"),
                                      QStringLiteral("think"), QStringLiteral("so."),
                                      QStringLiteral("SIL"), QStringLiteral("<unk>")};
    std::vector<QString> cellen;
    cellen.reserve(static_cast<size_t>(n) * 6);
    for (int r = 0; r < n; ++r) {
        cellen.push_back(QString::number(r + 1));
        cellen.push_back(QString::number(r * 300));
        cellen.push_back(QString::number(r * 300 + 250));
        cellen.push_back(woorden[r % 6]);
        cellen.push_back(QStringLiteral("0.90"));
        cellen.push_back(r % 12 < 6 ? QStringLiteral("Interviewer") : QStringLiteral("Respondent"));
    }
    tabel.vervangAlles(std::move(cellen));
}

double meet(int n, const QString &map)
{
    TTekstTabel tabel({QStringLiteral("#"), QStringLiteral("Start time"), QStringLiteral("Duration"),
                       QStringLiteral("Transcription"), QStringLiteral("Confidentiality"),
                       QStringLiteral("Speaker")});
    vul(tabel, n);
    std::vector<double> tijden;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        const QStringList pagina = maakKaraokePagina(tabel, QStringLiteral("bench"), map + "/b.wav");
        bewaarRegellijst(map + "/b.html", pagina);
        tijden.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(tijden.begin(), tijden.end());
    return tijden[tijden.size() / 2];
}

} // namespace

int main()
{
    QTemporaryDir map;
    const double klein = meet(100000, map.path());
    const double groot = meet(1000000, map.path());
    std::printf("karaoke page, 100k rows: %.1f ms (median of 5)\n", klein);
    std::printf("karaoke page,   1M rows: %.1f ms (median of 5)\n", groot);
    std::printf("ratio 1M / 100k: %.2f (linear: about 10)\n", groot / klein);
    return 0;
}
