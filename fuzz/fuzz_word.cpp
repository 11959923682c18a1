// Any bytes as the joined transcript text through the transcript builder of
// the Glue command (maakWord): it either builds the transcript or throws
// EFout for a start time that is no whole number, and what it builds is the
// header and one line per cleaned line that is not a speaker line.
#include "woordtabel.h"

#include "job/tnaadwerkjob.h"
#include "job/twordbouwer.h"
#include "lines/efout.h"
#include "lines/regellijst.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QStringList tekst = regelsUitBytes(
        QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    TStillePersoon persoon;
    TNaadwerkJob job(persoon);
    job.fnText0 = QStringLiteral("/map/joined.txt");
    job.zetTekst(TTekstView::Text1, tekst);

    // The cleaned lines: none empty, no two plain lines in a row.
    const QStringList schoon = TWordBouwer::schoonOp(tekst);
    qsizetype spreekregels = 0;
    for (qsizetype i = 0; i < schoon.size(); ++i) {
        if (schoon[i].isEmpty())
            __builtin_trap();
        if (i > 0 && !TWordBouwer::isHaakRegel(schoon[i]) && !TWordBouwer::isHaakRegel(schoon[i - 1]))
            __builtin_trap();
        spreekregels += TWordBouwer::isSpreker(schoon[i]);
    }

    try {
        job.maakWord();
    } catch (const EFout &e) {
        if (!e.bericht().endsWith(QStringLiteral("' is not a valid integer value")))
            __builtin_trap();
        return 0;
    }
    const QStringList &word = job.tekst(TTekstView::Word);
    if (job.deWord != word || job.tekst(TTekstView::Text1) != tekst)
        __builtin_trap();
    if (word.size() != 7 + schoon.size() - spreekregels
        || word.constFirst() != QStringLiteral("Interview joined_word.txt"))
        __builtin_trap();
    // Below the header every line holds a tab: after the label, or before a time.
    for (qsizetype i = 7; i < word.size(); ++i)
        if (!word[i].contains(u'\t'))
            __builtin_trap();
    return 0;
}
