#pragma once

#include <QString>

// The three files of one part of an interview: the aligner's word file, the
// transcript text and the recording. An empty path is a file the part does
// not have (yet).
struct PartFiles
{
    QString wordFile, text, recording;

    bool isEmpty() const { return wordFile.isEmpty() && text.isEmpty() && recording.isEmpty(); }
    bool operator==(const PartFiles &) const = default;
};
