// Time of writing the files "Also write" adds to Save (TextGrid, EAF,
// Naadwerk JSON, WebVTT with word times) for an interview of two parts of
// 500,000 words each, next to the joined word file Save always writes: the
// writers stream to the file, so each should cost a small multiple of the
// word file. Fastest of three runs. Run by hand; never part of the tests.
#include "base/atomicfile.h"
#include "formats/annotatedinterview.h"
#include "formats/cue.h"
#include "formats/eafwriter.h"
#include "formats/naadwerkjsonwriter.h"
#include "formats/textgridwriter.h"
#include "formats/wordfilewriter.h"
#include "formats/wordvttwriter.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int partWords = 500000;

std::vector<WordRow> makeRows(int n)
{
    static const QString words[] = {QStringLiteral("well"), QStringLiteral("I"), QStringLiteral("think"),
                                    QStringLiteral("so."), QStringLiteral("SIL"), QStringLiteral("<unk>")};
    const QString speakers[] = {QStringLiteral("Interviewer"), QStringLiteral("Respondent")};
    std::vector<WordRow> rows(static_cast<std::size_t>(n));
    for (int r = 0; r < n; ++r) {
        WordRow &row = rows[static_cast<std::size_t>(r)];
        row.number = r + 1;
        row.start = static_cast<std::int64_t>(r) * 300;
        row.end = static_cast<std::int64_t>(r) * 300 + 250;
        row.text = words[r % 6];
        row.confidence = 0.9f;
        row.speaker = speakers[(r / 12) % 2];
    }
    return rows;
}

double fastestOfThree(const std::function<void()> &work)
{
    double best = 1e300;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

int main()
{
    QTemporaryDir folder;
    const std::vector<WordRow> rows = makeRows(2 * partWords);
    AnnotatedInterview interview;
    interview.words = rows;
    std::vector<Cue> cues;
    for (std::size_t first = 0; first < rows.size(); first += 4) {
        const std::size_t last = std::min(first + 3, rows.size() - 1);
        interview.phrases.push_back({first, last, QStringLiteral("well I think so.")});
        cues.push_back({static_cast<std::int32_t>(cues.size() + 1), rows[first].start, rows[last].end,
                        QStringLiteral("well I think so.")});
    }
    interview.partFirstWords = {0, partWords};
    interview.partStartsMs = {0, rows[partWords].start};
    interview.lengthMs = rows.back().end;
    interview.recordingPath = folder.filePath(QStringLiteral("b.wav"));

    const auto timed = [&](const char *name, const char *file, const std::function<void(AtomicFile &)> &write) {
        const QString path = folder.filePath(QString::fromLatin1(file));
        const double ms = fastestOfThree([&] {
            AtomicFile out(path);
            write(out);
            out.commit();
        });
        std::printf("%-28s %8.0f ms %8.1f MB\n", name, ms, QFileInfo(path).size() / 1e6);
    };
    std::printf("%d words, %zu phrases\n", 2 * partWords, interview.phrases.size());
    timed("word file (SPK)", "b.spk", [&](AtomicFile &out) { writeWordFile(out, rows, QStringLiteral("b"), u'\t', true); });
    timed("TextGrid", "b.TextGrid", [&](AtomicFile &out) { writeTextGrid(out, interview); });
    timed("EAF", "b.eaf", [&](AtomicFile &out) { writeEaf(out, interview, QDateTime::currentDateTime()); });
    timed("Naadwerk JSON", "b.json", [&](AtomicFile &out) { writeNaadwerkJson(out, interview); });
    timed("WebVTT with word times", "b.vtt",
          [&](AtomicFile &out) { writeWordTimedVtt(out, cues, rows, CueMarkup::Srt); });
    return 0;
}
