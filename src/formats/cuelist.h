#pragma once

#include "formats/cue.h"
#include "formats/cuemarkup.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <vector>

// A cue list: subtitle cues, their shaping for display, and their rendering as
// the lines of an SRT or WebVTT file. Lengths and positions in texts count
// UTF-16 code units, positions from 1. Tags (as markup says: "<i>",
// "</b>", "<font ...>", "{\an8}" in SRT) do not count toward a length and are
// never cut by a line break or a split. A cue that ends before it starts is
// never written: it ends where it starts.
class CueList
{
public:
    // Cleans every text (bracketed remarks, line feeds, double blanks), splits
    // texts longer than maxCueLength into parts of equal duration cut at
    // blanks, marks a line break in texts longer than maxLineLength, renumbers.
    // The parts of a cue stay within its time, in order; the tags open at a
    // cut are closed at the end of the part before it and opened again at
    // the start of the next, and the overrides a cue starts with start each
    // of its parts.
    void shape();
    // Starts every cue before ms earlier and ends it after ms later; neighbours
    // that are too close share their gap in proportion to before and after.
    void widen(std::int64_t before, std::int64_t after);
    // A cue that ends before it starts ends where it starts. Then, where a
    // cue ends after the next one starts, both meet in the middle, kept
    // between the earlier cue's start and the later cue's end; a later cue
    // that lies wholly before the earlier one's start gives way: it is left
    // with no length at the earlier cue's end. A cue may be left with no
    // length, never with less, and no cue ends after the next one starts.
    void resolveOverlaps();
    // Leaves out the cues whose text is empty.
    void dropEmptyCues();
    // Resolves overlaps, then gives the SRT lines of the cues. Times are
    // "hh:nn:ss,zzz"; a cue that starts or ends a day or more in shows all
    // its hours ("123:00:01,000").
    QStringList srtLines();
    // Resolves overlaps, then gives the WebVTT lines of the cues.
    QStringList webVttLines();

    // The position of the blank nearest p in s (the right one of two at the
    // same distance); p itself when s has no blank.
    static std::int32_t findBlank(QStringView s, std::int32_t p);
    // s with one line-break marker at the blank nearest its middle when it is
    // longer than maxLineLength; a text without a blank gets the marker inserted.
    QString breakLine(const QString &s) const;

    std::vector<Cue> cues;
    float maxCueLength = 95;  // the longest text that is not split
    float maxLineLength = 45; // the longest text that gets no line break
    CueMarkup markup = CueMarkup::Srt; // which parts of the texts are tags

private:
    void splitCue(Cue &cue, std::vector<Cue> &out) const;
    void splitTaggedCue(Cue &cue, std::vector<Cue> &out) const;
};

// A time as WebVTT writes it, "hh:nn:ss.zzz" (all its hours from a day on),
// and a cue's time line "start --> end" in that form.
QString webVttTimeText(std::int64_t ms);
QString webVttTimeLine(const Cue &cue);

// The cleaning of a cue text: bracketed parts give way to a blank, line feeds
// become blanks, runs of blanks shrink to one, and the text is trimmed.
QString cleanCueText(const QString &text);
