// Any bytes as a CTM/SPK word file, read with either separator: the reader
// either fills its words or throws EFout, and never reads out of bounds.
#include "lines/efout.h"
#include "lines/regellijst.h"
#include "lines/tekst.h"
#include "lines/tleesctm.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 1, static_cast<qsizetype>(size - 1));
    TleesCTM ctm;
    ctm.sep = (data[0] & 1) ? QChar(u'\t') : QChar(u' ');
    // A missing file makes the reader parse the lines it already holds.
    for (const QString &regel : regelsUitBytes(bytes))
        ctm.deRegels.append(trimTekst(regel));
    ctm.fileNaam.clear();
    try {
        ctm.leesBestand();
        if (ctm.aantalWoorden < 0 || static_cast<size_t>(ctm.aantalWoorden) != ctm.Woorden.size())
            __builtin_trap();
        if (ctm.aantalWoorden > ctm.aantalRegels)
            __builtin_trap();
    } catch (const EFout &) {
    }
    return 0;
}
