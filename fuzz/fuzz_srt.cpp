// Any bytes as a subtitle file (SRT, or WebVTT with its own tags): the reader
// either gives its cues or throws Error, and shaping and rendering whatever it
// read keep the cue list whole and write no cue that ends before it starts.
#include "base/error.h"
#include "base/textfile.h"
#include "formats/cuelist.h"
#include "formats/subtitlereader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QStringList fileLines =
        linesFromBytes(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    CueList srt;
    try {
        srt.cues = parseSubtitleLines(fileLines);
        srt.markup = subtitleMarkup(fileLines);
    } catch (const Error &) {
        return 0;
    }
    // Every cue stands on a timing line of its own and no time is negative.
    if (srt.cues.size() > static_cast<size_t>(fileLines.size()))
        __builtin_trap();
    for (size_t i = 0; i < srt.cues.size(); ++i)
        if (srt.cues[i].number != static_cast<std::int32_t>(i + 1) || srt.cues[i].start < 0 || srt.cues[i].end < 0)
            __builtin_trap();

    srt.shape();
    for (size_t i = 0; i < srt.cues.size(); ++i) {
        const Cue &c = srt.cues[i];
        if (c.number != static_cast<std::int32_t>(i + 1) || c.text.contains(u"  ") || c.text.contains(u'\n'))
            __builtin_trap();
    }
    srt.widen(100, 200);
    const QStringList first = srt.srtLines();
    // Written cues follow each other, and none ends before it starts.
    for (size_t i = 0; i < srt.cues.size(); ++i)
        if (srt.cues[i].end < srt.cues[i].start || (i + 1 < srt.cues.size() && srt.cues[i].end > srt.cues[i + 1].start))
            __builtin_trap();
    if (srt.srtLines() != first)
        __builtin_trap();
    srt.webVttLines();
    return 0;
}
