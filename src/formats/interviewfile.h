#pragma once

#include "formats/wordrow.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

class AtomicFile;

// An interview file (NAME.naadwerk): one interview as a person left it, in
// UTF-8 JSON, so that the corrections can go on another day. docs/interview-file.md
// describes its fields. It names the inputs (with the size and modification
// time each had), holds every part's rows and text as corrected, the
// settings, and what the last Glue and Save wrote.

// One input file of a part as the interview file names it.
struct InterviewInput
{
    QString path;           // empty: the part has no such file
    std::int64_t size = -1; // bytes, -1 when it was not there
    std::int64_t modifiedMs = 0; // since the epoch, UTC
};

struct InterviewPart
{
    enum File { WordFile, Text, Recording };
    std::array<InterviewInput, 3> inputs; // by File
    std::int64_t gapMs = 0;
    // What the recording held when it was read.
    std::int64_t frames = 0;
    std::uint32_t rate = 0;
    QString recordingFormat;
    bool recordingDecoded = false;
    QString wordFileEncoding, textEncoding;
    int alternations = 0;
    std::int32_t firstAlternation = 0;
    std::vector<WordRow> rows; // read; the writer takes rows from its caller
    QStringList text;
};

// Where each part of the last Glue lies in its joined recording.
struct InterviewPlacement
{
    std::int64_t gapFrames = 0, frames = -1, firstFrame = -1, joinedFrames = -1;
    std::uint32_t rate = 0;
};

struct InterviewFile
{
    static constexpr int currentVersion = 1;
    int version = currentVersion;
    std::vector<InterviewPart> parts;
    bool gluesParts = false;
    QJsonObject settings; // key -> value, as the table of settings names them
    QString outputSeparator = QStringLiteral(" "); // of the joined word file
    QString outputLayout = QStringLiteral("aligner");
    // The last Glue: the joined recording (empty: none) and its frames.
    QString joinedRecording;
    std::int64_t joinedFrames = 0;
    std::vector<InterviewPlacement> placements;
    // The files the last Glue and Save named, by key ("text", "srt", ...).
    QJsonObject outputs;
};

// A part's rows as the writer takes them: while glued they lie shifted in
// the joined list, and are written shifted back by shiftMs.
struct InterviewRows
{
    std::span<const WordRow> rows;
    std::int64_t shiftMs = 0;
};

// Writes file to out, part k's rows taken from rowsOf(k), row by row: a
// million rows are never held a second time. Does not commit out.
void writeInterviewFile(AtomicFile &out, const InterviewFile &file,
                        const std::function<InterviewRows(std::size_t)> &rowsOf);

// Reads an interview file's bytes; name is how messages call the file.
// Throws ""NAME" is not a Naadwerk interview file." for anything else, and
// ""NAME" was written by a newer Naadwerk (interview file version N); this
// version reads version 1." for a file of a later version.
InterviewFile readInterviewFile(const QByteArray &bytes, const QString &name);
