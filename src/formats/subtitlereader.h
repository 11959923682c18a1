#pragma once

#include "formats/cue.h"

#include <QStringList>

#include <vector>

// Reading a subtitle file: its lines are normalised so that every cue ends in
// an empty line and a cue without text holds "[empty cue]", then the cues are
// taken from the lines that hold " --> ".

// The normalisation on the first n lines of a list (n is the count of the
// file's lines): appends an empty line, marks empty cues, shrinks runs of
// empty lines to one and tidies the blanks around punctuation.
QStringList normaliseSubtitleLines(QStringList lines, qsizetype n);

// The cues of a subtitle file's lines: each line trimmed, the lines
// normalised, and every line holding " --> " read as a cue's times with the
// lines up to the next empty one as its text (joined with blanks). Throws
// "'%s' is not a valid integer value" for a bad time text.
std::vector<Cue> parseSubtitleLines(const QStringList &fileLines);

// The cues of lines that are normalised already.
std::vector<Cue> parseCues(const QStringList &normalisedLines);
