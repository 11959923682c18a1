#include "lines/herschiksrt.h"

#include "lines/bestandsnaam.h"
#include "lines/regellijst.h"
#include "lines/tekst.h"
#include "lines/tleessrts.h"

void herschikSRT(const QString &in, const QString &uit, const THerschikOpties &opties)
{
    // A cue list takes a path that names no regular file as missing and
    // keeps the lines it holds: here that would silently give an empty
    // result. So such a path is read here. A missing one makes the file
    // layer say why it cannot be opened; the lines of a pipe (/dev/stdin, a
    // shell's <(...)) become the lines the cue list reads its cues from.
    TleesSRTs srt;
    srt.fileNaam = in;
    if (!bestandBestaat(in)) {
        for (const QString &regel : leesRegellijst(in))
            srt.deRegels << trimTekst(regel);
    }
    srt.leesBestand();
    srt.maakMooi();
    if (opties.veruim)
        srt.veruimToontijd(opties.tV, opties.tN);
    if (opties.vtt)
        srt.schrijfVTTResultaat();
    else
        srt.schrijfSRTResultaat();
    srt.fileNaam = uit;
    srt.schrijfBestand();
}
