#include "karaoke/karaoketranscript.h"

#include "job/ttekstabel.h"
#include "karaoke/defkaraoke.h"

using namespace Qt::Literals::StringLiterals;

QString msNaarSeconden(const QString &ms)
{
    // The sign stays in front; the padding and the point go to the digits.
    const bool negatief = ms.startsWith(u'-');
    QString s = negatief ? ms.mid(1) : ms;
    if (s.size() < 4)
        s.prepend(QString(4 - s.size(), u'0'));
    s.insert(s.size() - 3, u'.');
    return negatief ? u'-' + s : s;
}

QStringList maakKaraokeTranscript(const TTekstTabel &woorden, const QString &titel)
{
    const QString kolomStart = u"     <span class=\"player conf10\" conf=\"1\" timestamp=\""_s;
    const QString paragraafEinde = u"    </p>"_s;
    const QString paragraafBegin = u"    <p class=\"transcript\">"_s;

    QStringList l;
    l << u"<body>"_s
      << u"  <div id=\"transcript\" style=\"max-height:500px; overflow-y: scroll;\">"_s
      << u"    <h1>Forced Alignment "_s + defKaraoke::htmlVeilig(titel) + u"</h1>"_s;

    const int n = woorden.aantalRijen();
    l.reserve(n + 8);
    bool openParagraaf = true; // a paragraph is to be opened
    QChar laatste = u' ';      // last character of the last shown word
    for (int r = 0; r < n; ++r) {
        const QString seconden = msNaarSeconden(woorden.cel(r, 1));
        QString woord = woorden.cel(r, 3);

        // A paragraph ends at a silence after a sentence end; the silence
        // itself never shows.
        if (!openParagraaf && woord == u"SIL"
            && (laatste == u'.' || laatste == u'!' || laatste == u'?')) {
            l << paragraafEinde;
            woord.clear();
            laatste = u' ';
            openParagraaf = true;
        }
        // The heading is the speaker of the row after the opening row: the
        // opening row is usually the silence before the speaker's first word.
        if (openParagraaf) {
            const QString spreker = woorden.cel(r + 1, 5);
            if (!spreker.isEmpty())
                l << u"   <h2>"_s + defKaraoke::htmlVeilig(spreker) + u"</h2>"_s;
            l << paragraafBegin;
            openParagraaf = false;
        }
        // The page shows the span's speaker when the mouse is over the word.
        if (!woord.isEmpty() && woord != u"SIL") {
            const QString tijd = defKaraoke::htmlVeilig(seconden);
            const QString spreker = defKaraoke::htmlVeilig(woorden.cel(r, 5));
            const QString tekst = defKaraoke::htmlVeilig(woord);
            // One allocation per span: the page of a long interview holds a
            // million of them.
            QString regel;
            regel.reserve(kolomStart.size() + tijd.size() + spreker.size() + tekst.size() + 20);
            regel.append(kolomStart).append(tijd).append(u"\" speaker=\"").append(spreker)
                .append(u"\">").append(tekst).append(u"</span>");
            l << regel;
            laatste = woord.back();
        }
    }
    l << paragraafEinde << u"   </div>"_s;
    return l;
}

QStringList maakKaraokePagina(const TTekstTabel &woorden, const QString &titel,
                              const QString &audioPad)
{
    defKaraoke::kleurH1 = u" lightgray"_s;
    defKaraoke::kleurH2 = u" powderblue"_s;
    QStringList pagina = defKaraoke::maakKaraokeKop(titel);
    pagina += maakKaraokeTranscript(woorden, titel);
    defKaraoke::audioSoort = u"wav"_s;
    pagina += defKaraoke::maakKaraokeStaart(audioPad);
    return pagina;
}
