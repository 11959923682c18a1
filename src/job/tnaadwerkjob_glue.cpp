// The Glue command and its steps that join the word tables and the texts and
// build the phrases and the transcript.

#include "job/tnaadwerkjob.h"

#include "job/twoordcellen.h"
#include "job/tphrasebouwer.h"
#include "job/twordbouwer.h"
#include "lines/bestandsnaam.h"
#include "lines/tekst.h"
#include "lines/tleesctm.h"

#include <utility>
#include <vector>

void TNaadwerkJob::miGlueClick()
{
    log(QStringLiteral("Make one Wav-file from two"));
    combineerWavs();
    log(QStringLiteral("Samples to add is ") + QString::number(sampPlus));
    log(QStringLiteral("Time to add is ") + QString::number(tijdPlus) + QStringLiteral("ms"));
    log(QStringLiteral("Combining the two CTMs"));
    combineerCTMs();
    log(QStringLiteral("Combining the two Texts"));
    combineerTexts();
    log(QStringLiteral("Make Phrases"));
    maakPhrases();
    log(QStringLiteral("Make SRT"));
    maakSRT();
    log(QStringLiteral("Make Word-like transcription"));
    maakWord();
    kiesTab(TTab::CTM1);
}

void TNaadwerkJob::combineerCTMs()
{
    const int A = sgCTM1.aantalRijen();
    const int B = sgCTM2.aantalRijen();
    const int aantal = std::max(ctm2->aantalWoorden, 0);
    // A row of word table 2 beyond the words of ctm2 (left by a read that
    // failed part-way) becomes an empty word at the offset.
    const TWoord leeg{0, 0, 0, QString(), QString(), 0.0f};

    // The values come from the words as read, not from the cells of table 2:
    // hand edits there do not reach the result, and a second Glue does not
    // shift twice. The rows go into table 1 in one insert (appending row by
    // row would make a view relayout once per word), filled in place.
    TWoordCellen maker;
    sgCTM1.voegRijenToe(B, [&](int rij, QString *c) {
        const int i = rij - A;
        const TWoord &w = i < aantal ? ctm2->Woorden[static_cast<size_t>(i)] : leeg;
        maker.vul(c, static_cast<std::int64_t>(rij) + 1, w, tijdPlus);
    });
    // Table 2 shows the same texts, shared with table 1.
    sgCTM2.wijzigRijen(0, B, [&](int i, QString *c) {
        for (int k = 0; k < 6; ++k)
            c[k] = sgCTM1.celRef(A + i, k);
    });
}

void TNaadwerkJob::combineerTexts()
{
    tekstRef(TTekstView::Text1).append(tekst(TTekstView::Text2));
    meldTekst(TTekstView::Text1);
}

void TNaadwerkJob::maakPhrases()
{
    log(QStringLiteral("Start making Phrases"));
    deCues.clear();
    const TPhraseBouwer bouwer(cbSkipwords, cbSilence);
    deCues = bouwer.maakCues(sgCTM1);
    sgSRT.vervangAlles(bouwer.maakCellen(deCues));
    sgSRT.zetKolomBreedte(sgSRT.aantalKolommen() - 1, TPhraseBouwer::tekstBreedte(sgSRT));
    log(QStringLiteral("Ready making Phrases"));
}

void TNaadwerkJob::maakWord()
{
    log(QStringLiteral("Start making Word-file"));
    fnWord = vervangExtensie(fnText0, QStringLiteral("_word.txt"));
    deWord = TWordBouwer::schoonOp(tekst(TTekstView::Text1));

    QStringList &word = tekstRef(TTekstView::Word);
    word.clear();
    try {
        TWordBouwer::schrijfTranscript(deWord, naamDeel(fnWord), word);
    } catch (...) {
        // The view keeps the lines written so far, as the person sees them.
        meldTekst(TTekstView::Word);
        throw;
    }
    meldTekst(TTekstView::Word);
    deWord = word;
    zetLabel(TLabel::Label5, QStringLiteral("Word-file: ") + fnWord);
    log(QStringLiteral("Ready making Word-file"));
}
