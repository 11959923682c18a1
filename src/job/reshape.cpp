#include "job/reshape.h"

#include "base/error.h"
#include "base/textfile.h"
#include "formats/cuelist.h"
#include "formats/subtitlereader.h"

#include <algorithm>

void reshapeSubtitles(const QString &in, const QString &out, const ReshapeOptions &options)
{
    CueList list;
    {
        // The file's lines go once the cues are read: a million of them would
        // stay beside the lines written.
        const QStringList lines = readTextFile(in, FileKind::PipesToo);
        list.cues = parseSubtitleLines(lines, in);
        list.markup = subtitleMarkup(lines);
    }
    list.shape();
    // Players show cues in the order of their start times; the parts of a
    // long cue go among the cues that start during it.
    std::stable_sort(list.cues.begin(), list.cues.end(),
                     [](const Cue &a, const Cue &b) { return a.start < b.start; });
    list.dropEmptyCues();
    if (list.cues.empty())
        throw Error(QStringLiteral("\"%1\": no subtitles found").arg(in));
    if (options.widen)
        list.widen(options.msBefore, options.msAfter);
    writeTextFile(out, options.webVtt ? list.webVttLines() : list.srtLines());
}
