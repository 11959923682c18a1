#pragma once

#include "formats/wordrow.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// Everything one part of a gluing brings in: its three files, its words and
// text as opened and edited (never shifted), what its recording's header
// says, and the silence that follows it in the joined recording.
struct PartInputs
{
    QString wordFilePath, textPath, recordingPath;
    std::vector<WordRow> rows;
    std::vector<std::int32_t> lines; // the file line of each row (Glue's warnings name them)
    QStringList openedText;          // as read
    QStringList text;                // as edited
    std::int64_t frames = 0;         // of the recording as stored, at its own rate
    std::uint32_t rate = 0;          // that rate; 0 before a recording is read
    std::int64_t gapMs = 0;          // silence after the part

    bool isEmpty() const
    {
        return wordFilePath.isEmpty() && textPath.isEmpty() && recordingPath.isEmpty();
    }
};
