#pragma once

#include <QStringList>

// naadwerk-cli check: the problems of an SRT or WebVTT file under a subtitle
// profile. Returns the exit code: 0 for none, 1 for any (or an error), 2 for
// a usage error.
int checkCommand(const QStringList &arguments);
