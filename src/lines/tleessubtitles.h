#pragma once

#include "lines/tleesfile.h"

// A subtitle file read as lines and normalised so that every cue ends in an
// empty line and a cue without text holds "[empty cue]".
class TLeesSubtitles : public TLeesFile
{
public:
    TLeesSubtitles();

    // Reads fileNaam (a missing file keeps the earlier lines) and normalises
    // the lines. Throws "Cannot open file ..." when the file cannot be read.
    void leesBestand();
    void schrijfBestand();
};

// The normalisation of leesBestand on the first n lines of a list (n is the
// count the file read gave): appends an empty line, marks empty cues, shrinks
// runs of empty lines to one and tidies the blanks around punctuation.
QStringList normaliseerSubtitelRegels(QStringList regels, qsizetype n);
