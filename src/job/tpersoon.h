#pragma once

#include "job/tnaadwerkenums.h"

#include <QString>

// How the glue job reaches the person: the window answers with file dialogs,
// the command line from its arguments, the tests from a queue of answers.
// The job keeps all state itself; the notifications only tell a front end
// what to show again.
class TPersoon
{
public:
    virtual ~TPersoon() = default;

    // The open dialog with filter entry n (1 CTM/SPK, 2 text, 3 WAV, 4 all).
    // Returns the chosen path, or an empty text when the person cancels.
    virtual QString kiesOpenBestand(int filterEntry) = 0;

    // The save dialog with filter entry n (1 SRT, 2 WebVTT, 3 WAV, 4 all), an
    // initial folder and a proposed file name. Empty text: cancelled.
    virtual QString kiesBewaarBestand(int filterEntry, const QString &map,
                                      const QString &voorstel) = 0;

    // A line was appended to the result log.
    virtual void regelGelogd(const QString &regel) { (void)regel; }
    // A status label got a new text.
    virtual void labelGezet(TLabel label, const QString &tekst) { (void)label; (void)tekst; }
    // The job selected a tab.
    virtual void tabGekozen(TTab tab) { (void)tab; }
    // The lines of a text view were replaced or extended (not the result log:
    // that one reports each line through regelGelogd).
    virtual void tekstGewijzigd(TTekstView view) { (void)view; }
    // Exit ran: the window should close.
    virtual void sluitVenster() {}
};
