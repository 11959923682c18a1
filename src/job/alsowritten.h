#pragma once

#include "formats/annotatedinterview.h"
#include "formats/cuelist.h"

#include <QString>
#include <QStringList>

#include <vector>

class AtomicFile;

// The files Save also writes when the setting "Also write" asks for them,
// beside the joined recording and named after it: ELAN's NAME.eaf, Praat's
// NAME.TextGrid, the word-timed NAME.vtt and the Naadwerk JSON NAME.json.
struct AlsoWritten
{
    QString word; // the setting's choice: "eaf", "textgrid", "vtt-words", "json"
    QString path;
    QString what; // for the log line "Saving WHAT: PATH"
};

// The files words (the setting's value) ask for, for the joined recording
// at recordingPath, in the order of the setting's choices.
std::vector<AlsoWritten> alsoWrittenFiles(const QStringList &words, const QString &recordingPath);

// Writes one of them into out (not committed): the interview's words and
// phrases, or for "vtt-words" the cues the SRT was made of.
void writeAlso(AtomicFile &out, const AlsoWritten &file, const AnnotatedInterview &interview, const CueList &cues);
