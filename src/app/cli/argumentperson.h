#pragma once

#include "job/person.h"

#include <QString>

// The person at the window, played from the arguments: each Open dialog
// answers with the file given for it, the Glue dialog with --joined (or
// cancels), the Save dialog with --srt or the name it proposes. The log goes
// to stdout line by line, so a failure leaves the lines so far.
class ArgumentPerson : public Person
{
public:
    QString openAnswer; // the file the next Open dialog answers with
    QString joined;     // --joined
    QString srt;        // --srt

    QString chooseFileToOpen(OpenFilter filter) override;
    QString chooseFileToSave(SaveFilter filter, const QString &folder, const QString &proposal) override;
    void lineLogged(const QString &line) override;
};
