#include "lines/herschiksrt.h"

#include "lines/bestandsnaam.h"
#include "lines/regellijst.h"
#include "lines/tleessrts.h"

void herschikSRT(const QString &in, const QString &uit, const THerschikOpties &opties)
{
    // Reading a missing file is no error for a cue list (it keeps what it
    // had); here it would silently give an empty result. Let the file layer
    // say why it cannot be opened.
    if (!bestandBestaat(in))
        leesRegellijst(in);

    TleesSRTs srt;
    srt.fileNaam = in;
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
