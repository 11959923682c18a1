#pragma once

#include "job/tpersoon.h"

#include <QList>
#include <QString>
#include <QStringList>

// A person who answers the job's file dialogs from a queue (an empty answer,
// or an empty queue, is a cancel) and notes every question asked.
class TBewaarPersoon : public TPersoon
{
public:
    struct Vraag
    {
        bool bewaren; // a save dialog, else an open dialog
        int filter;
        QString map;
        QString voorstel;
        bool operator==(const Vraag &) const = default;
    };

    QStringList antwoorden;
    QList<Vraag> vragen;

    QString kiesOpenBestand(int filterEntry) override
    {
        vragen.append({false, filterEntry, QString(), QString()});
        return antwoorden.isEmpty() ? QString() : antwoorden.takeFirst();
    }

    QString kiesBewaarBestand(int filterEntry, const QString &map, const QString &voorstel) override
    {
        vragen.append({true, filterEntry, map, voorstel});
        return antwoorden.isEmpty() ? QString() : antwoorden.takeFirst();
    }
};
