#pragma once
// The person of a fuzzed glue job: it opens the one file it is given and
// cancels every other dialog.
#include "job/person.h"

class SilentPerson : public Person
{
public:
    QString fileToOpen;

    QString chooseFileToOpen(OpenFilter) override { return fileToOpen; }
    QString chooseFileToSave(SaveFilter, const QString &, const QString &) override { return QString(); }
};
