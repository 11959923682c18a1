// Any bytes as a subtitle file: the reader either fills its cues or throws
// EFout, and shaping and rendering whatever it read keep the cue list whole.
#include "lines/efout.h"
#include "lines/regellijst.h"
#include "lines/tekst.h"
#include "lines/tleessrts.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    TleesSRTs srt;
    // A missing file makes the reader normalise and parse the lines it holds.
    for (const QString &regel : regelsUitBytes(QByteArray(reinterpret_cast<const char *>(data),
                                                          static_cast<qsizetype>(size))))
        srt.deRegels.append(trimTekst(regel));
    try {
        srt.leesBestand();
    } catch (const EFout &) {
        return 0;
    }
    if (srt.aantalRegels != srt.deRegels.size())
        __builtin_trap();
    if (srt.aantalRegels > 0 && !srt.deRegels.constLast().isEmpty())
        __builtin_trap();
    if (srt.aantalCues < 0 || srt.aantalCues > srt.aantalRegels)
        __builtin_trap();

    srt.maakMooi();
    if (static_cast<size_t>(srt.aantalCues) > srt.Cues.size())
        __builtin_trap();
    for (std::int32_t i = 0; i < srt.aantalCues; ++i) {
        const TCue &c = srt.Cues[static_cast<size_t>(i)];
        if (c.id != i + 1 || c.T.contains(u"  ") || c.T.contains(u'\n'))
            __builtin_trap();
    }
    srt.veruimToontijd(100, 200);
    srt.schrijfSRTResultaat();
    const QStringList eerste = srt.deRegels;
    for (std::int32_t i = 0; i + 1 < srt.aantalCues; ++i)
        if (srt.Cues[static_cast<size_t>(i)].et > srt.Cues[static_cast<size_t>(i) + 1].st)
            __builtin_trap();
    srt.schrijfSRTResultaat();
    if (srt.deRegels != eerste)
        __builtin_trap();
    srt.schrijfVTTResultaat();
    return 0;
}
