// Any word table through the phrase building and the SRT building of the
// Glue command, with the settings taken from the first bytes: the phrases
// never fail, the SRT building either fills the cue list or throws EFout
// (a time cell that is no number or out of range), and the SRT it renders
// has whole cues numbered from 1 whose times never run backwards.
#include "woordtabel.h"

#include "job/tnaadwerkjob.h"
#include "lines/efout.h"
#include "lines/tleessrts.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 3)
        return 0;
    TStillePersoon persoon;
    TNaadwerkJob job(persoon);
    job.cbSkipwords = data[0] & 1;
    job.cbSilence = data[0] & 2;
    job.cbEnlarge = data[0] & 4;
    // The spin boxes run from 0 to 2000; 0 and 0 is the open point of sharing a gap.
    job.sbBefore = data[0] & 8 ? 0 : data[1] * 2000 / 255;
    job.sbAfter = data[0] & 8 ? 0 : data[2] * 2000 / 255;
    job.sbBeforeChange();
    job.sbAfterChange();
    vulWoordTabel(job.sgCTM1, data + 3, size - 3);

    try {
        job.maakPhrases();
    } catch (...) {
        __builtin_trap(); // the phrase building accepts any text
    }
    const int phrases = job.sgSRT.aantalRijen();
    if (phrases != job.deCues.size() || phrases > job.sgCTM1.aantalRijen())
        __builtin_trap();

    try {
        job.maakSRT();
    } catch (const EFout &) {
        return 0;
    }
    const TleesSRTs &srt = *job.srt0;
    if (srt.aantalCues < phrases || static_cast<size_t>(srt.aantalCues) != srt.Cues.size())
        __builtin_trap();
    if (job.tekst(TTekstView::SRT) != srt.deRegels)
        __builtin_trap();
    // Each cue: its number, its time line, one line per piece of its text
    // between "|" markers (a piece may be empty), an empty line.
    qsizetype r = 0;
    for (std::int32_t i = 0; i < srt.aantalCues; ++i) {
        const TCue &c = srt.Cues[static_cast<size_t>(i)];
        if (c.id != i + 1 || (i > 0 && srt.Cues[static_cast<size_t>(i) - 1].et > c.st))
            __builtin_trap();
        const qsizetype stukken = c.T.count(u'|') + 1;
        if (r + 3 + stukken > srt.deRegels.size() || srt.deRegels[r] != QString::number(i + 1)
            || srt.deRegels[r + 1].size() != 29 || !srt.deRegels[r + 2 + stukken].isEmpty())
            __builtin_trap();
        r += 3 + stukken;
    }
    if (r != srt.deRegels.size())
        __builtin_trap();
    return 0;
}
