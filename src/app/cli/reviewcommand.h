#pragma once

#include <QStringList>

// naadwerk-cli review: the review list of an interview glued as glue glues
// it, without Save. Returns the exit code.
int reviewCommand(const QStringList &arguments);
