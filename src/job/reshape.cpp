#include "job/reshape.h"

#include "base/textfile.h"
#include "formats/cuelist.h"
#include "formats/subtitlereader.h"

void reshapeSubtitles(const QString &in, const QString &out, const ReshapeOptions &options)
{
    CueList list;
    list.cues = parseSubtitleLines(readTextFile(in, FileKind::PipesToo));
    list.shape();
    if (options.widen)
        list.widen(options.msBefore, options.msAfter);
    writeTextFile(out, options.webVtt ? list.webVttLines() : list.srtLines());
}
