#include "lines/tleesfile.h"

#include "lines/bestandsnaam.h"
#include "lines/regellijst.h"
#include "lines/tekst.h"

#include <limits>

TLeesFile::TLeesFile() = default;

TLeesFile::~TLeesFile()
{
    deRegels.clear();
}

void TLeesFile::leesBestand()
{
    if (bestandBestaat(fileNaam)) {
        deNaam = vervangExtensie(naamDeel(fileNaam), QString());
        deRegels.clear();
        deRegels = leesRegellijst(fileNaam);
        for (QString &regel : deRegels)
            regel = trimTekst(regel);
    }
    // A count beyond 32 bits would be misread later; the line list itself
    // cannot hold that many lines anyway.
    aantalRegels = static_cast<std::int32_t>(
        std::min<qsizetype>(deRegels.size(), std::numeric_limits<std::int32_t>::max()));
}

void TLeesFile::schrijfBestand()
{
    bewaarRegellijst(fileNaam, deRegels);
}
