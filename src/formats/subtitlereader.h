#pragma once

#include "formats/cue.h"
#include "formats/cuemarkup.h"

#include <QString>
#include <QStringList>

#include <vector>

// Reading an SRT file as subtitle editors, players and converters write it.
//
// A timing line is a line holding "-->": a start and an end time, then
// perhaps position coordinates, which are ignored. A time is "H:M:S,f" or
// "M:S,f" (minutes and seconds, never hours and minutes): each field one or
// more digits (hours above 99 too), the fraction after "," or "." one or more
// digits read as a decimal fraction of a second, rounded half to even to the
// ms (",5" is 500 ms, ",90" 900 ms, ",4565" 456 ms, ",4566" 457 ms), or left
// out. "-->" needs no blanks around it.
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
// A file whose first line is "WEBVTT" is read as WebVTT: a blank line ends a
// cue's text, and the lines outside cues (the header, NOTE, STYLE and REGION
// blocks, cue identifiers) are skipped, never refused.
//
// Refused, each with "\"FILE\", line N: " before the message: a time that is
// not of that form, a negative time, and a line after a cue number (a line of
// digits at the start of the file or after a blank line) that is neither a
// timing line nor blank.
// WebVtt for the lines of a file whose first line is "WEBVTT" (alone or
// followed by a blank or tab and a title), else Srt.
CueMarkup subtitleMarkup(const QStringList &fileLines);

// A cue's text lines are joined with lineJoin: a blank for a text that is
// shaped again, a line feed for one checked line by line.
std::vector<Cue> parseSubtitleLines(const QStringList &fileLines, const QString &fileName = QString(),
                                    QChar lineJoin = u' ');

// The clean-up of one text line: "<br>" becomes a blank; a blank before ",",
// "?" or "!" moves behind it, and before a "." that is not part of a run of
// full stops ("Wait ... what?" and "- ...now" stay as they are); runs of
// blanks shrink (five to two: two passes of two to one); the line is trimmed.
QString cleanSubtitleLine(QString line);

// One SRT time as described above, in milliseconds. Throws the message
// without the file and line: "'%s' is a negative time ..." or "'%s' is not a
// valid time ...".
std::int64_t parseSubtitleTime(QStringView text);
