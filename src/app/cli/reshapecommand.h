#pragma once

#include <QStringList>

// naadwerk-cli reshape IN.srt -o OUT [--vtt] [--enlarge] [--before MS] [--after MS]
// arguments are the program's whole command line. Returns the exit code.
int reshapeCommand(const QStringList &arguments);
