#pragma once

#include "job/batchinterview.h"
#include "job/batchreport.h"

#include <QString>
#include <QStringList>

// One interview of a batch glued by a process of its own, so that a crash or
// memory running out in one leaves the others alone: program is started with
// arguments and "--run-one PLACE", glues the interview at PLACE
// (glueInterview) and prints its report line (reportLine) as the last line
// of its standard output. A child that ends without one gives a failed row
// saying how it ended.
BatchRow glueInChildProcess(const QString &program, const QStringList &arguments, const BatchInterview &interview);
