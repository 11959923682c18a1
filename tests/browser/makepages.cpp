// Writes the classic and the standalone karaoke page of a made-up interview
// of WORDS words, for the browser tests and the page benchmark:
//
//   naadwerk-makepages OUTDIR WORDS [AUDIO-NAME]
//
// gives OUTDIR/classic-WORDS.html and OUTDIR/standalone-WORDS.html, both
// playing AUDIO-NAME (default long.wav) from their folder. The interview has
// a word every 300 ms, a sentence end and a silence every 12 words, a new
// speaker every 60 words and confidences from 0.30 to 1.00.

#include "base/atomicfile.h"
#include "formats/karaokebody.h"
#include "formats/standalonepage.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool ok = false;
    const long long count = args.size() >= 3 ? args[2].toLongLong(&ok) : 0;
    if (!ok || count < 1) {
        std::fprintf(stderr, "usage: naadwerk-makepages OUTDIR WORDS [AUDIO-NAME]\n");
        return 2;
    }
    const QString dir = args[1];
    const QString audio = args.size() >= 4 ? args[3] : QStringLiteral("long.wav");
    QDir().mkpath(dir);

    static const char *const vocabulary[] = {"we",    "lived", "near", "the",   "harbour", "and",    "my",
                                             "father", "worked", "on",  "ships", "every",   "morning", "before",
                                             "school", "I",     "carried", "bread", "to",     "them"};
    const QString speakers[] = {QStringLiteral("Interviewer"), QStringLiteral("Respondent")};
    std::vector<WordRow> rows;
    rows.reserve(static_cast<size_t>(count + count / 12 + 1));
    std::int64_t t = 0;
    for (long long i = 0; i < count; ++i) {
        WordRow row;
        row.number = static_cast<std::int64_t>(rows.size()) + 1;
        row.start = t;
        row.end = 250;
        row.text = QString::fromLatin1(vocabulary[(i * 7 + i / 20) % 20]);
        if (i % 12 == 11)
            row.text += u'.';
        row.confidence = 0.30f + static_cast<float>((i * 37) % 71) / 100.0f;
        row.speaker = speakers[(i / 60) % 2];
        rows.push_back(row);
        t += 300;
        if (i % 12 == 11) {
            WordRow silence = row;
            silence.number += 1;
            silence.text = QStringLiteral("SIL");
            silence.start = t - 50;
            rows.push_back(silence);
        }
    }

    const QString name = QString::number(count);
    AtomicFile classic(dir + QStringLiteral("/classic-") + name + QStringLiteral(".html"));
    writeKaraokePage(classic, rows, QStringLiteral("Interview of ") + name + QStringLiteral(" words"), audio);
    classic.commit();
    AtomicFile standalone(dir + QStringLiteral("/standalone-") + name + QStringLiteral(".html"));
    StandalonePage().write(standalone, rows, QStringLiteral("Interview of ") + name + QStringLiteral(" words"),
                           audio);
    standalone.commit();
    return 0;
}
