#pragma once

#include "job/person.h"

// The person at the command line: hears the log, line by line on standard
// output, so a failure leaves the lines so far.
class LogPrinter : public Person
{
public:
    void lineLogged(const QString &line) override;
};
