#pragma once

#include "formats/cuecheck.h"
#include "formats/subtitleprofile.h"

#include <QByteArray>
#include <QString>

// A profile as a person names it: a built-in name, or the path of a
// profile file (parseSubtitleProfile). Throws Error when it is neither, or
// the file cannot be read or holds a bad line.
SubtitleProfile subtitleProfileNamed(const QString &nameOrPath);

// Reads the SRT or WebVTT file and checks its cues against the profile.
// Throws Error when the file cannot be read or holds a bad time or line.
CueCheck checkSubtitleFile(const QString &path, const SubtitleProfile &profile, double framesPerSecond);

// The problems as TSV: a header line (cue, start, kind, value, limit), then a
// line per problem, the start as "hh:mm:ss,zzz".
QByteArray cueCheckTsv(const CueCheck &check);
// The problems as JSON: the profile, the number of cues, the count per kind
// and an array of one object per problem (its start also in ms).
QByteArray cueCheckJson(const CueCheck &check, const QString &profileName);
// One line: "No problems in 12 cues under streaming." or "3 problems in 12
// cues under streaming: 2 reading-speed, 1 gap."
QString cueCheckSummary(const CueCheck &check, const QString &profileName);
