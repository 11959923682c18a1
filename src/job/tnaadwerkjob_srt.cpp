// The SRT building step of the Glue command, and the WebVTT file of its cues.

#include "job/tnaadwerkjob.h"

#include "lines/regellijst.h"
#include "lines/tekst.h"
#include "lines/tleessrts.h"

void TNaadwerkJob::maakSRT()
{
    log(QStringLiteral("Start making SRT"));
    tekstRef(TTekstView::SRT).clear();
    meldTekst(TTekstView::SRT);
    srt0->deRegels.clear();

    const int n = sgSRT.aantalRijen();
    srt0->maakRecords(n);
    for (int i = 0; i < n; ++i) {
        TCue &cue = srt0->Cues[static_cast<size_t>(i)];
        cue.id = i + 1;
        cue.st = afronden(strNaarFloat(sgSRT.cel(i, 1)));
        cue.et = afronden(strNaarFloat(sgSRT.cel(i, 2)));
        cue.T = sgSRT.cel(i, 4);
    }
    srt0->maakMooi();
    if (cbEnlarge)
        srt0->veruimToontijd(tV, tN);
    srt0->schrijfSRTResultaat();

    tekstRef(TTekstView::SRT).append(srt0->deRegels);
    meldTekst(TTekstView::SRT);
    log(QStringLiteral("Ready making SRT"));
}

void TNaadwerkJob::bewaarVTT(const QString &pad)
{
    // Rendered from a copy: srt0's own lines stay the SRT that Save writes.
    TleesSRTs vtt = *srt0;
    vtt.schrijfVTTResultaat();
    bewaarRegellijst(pad, vtt.deRegels);
}
