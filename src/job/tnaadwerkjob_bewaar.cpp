// The Save command: writes the results of the last Glue next to the joined
// recording. Every file goes through an atomic write, so a failure leaves the
// file it was writing as it was.

#include "job/tnaadwerkjob.h"

#include "karaoke/karaoketranscript.h"
#include "lines/bestandsnaam.h"
#include "lines/efout.h"
#include "lines/regellijst.h"
#include "lines/tekst.h"
#include "lines/tleesctm.h"
#include "lines/tleessrts.h"

using namespace Qt::Literals::StringLiterals;

void TNaadwerkJob::miSaveClick()
{
    // Without an accepted Glue dialog there is no joined recording to name
    // the other files after: writing them would scatter bare ".ctm" files
    // into the current folder.
    if (fnWav0.isEmpty())
        throw EFout(u"Nothing to save yet: run Glue first."_s);

    fnSRT = vervangExtensie(fnText0, u".srt"_s);
    const QString gekozen = dePersoon.kiesBewaarBestand(1, mapDeel(fnSRT), naamDeel(fnSRT));
    if (gekozen.isEmpty())
        return;
    fnSRT = gekozen;
    bewaarRegellijst(fnSRT, srt0->deRegels);
    zetLabel(TLabel::Label1, u"Saved: "_s + fnSRT);

    bewaarCTM();
    bewaarText();
    Converteer2Karaoke();
    Converteer2Word();
}

bool TNaadwerkJob::bewaarCTM()
{
    const QString basisNaam = vervangExtensie(naamDeel(fnCTM0), QString());
    const int n = sgCTM1.aantalRijen();
    const QString sep(ctm0->sep);

    ctm0->deRegels.clear();
    ctm0->deRegels.reserve(n);
    // One cell decides for the whole file: a first word without a speaker
    // makes a CTM file, anything else an SPK file.
    const bool spk = sgCTM1.cel(0, 5) != u"X";
    const QString ext = spk ? u".spk"_s : u".ctm"_s;

    const QString kop = basisNaam + sep + u'1' + sep;
    for (int r = 0; r < n; ++r) {
        const QString start = metDecimalen(strNaarInt(sgCTM1.cel(r, 1)) / 1000.0, 3);
        const QString eind = metDecimalen(strNaarInt(sgCTM1.cel(r, 2)) / 1000.0, 3);
        QString regel = kop + start + sep + eind + sep + sgCTM1.cel(r, 3) + sep + sgCTM1.cel(r, 4);
        if (spk)
            regel += sep + sgCTM1.cel(r, 5);
        ctm0->deRegels.append(std::move(regel));
    }

    fnCTM0 = vervangExtensie(fnCTM0, ext);
    ctm0->fileNaam = fnCTM0;
    ctm0->schrijfBestand();
    log(u"Saving CTM: "_s + fnCTM0);
    zetLabel(TLabel::Label6, u"Saved: "_s + fnCTM0);
    return true;
}

void TNaadwerkJob::bewaarText()
{
    bewaarRegellijst(fnText0, tekst(TTekstView::Text1));
    zetLabel(TLabel::Label8, u"Saved: "_s + fnText0);
}

bool TNaadwerkJob::Converteer2Karaoke()
{
    log(u"Start making Karaoke"_s);
    fnKarao = vervangExtensie(fnWav0, u".html"_s);
    const QString titel = vervangExtensie(naamDeel(fnText0), QString());
    deHTML = maakKaraokePagina(sgCTM1, titel, fnWav0);
    bewaarRegellijst(fnKarao, deHTML);
    zetLabel(TLabel::Label2, u"Saved: "_s + fnKarao);
    log(u"Ready making Karaoke"_s);
    return true;
}

bool TNaadwerkJob::Converteer2Word()
{
    bewaarRegellijst(fnWord, deWord);
    zetLabel(TLabel::Label5, u"Saved: "_s + fnWord);
    return true;
}
