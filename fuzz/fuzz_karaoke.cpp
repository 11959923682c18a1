// Any word table through the karaoke transcript: it never fails, every
// paragraph it opens is closed (a table without rows only closes one), and
// every word and speaker is escaped, so each line holds exactly the tags the
// page puts there.
#include "woordtabel.h"

#include "karaoke/karaoketranscript.h"

#include <cstddef>
#include <cstdint>

namespace {

qsizetype tel(const QString &regel, char16_t c)
{
    return regel.count(QChar(c));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    TTekstTabel woorden({QStringLiteral("#"), QStringLiteral("Start time"),
                         QStringLiteral("Duration"), QStringLiteral("Transcription"),
                         QStringLiteral("Confidentiality"), QStringLiteral("Speaker")});
    vulWoordTabel(woorden, data, size);
    const QString titel = woorden.cel(0, 3);
    const QStringList l = maakKaraokeTranscript(woorden, titel);

    if (l.size() < 5 || l[0] != QStringLiteral("<body>") || l.constLast() != QStringLiteral("   </div>"))
        __builtin_trap();
    // Without rows no paragraph opens; the closing tag is written all the same.
    if (woorden.aantalRijen() == 0) {
        if (l.size() != 5)
            __builtin_trap();
        return 0;
    }
    qsizetype open = 0;
    qsizetype woordRegels = 0;
    for (qsizetype i = 2; i + 1 < l.size(); ++i) {
        const QString &regel = l[i];
        if (regel == QStringLiteral("    <p class=\"transcript\">")) {
            if (open++ != 0)
                __builtin_trap();
        } else if (regel == QStringLiteral("    </p>")) {
            if (--open != 0)
                __builtin_trap();
        } else if (regel.startsWith(QStringLiteral("     <span "))) {
            // The timestamp (the start cell in seconds) and the speaker are
            // quoted attributes; nothing in them or in the word can end an
            // attribute or the element early.
            if (open != 1 || tel(regel, u'<') != 2 || tel(regel, u'>') != 2 || tel(regel, u'"') != 8
                || !regel.endsWith(QStringLiteral("</span>")))
                __builtin_trap();
            ++woordRegels;
        } else if (regel.startsWith(QStringLiteral("   <h2>")) || regel.startsWith(QStringLiteral("    <h1>"))) {
            if (tel(regel, u'<') != 2 || tel(regel, u'>') != 2)
                __builtin_trap();
        } else {
            __builtin_trap();
        }
    }
    if (open != 0 || woordRegels > woorden.aantalRijen())
        __builtin_trap();

    // The seconds of any start cell: the digits with a point before the last three.
    const QString seconden = msNaarSeconden(woorden.cel(0, 1));
    if (seconden.size() < 5 || seconden[seconden.size() - 4] != u'.')
        __builtin_trap();
    return 0;
}
