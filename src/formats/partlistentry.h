#pragma once

#include "formats/partfiles.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// One line of a list of parts: a part's word file, text file and recording,
// and the silence after it in the joined recording.
struct PartListEntry
{
    PartFiles files;
    std::int64_t gapMs = 0;
};

// The parts of a list of parts, one per line: word file, text file and
// recording separated by tabs, then optionally the gap after the part in
// whole milliseconds. Empty lines and lines starting with "#" are skipped;
// fields are trimmed. A relative path is taken relative to folder. Throws
// Error naming name and the line for a line without three files, an empty
// field or a gap that is not a whole number of milliseconds from 0 to
// 86400000 (a day).
std::vector<PartListEntry> parsePartList(const QStringList &lines, const QString &folder, const QString &name);
