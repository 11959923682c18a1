#pragma once

#include "formats/partfiles.h"

#include <QString>

#include <cstdint>

// One line of the list of parts: a part's files, its recording's length and,
// after Glue, where it lies in the joined recording.
struct PartRow
{
    enum Column { Number, WordFile, Text, Recording, Length, Start, Gap };
    static constexpr int columnCount = 7;

    int number = 0;                // from 1
    PartFiles files;
    std::int64_t frames = 0;       // of the recording as stored
    std::uint32_t rate = 0;        // its rate; 0: no recording read
    std::int64_t gapMs = 0;        // silence after the part
    std::int64_t firstFrame = -1;  // in the joined recording; -1 before Glue
    std::int64_t startMs = -1;     // firstFrame / 16, rounded half to even; -1 before Glue
    std::int64_t endMs = -1;       // where its recording ends in the joined one; -1 before Glue

    // The text of a cell: file names without their folders, the length and
    // the start as "h:mm:ss.zzz", the gap in ms.
    QString cell(Column column) const;
    // The column captions.
    static QString caption(Column column);
};
