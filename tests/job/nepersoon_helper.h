#pragma once

#include "job/tpersoon.h"

#include <QByteArray>
#include <functional>
#include <QList>
#include <QString>
#include <QStringList>

// A person for the tests: answers the dialogs from queues and records every
// call the job makes. A dialog without a queued answer is a fault of the test
// and throws, so it cannot pass unnoticed as a cancel.
class TNepPersoon : public TPersoon
{
public:
    struct Dialoog
    {
        bool bewaren = false;
        int filterEntry = 0;
        QString map;
        QString voorstel;
    };

    QStringList openAntwoorden;   // next answers to kiesOpenBestand; "" cancels
    QStringList bewaarAntwoorden; // next answers to kiesBewaarBestand

    QList<Dialoog> dialogen;
    QStringList gelogd;
    QList<QPair<TLabel, QString>> labels;
    QList<TTab> tabs;
    QList<TTekstView> gewijzigd;
    int gesloten = 0;

    QString kiesOpenBestand(int filterEntry) override;
    QString kiesBewaarBestand(int filterEntry, const QString &map, const QString &voorstel) override;
    void regelGelogd(const QString &regel) override { gelogd.append(regel); }
    void labelGezet(TLabel label, const QString &tekst) override { labels.append({label, tekst}); }
    void tabGekozen(TTab tab) override { tabs.append(tab); }
    void tekstGewijzigd(TTekstView view) override { gewijzigd.append(view); }
    void sluitVenster() override { ++gesloten; }
};

// Test files.
void schrijfBytes(const QString &pad, const QByteArray &bytes);
// Lines joined with LF and a final LF, as UTF-8.
void schrijfRegels(const QString &pad, const QStringList &regels);
// A PCM WAV of silence: 44-byte header, then frames x kanalen samples.
void schrijfWavBestand(const QString &pad, int rate, int kanalen, int bits, qint64 frames);

class TTekstTabel;

// The cells of row r, left to right.
QStringList rij(const TTekstTabel &t, int r);

// The message of the error opdracht throws, or "(no error)".
QString bericht(const std::function<void()> &opdracht);
