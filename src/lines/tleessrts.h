#pragma once

#include "lines/tcue.h"
#include "lines/tleessubtitles.h"

#include <QStringView>
#include <vector>

// A cue list: subtitle cues, their shaping for display, and their rendering as
// the lines of an SRT or WebVTT file (into deRegels, which the owner saves).
// Lengths and positions in texts count UTF-16 code units, positions from 1.
class TleesSRTs : public TLeesSubtitles
{
public:
    TleesSRTs();

    // aantalCues := n and Cues resized to n: earlier cues below n are kept,
    // new ones are zero.
    void maakRecords(std::int32_t n);
    // Reads and normalises fileNaam, then parses its cues. Throws
    // "Cannot open file ..." or, for a bad time text,
    // "'%s' is not a valid integer value".
    void leesBestand();
    void schrijfBestand();

    // Cleans every text (bracketed remarks, line feeds, double blanks), splits
    // texts longer than maxSTlengte into parts of equal duration cut at
    // blanks, marks a line break in texts longer than maxRGlengte, renumbers.
    void maakMooi();
    // Starts every cue tV ms earlier and ends it tN ms later; neighbours that
    // are too close share their gap in proportion to tV and tN.
    void veruimToontijd(std::int64_t tV, std::int64_t tN);
    // Resolves overlaps, then replaces deRegels by the SRT lines of the cues.
    void schrijfSRTResultaat();
    // Resolves overlaps, then replaces deRegels by the WebVTT lines of the cues.
    void schrijfVTTResultaat();

    // Where a cue ends after the next one starts, both meet in the middle.
    void herstelOverlap();
    // Parses the cues from the normalised deRegels.
    void leesCues();
    // The position of the blank nearest p in s (the right one of two at the
    // same distance); p itself when s has no blank.
    static std::int32_t zoekSpatie(QStringView s, std::int32_t p);
    // s with one line-break marker at the blank nearest its middle when it is
    // longer than maxRGlengte; a text without a blank gets the marker inserted.
    QString breekRegel(const QString &s) const;

    std::int32_t aantalCues = 0; // the valid cues: Cues[0 .. aantalCues - 1]
    float maxSTlengte = 95;      // the longest text that is not split
    float maxRGlengte = 45;      // the longest text that gets no line break
    std::vector<TCue> Cues;

private:
    size_t geldigeCues() const;
    void splitsCue(TCue &cue, std::vector<TCue> &uit) const;
};

// The cleaning of a cue text: bracketed parts give way to a blank, line feeds
// become blanks, runs of blanks shrink to one, and the text is trimmed.
QString maakCueTekstSchoon(const QString &t);
