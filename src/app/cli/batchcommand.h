#pragma once

#include <QStringList>

// naadwerk-cli batch [settings] --out DIR [-j N] [--resume] [--index I --count N | --slurm] MANIFEST.tsv|FOLDER
// naadwerk-cli batch --merge-reports DIR
// arguments are the program's whole command line. Returns the exit code.
int batchCommand(const QStringList &arguments);
