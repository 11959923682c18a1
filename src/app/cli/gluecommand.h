#pragma once

#include <QStringList>

// naadwerk-cli glue [settings] [--ctm1 F] ... | [--parts LIST] [--joined F] [--srt F] [--vtt F] [--no-save]
// arguments are the program's whole command line. Returns the exit code.
int glueCommand(const QStringList &arguments);
