#pragma once

#include "job/tnaadwerkenums.h"
#include "job/tpersoon.h"
#include "job/ttekstabel.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <memory>

class TleesCTM;
class TleesSRTs;

// The glue job: the state of one gluing and the commands that load, glue and
// save. It owns its tables (Qt models a view can show) and the contents of
// the text views; it reaches the person only through TPersoon. The window,
// the command line and the tests all drive this one class.
//
// Every command throws EFout with the message the person sees; whatever the
// command changed before the error stays changed.
class TNaadwerkJob
{
public:
    // Creates the job in its start-up state (FormCreate).
    explicit TNaadwerkJob(TPersoon &persoon);
    ~TNaadwerkJob();
    TNaadwerkJob(const TNaadwerkJob &) = delete;
    TNaadwerkJob &operator=(const TNaadwerkJob &) = delete;

    // --- Commands, named after the menu items -----------------------------
    void miCTM1Click();
    void miCTM2Click();
    void miOpenText1Click();
    void miOpenText2Click();
    void miWav1Click();
    void miWav2Click();
    void miGlueClick();
    void miSaveClick();
    void miExitClick();

    // --- Settings (the controls of the Settings tab) ----------------------
    // The window sets these whenever the person changes a control.
    bool rbTab = true;        // separator of CTM files to be opened: Tab, else a blank
    bool cbEnlarge = false;   // widen the display time of the cues
    bool cbSkipwords = false; // leave words holding "*" out of the phrases
    bool cbSilence = false;   // blank "SIL" in the shown phrase text
    int sbBefore = 0;         // spin box values, 0..2000
    int sbAfter = 0;
    // Called after sbBefore / sbAfter changed: tV / tN follow.
    void sbBeforeChange();
    void sbAfterChange();

    // --- Views' contents ---------------------------------------------------
    TTekstTabel sgCTM1;  // word table 1: after Glue both halves
    TTekstTabel sgCTM2;  // word table 2
    TTekstTabel sgSRT;   // the phrase table
    // The lines of a text view. A front end that lets the person edit a view
    // writes the edited lines back with zetTekst before the next command.
    const QStringList &tekst(TTekstView view) const;
    void zetTekst(TTekstView view, const QStringList &regels);
    const QString &label(TLabel label) const;
    TTab gekozenTab() const { return deTab; }

    // --- Job state -----------------------------------------------------------
    QString fnCTM1, fnCTM2, fnText1, fnText2, fnWav1, fnWav2;
    QString fnWav0, fnText0, fnCTM0, fnSRT, fnWord, fnKarao;
    std::int64_t L0 = 0, L1 = 0, L2 = 0, sampPlus = 0, tijdPlus = 0;
    std::int64_t tV = 0, tN = 0;
    QStringList deText1, deText2, deCues, deHTML, deWord;
    std::unique_ptr<TleesCTM> ctm0, ctm1, ctm2;
    std::unique_ptr<TleesSRTs> srt0;

    // --- Steps (public so tests can run them one at a time) -----------------
    void FormCreate();
    void leesCTM(int nr);
    void toonCTM(int nr);
    void combineerWavs();
    void combineerCTMs();
    void combineerTexts();
    void maakPhrases();
    void maakSRT();
    void maakWord();
    bool bewaarCTM();
    void bewaarText();
    bool Converteer2Karaoke();
    bool Converteer2Word();
    // Writes the cues of the SRT building as a WebVTT file (a Line list);
    // srt0 and its SRT lines stay as they are. Throws "Cannot create file ...".
    void bewaarVTT(const QString &pad);

private:
    void log(const QString &regel);
    void zetLabel(TLabel label, const QString &tekst);
    void kiesTab(TTab tab);
    void openText(int nr);
    void openWav(int nr);
    QStringList &tekstRef(TTekstView view);
    void meldTekst(TTekstView view);

    TPersoon &dePersoon;
    std::array<QStringList, aantalTekstViews> deTeksten; // meText1, meText2, meSRT, meWord, meResult
    std::array<QString, aantalLabels> deLabels;
    TTab deTab = TTab::CTM1;
};
