#pragma once

#include "formats/cue.h"

#include <QString>
#include <QStringList>

#include <vector>

// Reading an SRT file as subtitle editors, players and converters write it.
//
// A timing line is a line holding "-->": a start and an end time, then
// perhaps position coordinates, which are ignored. A time is "H:M:S,f" or
// "M:S,f" (minutes and seconds, never hours and minutes): each field one or
// more digits (hours above 99 too), the fraction after "," or "." one to
// three digits read as a decimal fraction (",5" is 500 ms, ",90" 900 ms) or
// left out. "-->" needs no blanks around it.
//
// A timing line always starts a new cue. The lines after it up to the next
// timing line are its text, joined with blanks, each line cleaned up
// (cleanSubtitleLine) first; a line of digits right before a timing line is
// that cue's number, not text, with or without a blank line before it. So a
// blank line inside a cue (two languages in one cue) keeps the text after
// it, and a blank line left out between two cues costs nothing. Lines before
// the first cue that are not its number are skipped. A cue without text has
// an empty text.
//
// Refused, each with "\"FILE\", line N: " before the message: a time that is
// not of that form, a negative time, and a line after a cue number (a line of
// digits at the start of the file or after a blank line) that is neither a
// timing line nor blank.
std::vector<Cue> parseSubtitleLines(const QStringList &fileLines, const QString &fileName = QString());

// The clean-up of one text line: "<br>" becomes a blank; a blank before ",",
// "?" or "!" moves behind it, and before a "." that is not part of a run of
// full stops ("Wait ... what?" and "- ...now" stay as they are); runs of
// blanks shrink (five to two: two passes of two to one); the line is trimmed.
QString cleanSubtitleLine(QString line);

// One SRT time as described above, in milliseconds. Throws the message
// without the file and line: "'%s' is a negative time ..." or "'%s' is not a
// valid time ...".
std::int64_t parseSubtitleTime(QStringView text);
